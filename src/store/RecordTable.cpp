#include "store/RecordTable.h"

#include "store/Database.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVarLengthArray>

#include <algorithm>

RecordTable::RecordTable(std::shared_ptr<Database> database, QString tableName, QSqlQuery &query,
                         qsizetype expectedRows)
    : m_database(std::move(database))
    , m_tableName(std::move(tableName))
{
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        m_fields.append(record.fieldName(i));
    m_idField = FieldIndex(u"ID");
    const int fieldCount = int(m_fields.size());
    m_values.reserve(expectedRows * fieldCount);
    // Status words and other short texts repeat on most rows, and a row often
    // holds the same text twice (the service's and the local file name): one
    // shared copy of each keeps a long list small.
    QHash<QString, QString> shared;
    QVarLengthArray<QString, 8> longTexts; // of the current row
    while (query.next()) {
        longTexts.clear();
        for (int i = 0; i < fieldCount; ++i) {
            QVariant value = query.value(i);
            if (value.typeId() == QMetaType::QString) {
                const QString text = value.toString();
                if (text.size() <= 24) {
                    auto found = shared.constFind(text);
                    if (found == shared.constEnd())
                        found = shared.insert(text, text);
                    value = *found;
                } else {
                    const auto same = std::find(longTexts.cbegin(), longTexts.cend(), text);
                    if (same != longTexts.cend())
                        value = *same;
                    else
                        longTexts.append(text);
                }
            }
            m_values.append(std::move(value));
        }
        ++m_rowCount;
    }
    if (m_idField < 0)
        m_tableName.clear();
    RebuildIndex(0);
}

int RecordTable::FieldIndex(QStringView name) const
{
    // Called for every field read: the exact spelling is the common case and
    // costs a length test for most names.
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).size() == name.size() && m_fields.at(i) == name)
            return i;
    }
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

qint64 RecordTable::IdAt(int row) const
{
    return m_idField < 0 ? -1 : Value(row, m_idField).toLongLong();
}

int RecordTable::RowOfId(qint64 id) const
{
    return m_rowOfId.value(id, -1);
}

void RecordTable::RebuildIndex(int from)
{
    if (m_idField < 0)
        return;
    for (int row = from; row < RowCount(); ++row)
        m_rowOfId.insert(IdAt(row), row);
}

bool RecordTable::SetValues(int row, const FieldValues &values)
{
    if (row < 0 || row >= RowCount() || values.empty())
        return false;
    bool saved = true;
    if (!m_tableName.isEmpty()) {
        QString sql = QLatin1String("UPDATE ") + m_tableName + QLatin1String(" SET ");
        QVariantList binds;
        for (const auto &[field, value] : values) {
            if (!binds.isEmpty())
                sql += QLatin1String(", ");
            sql += m_fields.at(field) + QLatin1String("=?");
            binds.append(value);
        }
        sql += QLatin1String(" WHERE ID=?");
        binds.append(IdAt(row));
        saved = m_database->Execute(sql, binds);
    }
    for (const auto &[field, value] : values)
        m_values[qsizetype(Slot(row, field))] = value;
    Q_EMIT RowChanged(row);
    return saved;
}

int RecordTable::InsertRow(const FieldValues &values)
{
    if (m_tableName.isEmpty())
        return -1;
    QString names;
    QString marks;
    QVariantList binds;
    for (const auto &[field, value] : values) {
        if (!binds.isEmpty()) {
            names += QLatin1Char(',');
            marks += QLatin1Char(',');
        }
        names += m_fields.at(field);
        marks += QLatin1Char('?');
        binds.append(value);
    }
    const QString sql = QLatin1String("INSERT INTO ") + m_tableName + QLatin1String(" (") + names
        + QLatin1String(") VALUES (") + marks + QLatin1Char(')');
    QVariant id;
    if (!m_database->Execute(sql, binds, nullptr, &id))
        return -1;
    const int position = RowCount();
    Q_EMIT RowsAboutToBeInserted(position, position);
    m_values.resize(m_values.size() + m_fields.size());
    ++m_rowCount;
    for (const auto &[field, value] : values)
        m_values[qsizetype(Slot(position, field))] = value;
    m_values[qsizetype(Slot(position, m_idField))] = id.toLongLong();
    m_rowOfId.insert(id.toLongLong(), position);
    Q_EMIT RowsInserted();
    return position;
}

bool RecordTable::RemoveRows(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(), [this](int row) { return row < 0 || row >= RowCount(); }),
               rows.end());
    if (rows.empty() || m_tableName.isEmpty())
        return false;
    const QString sql = QLatin1String("DELETE FROM ") + m_tableName + QLatin1String(" WHERE ID=?");
    bool saved = m_database->BeginTransaction();
    for (int row : rows)
        saved = m_database->Execute(sql, {IdAt(row)}) && saved;
    saved = m_database->CommitTransaction() && saved;
    // Announce and remove from the back so earlier positions stay valid.
    for (auto last = rows.rbegin(); last != rows.rend();) {
        auto first = last;
        while (std::next(first) != rows.rend() && *std::next(first) == *first - 1)
            ++first;
        Q_EMIT RowsAboutToBeRemoved(*first, *last);
        for (int row = *last; row >= *first; --row)
            m_rowOfId.remove(IdAt(row));
        m_values.erase(m_values.begin() + qsizetype(Slot(*first, 0)), m_values.begin() + qsizetype(Slot(*last + 1, 0)));
        m_rowCount -= *last - *first + 1;
        Q_EMIT RowsRemoved();
        last = std::next(first);
    }
    RebuildIndex(rows.front());
    return saved;
}
