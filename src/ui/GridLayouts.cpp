#include "ui/GridLayouts.h"

#include "store/RecordTableModel.h"
#include "app/SearchResultModel.h"
#include "ui/Twips.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTableView>

namespace GridLayouts {

namespace {

const QString kBlank = QStringLiteral(" ");

} // namespace

QList<GridColumn> DownListColumns()
{
    return {
        {.position = 0, .hidden = true},
        {.position = 1, .caption = kBlank, .widthTwips = 250, .checkBox = true},
        {.position = 2, .caption = QCoreApplication::translate("GridLayouts", "File Name"),
         .widthTwips = 5000, .editable = true},
        {.position = 3, .caption = QCoreApplication::translate("GridLayouts", "Status"), .widthTwips = 1500},
        {.position = 4, .caption = QCoreApplication::translate("GridLayouts", "Size"), .widthTwips = 1000},
        {.position = 5, .caption = QCoreApplication::translate("GridLayouts", "Speed"), .widthTwips = 1000},
        // Position 6 holds the last failure text.
        {.position = 6, .caption = QCoreApplication::translate("GridLayouts", "Error"), .widthTwips = 1000},
        {.position = 7, .caption = QCoreApplication::translate("GridLayouts", "Time Left"),
         .widthTwips = 1200, .hidden = true},
        {.position = 8, .widthTwips = 1100, .hidden = true},
    };
}

QList<GridColumn> CheckListColumns()
{
    return {
        {.position = 0, .hidden = true},
        {.position = 1, .caption = kBlank, .widthTwips = 250, .hidden = true},
        {.position = 2, .caption = QCoreApplication::translate("GridLayouts", "URL"), .widthTwips = 5500},
        {.position = 3, .caption = QCoreApplication::translate("GridLayouts", "Status"), .widthTwips = 1200},
        {.position = 4, .caption = QCoreApplication::translate("GridLayouts", "File Name"), .widthTwips = 1700},
        {.position = 5, .caption = QCoreApplication::translate("GridLayouts", "File Size"), .widthTwips = 1100},
    };
}

QList<GridColumn> SearchColumns()
{
    return {
        // 250 rather than 200 twips: the check box with its margins needs 17 pixels.
        {.position = SearchResultModel::CheckBox, .caption = kBlank, .widthTwips = 250, .checkBox = true},
        {.position = SearchResultModel::FileName, .caption = QCoreApplication::translate("GridLayouts", "File Name"),
         .widthTwips = 3000},
        {.position = SearchResultModel::File_Ext, .caption = QCoreApplication::translate("GridLayouts", "File Type"),
         .widthTwips = 1000},
        {.position = SearchResultModel::FileSize, .caption = QCoreApplication::translate("GridLayouts", "Size"),
         .widthTwips = 1500},
        {.position = SearchResultModel::FileDesc, .caption = QCoreApplication::translate("GridLayouts", "Description"),
         .widthTwips = 3800},
        {.position = SearchResultModel::DateAdded, .caption = QCoreApplication::translate("GridLayouts", "Date Added"),
         .widthTwips = 1500},
        {.position = SearchResultModel::DetailsLink, .hidden = true},
    };
}

void ApplyColumns(RecordTableModel &model, const QList<GridColumn> &columns)
{
    for (const GridColumn &column : columns) {
        if (column.checkBox)
            model.SetCheckBoxColumn(column.position);
        if (column.editable)
            model.SetEditableColumn(column.position);
        if (column.caption)
            model.SetCaption(column.position, *column.caption);
    }
}

void ApplyColumns(SearchResultModel &model, const QList<GridColumn> &columns)
{
    for (const GridColumn &column : columns) {
        if (column.caption)
            model.SetCaption(column.position, *column.caption);
    }
}

void ApplyColumns(QTableView &view, const QList<GridColumn> &columns, qreal logicalDpi, int hideFrom)
{
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    view.setDragDropMode(QAbstractItemView::NoDragDrop);
    view.setSortingEnabled(false);
    view.setWordWrap(false);
    view.setAlternatingRowColors(false);
    view.setShowGrid(true);
    view.verticalHeader()->hide();
    view.verticalHeader()->setDefaultSectionSize(Twips::ToPixels(285, logicalDpi));
    view.horizontalHeader()->setHighlightSections(false);
    view.horizontalHeader()->setSectionsMovable(false);
    view.horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The last shown column reaches the grid's edge; the user may resize the others.
    view.horizontalHeader()->setStretchLastSection(true);
    view.horizontalHeader()->setMinimumSectionSize(Twips::ToPixels(150, logicalDpi));
    if (view.model() && hideFrom >= 0) {
        for (int column = hideFrom; column < view.model()->columnCount(); ++column)
            view.setColumnHidden(column, true);
    }
    for (const GridColumn &column : columns) {
        view.setColumnHidden(column.position, column.hidden);
        if (column.widthTwips > 0)
            view.setColumnWidth(column.position, Twips::ToPixels(column.widthTwips, logicalDpi));
    }
}

} // namespace GridLayouts
