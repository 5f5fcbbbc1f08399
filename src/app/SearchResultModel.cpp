#include "app/SearchResultModel.h"

SearchResultModel::SearchResultModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

const QStringList &SearchResultModel::FieldNames()
{
    static const QStringList names = {
        QStringLiteral("CheckBox"), QStringLiteral("FileName"),  QStringLiteral("File_Ext"),
        QStringLiteral("FileSize"), QStringLiteral("FileDesc"),  QStringLiteral("DateAdded"),
        QStringLiteral("DetailsLink"),
    };
    return names;
}

void SearchResultModel::SetHits(const QList<SearchHit> &hits)
{
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(hits.size());
    for (const SearchHit &hit : hits)
        m_rows.append({0, hit});
    endResetModel();
}

QVariant SearchResultModel::Value(int row, Field field) const
{
    if (row < 0 || row >= RowCount())
        return {};
    const Row &stored = m_rows.at(row);
    switch (field) {
    case CheckBox:
        return stored.checkBox;
    case FileName:
        return stored.hit.FileName;
    case File_Ext:
        return stored.hit.FileExt;
    case FileSize:
        return stored.hit.FileSize;
    case FileDesc:
        return stored.hit.FileDesc;
    case DateAdded:
        return stored.hit.DateAdded;
    case DetailsLink:
        return stored.hit.DetailsLink;
    case FieldCount:
        break;
    }
    return {};
}

bool SearchResultModel::IsTicked(int row) const
{
    return row >= 0 && row < RowCount() && m_rows.at(row).checkBox == 1;
}

int SearchResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

int SearchResultModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FieldCount;
}

QVariant SearchResultModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const QVariant value = Value(index.row(), Field(index.column()));
    const bool checkBox = index.column() == CheckBox;
    switch (role) {
    case Qt::DisplayRole:
        return checkBox ? QVariant() : value;
    case Qt::EditRole:
        return value;
    case Qt::CheckStateRole:
        if (!checkBox)
            return {};
        return value.toInt() == 1 ? Qt::Checked : Qt::Unchecked;
    default:
        return {};
    }
}

bool SearchResultModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::CheckStateRole
        || index.column() != CheckBox)
        return false;
    m_rows[index.row()].checkBox = value.toInt() == Qt::Checked ? 1 : 0;
    Q_EMIT dataChanged(index.siblingAtColumn(0), index.siblingAtColumn(FieldCount - 1));
    return true;
}

Qt::ItemFlags SearchResultModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == CheckBox)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant SearchResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= FieldCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_captions.value(section, FieldNames().at(section));
}
