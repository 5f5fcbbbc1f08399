#include "store/RecordSet.h"

RecordSet::RecordSet(std::shared_ptr<RecordTable> table)
    : m_table(std::move(table))
{
    MoveFirst();
}

int RecordSet::RecordCount() const
{
    return m_table ? m_table->RowCount() : 0;
}

RecordSet RecordSet::Clone() const
{
    return RecordSet(m_table);
}

int RecordSet::Position() const
{
    if (!m_table)
        return -1;
    // Rows move only when rows before them go: the stored position is almost
    // always still right, and checking it spares a lookup per field read.
    if (m_id >= 0 && m_position < m_table->RowCount() && m_table->IdAt(m_position) == m_id)
        return m_position;
    if (m_id >= 0) {
        const int row = m_table->RowOfId(m_id);
        if (row >= 0)
            return row;
    }
    // The cursor's row was deleted: the row that moved into its place is current.
    return m_position < m_table->RowCount() ? m_position : -1;
}

bool RecordSet::IsEOF() const
{
    return Position() < 0;
}

void RecordSet::MoveFirst()
{
    m_position = 0;
    m_id = RecordCount() > 0 ? m_table->IdAt(0) : -1;
}

void RecordSet::MoveNext()
{
    const int current = Position();
    if (current < 0)
        return;
    // After a delete the current position already holds the next row.
    const bool deleted = m_id >= 0 && m_table->IdAt(current) != m_id;
    m_position = deleted ? current : current + 1;
    m_id = m_position < RecordCount() ? m_table->IdAt(m_position) : -1;
}

bool RecordSet::Locate(qint64 id)
{
    const int row = m_table ? m_table->RowOfId(id) : -1;
    m_position = row >= 0 ? row : RecordCount();
    m_id = row >= 0 ? id : -1;
    return row >= 0;
}

qint64 RecordSet::ID() const
{
    const int row = Position();
    return row < 0 ? -1 : m_table->IdAt(row);
}

const QVariant &RecordSet::Field(QStringView name) const
{
    static const QVariant none;
    const int row = Position();
    const int field = m_table ? m_table->FieldIndex(name) : -1;
    if (row < 0 || field < 0)
        return none;
    return m_table->Value(row, field);
}

RecordTable::FieldValues RecordSet::Resolve(NamedValues values) const
{
    RecordTable::FieldValues resolved;
    resolved.reserve(values.size());
    for (const auto &[name, value] : values) {
        const int field = m_table->FieldIndex(name);
        if (field < 0)
            return {};
        resolved.emplace_back(field, value);
    }
    return resolved;
}

bool RecordSet::SetField(QStringView name, const QVariant &value)
{
    return SetFields({{name, value}});
}

bool RecordSet::SetFields(NamedValues values)
{
    const int row = Position();
    if (row < 0)
        return false;
    const RecordTable::FieldValues resolved = Resolve(values);
    return !resolved.empty() && m_table->SetValues(row, resolved);
}

bool RecordSet::AddNew(NamedValues values)
{
    if (!m_table)
        return false;
    const RecordTable::FieldValues resolved = Resolve(values);
    const int row = resolved.empty() ? -1 : m_table->InsertRow(resolved);
    if (row < 0)
        return false;
    m_position = row;
    m_id = m_table->IdAt(row);
    return true;
}

bool RecordSet::Delete()
{
    const int row = Position();
    if (row < 0)
        return false;
    m_position = row;
    return m_table->RemoveRows({row});
}
