#pragma once

#include "store/RecordTable.h"

#include <QVariant>

#include <initializer_list>
#include <memory>
#include <utility>

// A cursor over shared rows. A clone shares the rows of its source (a write
// through either is seen by both and by the view) but moves on its own. A set
// is positioned on its first row when opened; an empty set is valid.
class RecordSet final
{
public:
    using NamedValues = std::initializer_list<std::pair<QStringView, QVariant>>;

    RecordSet() = default;
    explicit RecordSet(std::shared_ptr<RecordTable> table);

    bool IsOpen() const { return bool(m_table); }
    const std::shared_ptr<RecordTable> &Table() const { return m_table; }
    int RecordCount() const;
    RecordSet Clone() const;

    // True when the cursor stands after the last row (or the set is empty).
    bool IsEOF() const;
    // The position of the current row, or -1 at the end.
    int Position() const;
    void MoveFirst();
    void MoveNext();
    // Moves to the row with this ID; false (and the cursor at the end) when none.
    bool Locate(qint64 id);

    qint64 ID() const;
    // The value of the current row; a null value without a row or field.
    const QVariant &Field(QStringView name) const;
    // Assigning fields saves them at once; false when the set has no current row
    // or the database refused the write.
    bool SetField(QStringView name, const QVariant &value);
    bool SetFields(NamedValues values);
    // Adds a row with these values and moves to it.
    bool AddNew(NamedValues values);
    // Deletes the current row; the cursor then stands on the row that followed it.
    bool Delete();

private:
    RecordTable::FieldValues Resolve(NamedValues values) const;

    std::shared_ptr<RecordTable> m_table;
    int m_position = 0;
    qint64 m_id = -1; // the row's ID when the cursor was placed, to follow it as rows move
};
