#include "ui/GridItemDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

GridItemDelegate::GridItemDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

QString GridItemDelegate::ToolTip(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QString own = index.data(Qt::ToolTipRole).toString();
    if (!own.isEmpty())
        return own;
    QStyleOptionViewItem laidOut = option;
    initStyleOption(&laidOut, index);
    if (laidOut.text.isEmpty())
        return {};
    const QStyle *style = laidOut.widget ? laidOut.widget->style() : QApplication::style();
    const QRect textArea = style->subElementRect(QStyle::SE_ItemViewItemText, &laidOut, laidOut.widget);
    // The style leaves a margin on each side of the text.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, laidOut.widget) + 1;
    const bool fits = laidOut.fontMetrics.horizontalAdvance(laidOut.text) + 2 * margin <= textArea.width();
    return fits ? QString() : laidOut.text;
}

bool GridItemDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                                 const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString tip = ToolTip(option, index);
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), tip, view, option.rect);
    return true;
}
