#include "store/RecordTableModel.h"

#include "store/RecordTable.h"
#include "store/StatusText.h"

#include <cstdlib>

RecordTableModel::RecordTableModel(std::shared_ptr<RecordTable> table, QObject *parent)
    : QAbstractTableModel(parent)
    , m_table(std::move(table))
{
    Connect();
}

void RecordTableModel::SetTable(std::shared_ptr<RecordTable> table)
{
    beginResetModel();
    if (m_table)
        m_table->disconnect(this);
    m_table = std::move(table);
    Connect();
    endResetModel();
}

void RecordTableModel::Connect()
{
    if (!m_table)
        return;
    connect(m_table.get(), &RecordTable::RowChanged, this,
            [this](int row) { Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1)); });
    connect(m_table.get(), &RecordTable::RowsAboutToBeInserted, this,
            [this](int first, int last) { beginInsertRows({}, first, last); });
    connect(m_table.get(), &RecordTable::RowsInserted, this, [this] { endInsertRows(); });
    connect(m_table.get(), &RecordTable::RowsAboutToBeRemoved, this,
            [this](int first, int last) { beginRemoveRows({}, first, last); });
    connect(m_table.get(), &RecordTable::RowsRemoved, this, [this] { endRemoveRows(); });
}

int RecordTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_table ? 0 : m_table->RowCount();
}

int RecordTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_table ? 0 : m_table->FieldCount();
}

QVariant RecordTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_table)
        return {};
    const QVariant &value = m_table->Value(index.row(), index.column());
    const bool checkBox = m_checkBoxColumns.contains(index.column());
    switch (role) {
    case Qt::DisplayRole:
        if (checkBox)
            return {};
        if (index.column() == m_statusColumn && value.typeId() == QMetaType::QString)
            return StatusText::Shown(value.toString());
        return value;
    case Qt::EditRole:
    case RawValueRole:
        return value;
    case Qt::CheckStateRole:
        if (!checkBox)
            return {};
        return std::abs(value.toInt()) == 1 ? Qt::Checked : Qt::Unchecked;
    case Qt::ToolTipRole: {
        const auto reason = m_reasons.constFind(index.column());
        if (reason == m_reasons.cend() || !reason->words.contains(value.toString()))
            return {};
        return m_table->Value(index.row(), reason->column);
    }
    default:
        return {};
    }
}

void RecordTableModel::SetReasonColumn(int column, int reasonColumn, const QStringList &words)
{
    if (column >= 0 && reasonColumn >= 0)
        m_reasons.insert(column, {reasonColumn, words});
}

bool RecordTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || !m_table)
        return false;
    if (role == Qt::CheckStateRole && m_checkBoxColumns.contains(index.column())) {
        const int tick = value.value<Qt::CheckState>() == Qt::Checked ? 1 : 0;
        return m_table->SetValues(index.row(), {{index.column(), tick}});
    }
    if (role == Qt::EditRole && m_editableColumns.contains(index.column()))
        return m_table->SetValues(index.row(), {{index.column(), value.toString()}});
    return false;
}

Qt::ItemFlags RecordTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (m_checkBoxColumns.contains(index.column()))
        flags |= Qt::ItemIsUserCheckable;
    if (m_editableColumns.contains(index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || !m_table)
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_captions.value(section, m_table->FieldNames().value(section));
}
