#pragma once

#include <QObject>
#include <QPoint>

class QAction;
class QMenu;
class QWidget;

// The download list's pop-up menus: START, STOP, Filter and Clear. Each item is
// an action named after its menu item; the queue commands connect to their
// `triggered` signals. The filter items carry check marks that a click toggles
// before `triggered` is emitted ("Include Complete Items" starts unchecked, the
// other two checked). The marks live as long as the window.
class frmMenu final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMenu)

public:
    explicit frmMenu(QWidget *window);

    // Where a submenu opens for `button`: at its left edge, 800 twips below its
    // bottom edge, in global coordinates.
    static QPoint PopupPoint(const QWidget *button);
    // Opens `menu` there without waiting for it to close.
    static void PopUp(QMenu *menu, const QWidget *button);

    QMenu *mnuStart() const { return m_mnuStart; }
    QMenu *mnuStop() const { return m_mnuStop; }
    QMenu *mnuFilter() const { return m_mnuFilter; }
    QMenu *mnuClear() const { return m_mnuClear; }

    QAction *mnuDownAll() const { return m_mnuDownAll; }
    QAction *mnutDownSelected() const { return m_mnutDownSelected; }
    QAction *mnuStopAll() const { return m_mnuStopAll; }
    QAction *mnuStopSelected() const { return m_mnuStopSelected; }
    QAction *mnuIncludeComplete() const { return m_mnuIncludeComplete; }
    QAction *mnuInCludeWaiting() const { return m_mnuInCludeWaiting; }
    QAction *mnuIncludeDownloading() const { return m_mnuIncludeDownloading; }
    QAction *mnuClearCompleted() const { return m_mnuClearCompleted; }
    QAction *mnuClearError() const { return m_mnuClearError; }
    QAction *mnuClearStopped() const { return m_mnuClearStopped; }
    QAction *mnuClearSelected() const { return m_mnuClearSelected; }
    QAction *mnuClearAll() const { return m_mnuClearAll; }

private:
    QMenu *m_mnuStart = nullptr;
    QMenu *m_mnuStop = nullptr;
    QMenu *m_mnuFilter = nullptr;
    QMenu *m_mnuClear = nullptr;
    QAction *m_mnuDownAll = nullptr;
    QAction *m_mnutDownSelected = nullptr;
    QAction *m_mnuStopAll = nullptr;
    QAction *m_mnuStopSelected = nullptr;
    QAction *m_mnuIncludeComplete = nullptr;
    QAction *m_mnuInCludeWaiting = nullptr;
    QAction *m_mnuIncludeDownloading = nullptr;
    QAction *m_mnuClearCompleted = nullptr;
    QAction *m_mnuClearError = nullptr;
    QAction *m_mnuClearStopped = nullptr;
    QAction *m_mnuClearSelected = nullptr;
    QAction *m_mnuClearAll = nullptr;
};
