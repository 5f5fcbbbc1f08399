#pragma once

#include "ui/GridItemDelegate.h"
#include "ui/ProgressRules.h"

#include <QColor>

// Paints the download list's status cell. While the cell holds a number of
// percent it is a two-colour bar with the percentage over it: the filled part in
// the system's highlight colour with the text in highlight-text colour, the rest
// the other way round (ProgressRules::ReadableBarColours keeps the two apart by
// 4.5:1). A selected cell takes the selection's colours whole, like
// the rest of its row. Cells holding words are left to the base delegate.
class StatusDelegate final : public GridItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatusDelegate)

public:
    explicit StatusDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    // The bar's colours for the system's selection colours, worked out again
    // only when those change: a cell is painted at every progress report.
    const ProgressRules::BarColours &SystemBarColours() const;

    mutable QColor m_systemHighlight;
    mutable QColor m_systemHighlightedText;
    mutable ProgressRules::BarColours m_barColours;
};
