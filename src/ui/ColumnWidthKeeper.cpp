#include "ui/ColumnWidthKeeper.h"

#include "util/AppSettings.h"

#include <QHeaderView>
#include <QStringList>
#include <QTableView>
#include <QTimer>

#include <utility>

namespace {
const QString kGroup = QStringLiteral("Grids");
} // namespace

ColumnWidthKeeper::ColumnWidthKeeper(QTableView &grid, AppSettings &settings, QString gridName)
    : QObject(&grid)
    , m_grid(grid)
    , m_settings(settings)
    , m_gridName(std::move(gridName))
    , m_saveTimer(new QTimer(this))
{
    Decode(m_settings.Value(kGroup, m_gridName, QString()), m_grid);
    // Read back from the grid: starting widths nobody changed need no write either.
    m_saved = Encode(m_grid);
    m_saveTimer->setSingleShot(true);
    m_saveTimer->setInterval(1000);
    connect(m_saveTimer, &QTimer::timeout, this, &ColumnWidthKeeper::Save);
    connect(m_grid.horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        const QString widths = Encode(m_grid);
        if (widths == m_saved) {
            // Only the stretched column moved, or a drag came back to the saved widths.
            m_unsaved.clear();
            m_saveTimer->stop();
            return;
        }
        m_unsaved = widths;
        m_saveTimer->start();
    });
}

ColumnWidthKeeper::~ColumnWidthKeeper()
{
    // The grid may be half gone already: only the widths noted at the last resize are written.
    Save();
}

QString ColumnWidthKeeper::Encode(const QTableView &grid)
{
    const QHeaderView &header = *grid.horizontalHeader();
    int last = header.count() - 1;
    while (last >= 0 && header.isSectionHidden(header.logicalIndex(last)))
        --last;
    QStringList widths;
    for (int visual = 0; visual < last; ++visual) {
        const int column = header.logicalIndex(visual);
        if (!header.isSectionHidden(column))
            widths.append(QStringLiteral("%1:%2").arg(column).arg(header.sectionSize(column)));
    }
    return widths.join(QLatin1Char(','));
}

void ColumnWidthKeeper::Decode(const QString &widths, QTableView &grid)
{
    for (const QString &entry : widths.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool columnOk = false;
        bool widthOk = false;
        const int column = entry.section(QLatin1Char(':'), 0, 0).toInt(&columnOk);
        const int width = entry.section(QLatin1Char(':'), 1, 1).toInt(&widthOk);
        // A layout of an older list may name columns this one lacks.
        if (columnOk && widthOk && column >= 0 && column < grid.horizontalHeader()->count() && width > 0
            && !grid.isColumnHidden(column))
            grid.setColumnWidth(column, width);
    }
}

void ColumnWidthKeeper::Save()
{
    if (m_unsaved.isEmpty())
        return;
    m_settings.SetValue(kGroup, m_gridName, m_unsaved);
    m_saved = std::exchange(m_unsaved, QString());
}
