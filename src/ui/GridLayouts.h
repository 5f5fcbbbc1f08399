#pragma once

#include <QList>
#include <QString>

#include <optional>

class QTableView;
class RecordTableModel;
class SearchResultModel;

// How each of the three grids presents its rows: per field position the caption,
// the width in twips, whether it is hidden, shown as a check box, or editable.
// Columns not listed show their field name, keep the view's default width and are
// read-only; every listed column not marked editable is read-only too.
namespace GridLayouts {

struct GridColumn {
    int position = 0;
    std::optional<QString> caption = std::nullopt; // none: the header shows the field name
    int widthTwips = 0;             // 0: the view's default width
    bool hidden = false;
    bool checkBox = false;
    bool editable = false;
};

// The download list: every field from position 9 on is hidden as well.
QList<GridColumn> DownListColumns();
// The check list: every field from position 6 on is hidden as well.
QList<GridColumn> CheckListColumns();
QList<GridColumn> SearchColumns();

// Fields from this position on are hidden in the download list and the check list.
inline constexpr int DownListFirstHiddenTail = 9;
inline constexpr int CheckListFirstHiddenTail = 6;

void ApplyColumns(RecordTableModel &model, const QList<GridColumn> &columns);
void ApplyColumns(SearchResultModel &model, const QList<GridColumn> &columns);
// Widths and hidden columns (`hideFrom`: every column from there on is hidden),
// plus the grid-wide options shared by all three grids.
void ApplyColumns(QTableView &view, const QList<GridColumn> &columns, qreal logicalDpi, int hideFrom = -1);

} // namespace GridLayouts
