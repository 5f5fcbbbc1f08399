#pragma once

#include <QObject>
#include <QString>

class AppSettings;
class QTableView;
class QTimer;

// Keeps the widths the user gives a grid's columns across restarts, in the
// settings ("Grids", one key per grid): the widths saved last are put back over
// the layout's starting widths. A resize is saved a second after the last one
// (a drag gives one per step, and each save writes the settings file), or when
// the keeper goes. The last visible column stretches with the window, so its
// width is not kept, and widths the settings already hold are not written again.
class ColumnWidthKeeper final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ColumnWidthKeeper)

public:
    // Restores the widths saved for `gridName`, then follows the grid's header.
    ColumnWidthKeeper(QTableView &grid, AppSettings &settings, QString gridName);
    ~ColumnWidthKeeper() override;

    static void Decode(const QString &widths, QTableView &grid);

private:
    // "position:width" of every visible column but the last, comma-separated.
    static QString Encode(const QTableView &grid);
    void Save();

    QTableView &m_grid;
    AppSettings &m_settings;
    QString m_gridName;
    QString m_saved; // the widths last read or written, as the grid shows them
    QString m_unsaved; // the widths of the last resize, until they are saved
    QTimer *m_saveTimer;
};
