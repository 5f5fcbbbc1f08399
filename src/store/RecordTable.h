#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <utility>
#include <vector>

class Database;
class QSqlQuery;

// The rows of one select, held in memory and shared by a record set, its clones
// and the table model that shows them. Every write is saved to the database at
// once (one statement, committed on its own) and then announced, so the view
// repaints just the row that changed. Rows are found by `ID` in constant time.
class RecordTable final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecordTable)

public:
    using FieldValues = std::vector<std::pair<int, QVariant>>;

    // Reads every row of an executed select (about `expectedRows` of them).
    // `tableName` is empty for a result that cannot be written back.
    RecordTable(std::shared_ptr<Database> database, QString tableName, QSqlQuery &query, qsizetype expectedRows = 0);

    const QStringList &FieldNames() const { return m_fields; }
    int FieldIndex(QStringView name) const;
    int FieldCount() const { return int(m_fields.size()); }
    int RowCount() const { return m_rowCount; }
    const QVariant &Value(int row, int field) const { return m_values.at(qsizetype(Slot(row, field))); }
    qint64 IdAt(int row) const;
    // The position of the row with this `ID`, or -1.
    int RowOfId(qint64 id) const;

    bool SetValues(int row, const FieldValues &values);
    // Adds a row; the database fills `ID`. Returns its position, or -1.
    int InsertRow(const FieldValues &values);
    // Deletes the rows at these positions in one transaction.
    bool RemoveRows(std::vector<int> rows);

Q_SIGNALS:
    void RowChanged(int row);
    void RowsAboutToBeInserted(int first, int last);
    void RowsInserted();
    void RowsAboutToBeRemoved(int first, int last);
    void RowsRemoved();

private:
    void RebuildIndex(int from);
    size_t Slot(int row, int field) const { return size_t(row) * size_t(m_fields.size()) + size_t(field); }

    std::shared_ptr<Database> m_database;
    QString m_tableName;
    QStringList m_fields;
    int m_idField = -1;
    // Row after row, FieldCount() values each: one block for a long list.
    QList<QVariant> m_values;
    int m_rowCount = 0;
    QHash<qint64, int> m_rowOfId;
};
