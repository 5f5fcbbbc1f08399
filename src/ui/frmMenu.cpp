#include "ui/frmMenu.h"

#include "ui/Twips.h"

#include <QAction>
#include <QMenu>

namespace {

QMenu *NewMenu(QWidget *window, const char *name, const QString &caption)
{
    auto *menu = new QMenu(caption, window);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QAction *NewItem(QMenu *menu, const char *name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

QAction *NewCheckItem(QMenu *menu, const char *name, const QString &caption, bool checked)
{
    QAction *action = NewItem(menu, name, caption);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

} // namespace

frmMenu::frmMenu(QWidget *window)
    : QObject(window)
{
    setObjectName(QStringLiteral("frmMenu"));
    const QString all = tr("All");
    const QString selected = tr("Only Selected");

    m_mnuStart = NewMenu(window, "mnuStart", tr("START"));
    m_mnuDownAll = NewItem(m_mnuStart, "mnuDownAll", all);
    m_mnutDownSelected = NewItem(m_mnuStart, "mnutDownSelected", selected);

    m_mnuStop = NewMenu(window, "mnuStop", tr("STOP"));
    m_mnuStopAll = NewItem(m_mnuStop, "mnuStopAll", all);
    m_mnuStopSelected = NewItem(m_mnuStop, "mnuStopSelected", selected);

    m_mnuFilter = NewMenu(window, "mnuFilter", tr("Filter"));
    m_mnuIncludeComplete = NewCheckItem(m_mnuFilter, "mnuIncludeComplete", tr("Include Complete Items"), false);
    m_mnuInCludeWaiting = NewCheckItem(m_mnuFilter, "mnuInCludeWaiting", tr("Include Waiting Items"), true);
    m_mnuIncludeDownloading =
        NewCheckItem(m_mnuFilter, "mnuIncludeDownloading", tr("Include Downloading Items"), true);

    m_mnuClear = NewMenu(window, "mnuClear", tr("Clear"));
    m_mnuClearCompleted = NewItem(m_mnuClear, "mnuClearCompleted", tr("Clear Complete Items"));
    m_mnuClearError = NewItem(m_mnuClear, "mnuClearError", tr("Clear Error Items"));
    m_mnuClearStopped = NewItem(m_mnuClear, "mnuClearStopped", tr("Clear Stopped Items"));
    m_mnuClearSelected = NewItem(m_mnuClear, "mnuClearSelected", tr("Clear Selected Items"));
    m_mnuClear->addSeparator()->setObjectName(QStringLiteral("mnuSep1"));
    m_mnuClearAll = NewItem(m_mnuClear, "mnuClearAll", tr("Clear All Items"));
}

QPoint frmMenu::PopupPoint(const QWidget *button)
{
    const int below = Twips::ToPixels(800, Twips::LayoutDpi(*button));
    return button->mapToGlobal(QPoint(0, button->height() + below));
}

void frmMenu::PopUp(QMenu *menu, const QWidget *button)
{
    menu->popup(PopupPoint(button));
}
