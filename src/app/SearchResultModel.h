#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QStringList>

// One hit of a search result page, as the result grid shows it.
struct SearchHit {
    QString FileName;
    QString FileExt;
    QString FileSize;
    QString FileDesc;
    QString DateAdded;
    QString DetailsLink;
};

// The in-memory result set behind the search grid, rebuilt for every page. Its
// fields, in order: CheckBox (0 when added, the grid's tick sets 1), FileName,
// File_Ext, FileSize, FileDesc, DateAdded, DetailsLink. Texts are kept whole,
// however long. CheckBox is shown as a check box (ticked when its value is 1) and
// is the only cell the user can change; a field shows its name unless given a
// caption, as in the record-set models.
class SearchResultModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchResultModel)

public:
    enum Field { CheckBox, FileName, File_Ext, FileSize, FileDesc, DateAdded, DetailsLink, FieldCount };

    explicit SearchResultModel(QObject *parent = nullptr);

    // The filled slots of a parsed result page, in page order: any list of items
    // with `Filled` and the six texts of a hit.
    template <typename Items>
    static QList<SearchHit> HitsOf(const Items &items)
    {
        QList<SearchHit> hits;
        for (const auto &item : items) {
            if (item.Filled)
                hits.append({item.FileName, item.FileExt, item.FileSize, item.FileDesc, item.DateAdded,
                             item.DetailsLink});
        }
        return hits;
    }

    static const QStringList &FieldNames();

    // Drops the rows shown and shows these hits, none of them ticked.
    void SetHits(const QList<SearchHit> &hits);
    void Clear() { SetHits({}); }

    int RowCount() const { return int(m_rows.size()); }
    QVariant Value(int row, Field field) const;
    bool IsTicked(int row) const;

    void SetCaption(int column, const QString &caption) { m_captions.insert(column, caption); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        int checkBox = 0;
        SearchHit hit;
    };

    QList<Row> m_rows;
    QHash<int, QString> m_captions;
};
