#include "ui/StatusDelegate.h"

#include "store/RecordTableModel.h"

#include <QGuiApplication>
#include <QPainter>

StatusDelegate::StatusDelegate(QObject *parent)
    : GridItemDelegate(parent)
{
}

void StatusDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const std::optional<int> percent = ProgressRules::Percent(index.data(RecordTableModel::RawValueRole));
    if (!percent) {
        GridItemDelegate::paint(painter, option, index);
        return;
    }
    const QString text = QString::number(*percent) + QLatin1Char('%');
    const QRect cell = option.rect;
    painter->save();
    painter->setFont(option.font);
    if (option.state & QStyle::State_Selected) {
        const QPalette::ColorGroup group = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
        painter->fillRect(cell, option.palette.color(group, QPalette::Highlight));
        painter->setPen(option.palette.color(group, QPalette::HighlightedText));
        painter->drawText(cell, Qt::AlignCenter, text);
    } else {
        // The bar takes the system's selection colours, not the grid's own, made
        // readable where the system's pair is too pale.
        const auto &[bar, rest] = SystemBarColours();
        painter->fillRect(cell, rest);
        painter->setPen(bar);
        painter->drawText(cell, Qt::AlignCenter, text);
        const QRect filled(cell.left(), cell.top(), ProgressRules::BarWidth(*percent, cell.width()), cell.height());
        if (!filled.isEmpty()) {
            painter->setClipRect(filled, Qt::IntersectClip);
            painter->fillRect(filled, bar);
            painter->setPen(rest);
            painter->drawText(cell, Qt::AlignCenter, text);
        }
    }
    painter->restore();
}

const ProgressRules::BarColours &StatusDelegate::SystemBarColours() const
{
    const QPalette system = QGuiApplication::palette();
    const QColor highlight = system.color(QPalette::Active, QPalette::Highlight);
    const QColor highlightedText = system.color(QPalette::Active, QPalette::HighlightedText);
    // The members start invalid, so the first call works the colours out.
    if (highlight != m_systemHighlight || highlightedText != m_systemHighlightedText) {
        m_systemHighlight = highlight;
        m_systemHighlightedText = highlightedText;
        m_barColours = ProgressRules::ReadableBarColours(highlight, highlightedText);
    }
    return m_barColours;
}
