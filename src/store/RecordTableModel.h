#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QSet>

#include <memory>

class RecordTable;

// Shows the rows of a record set, one column per field in the set's order.
// A write to a row repaints that row alone; inserts and deletes move rows.
// Check-box columns read a tick as |value| == 1 and write 1 or 0; editable
// columns write the typed text into the row. A status column shows its words
// translated (StatusText).
class RecordTableModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecordTableModel)

public:
    // The stored value itself, for painting and sorting.
    static constexpr int RawValueRole = Qt::UserRole + 1;

    explicit RecordTableModel(std::shared_ptr<RecordTable> table, QObject *parent = nullptr);

    const std::shared_ptr<RecordTable> &Table() const { return m_table; }
    // Shows another set with the same fields (a new search's results).
    void SetTable(std::shared_ptr<RecordTable> table);

    void SetCheckBoxColumn(int column) { m_checkBoxColumns.insert(column); }
    void SetEditableColumn(int column) { m_editableColumns.insert(column); }
    void SetCaption(int column, const QString &caption) { m_captions.insert(column, caption); }
    // The cells of `column` show its status words in the user's language; the
    // edit and raw values stay the stored words.
    void SetStatusColumn(int column) { m_statusColumn = column; }
    // The cells of `column` that hold one of `words` have the text of the same
    // row's `reasonColumn` as their tooltip (a failed row's Error_Desc).
    void SetReasonColumn(int column, int reasonColumn, const QStringList &words);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void Connect();

    std::shared_ptr<RecordTable> m_table;
    QSet<int> m_checkBoxColumns;
    QSet<int> m_editableColumns;
    QHash<int, QString> m_captions;
    int m_statusColumn = -1;
    struct Reason {
        int column = -1;
        QStringList words;
    };
    QHash<int, Reason> m_reasons;
};
