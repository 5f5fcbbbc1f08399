#pragma once

#include <QStyledItemDelegate>

// The cells of every grid: a cell whose text does not fit shows it whole in a
// tooltip, and a cell the model gives a tooltip of its own (why a row failed)
// shows that one.
class GridItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GridItemDelegate)

public:
    explicit GridItemDelegate(QObject *parent = nullptr);

    // The tooltip of the cell as it is laid out in `option`; empty for none.
    QString ToolTip(const QStyleOptionViewItem &option, const QModelIndex &index) const;

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;
};
