#pragma once

#include <QObject>
#include <QString>

class AppSettings;
class QTableView;

// Keeps the widths the user gives a grid's columns across restarts, in the
// settings ("Grids", one key per grid): the widths saved last are put back over
// the layout's starting widths, and every resize is saved again.
class ColumnWidthKeeper final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ColumnWidthKeeper)

public:
    // Restores the widths saved for `gridName`, then follows the grid's header.
    ColumnWidthKeeper(QTableView &grid, AppSettings &settings, QString gridName);

    // "position:width" of every column that has a width, comma-separated.
    static QString Encode(const QTableView &grid);
    static void Decode(const QString &widths, QTableView &grid);

private:
    void Save();

    QTableView &m_grid;
    AppSettings &m_settings;
    QString m_gridName;
};
