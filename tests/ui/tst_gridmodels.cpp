#include "search/SearchResultPage.h"
#include "store/LinkStore.h"
#include "store/RecordTableModel.h"
#include "support/TestListFile.h"
#include "ui/GridLayouts.h"
#include "app/SearchResultModel.h"
#include "util/RecordingPrompter.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

namespace {

// A list file holding two queue rows, opened as the program opens it.
struct DownListFixture {
    TestListFile file;
    RecordingPrompter prompter;
    LinkStore store{file.Path(), prompter};
    RecordTableModel *model = nullptr;

    bool Open()
    {
        return file.IsValid()
            && file.Execute({QStringLiteral("INSERT INTO DownList (Check_Box, Local_File_Name, Download_Status) "
                                            "VALUES (1, 'a.zip', '42')"),
                             QStringLiteral("INSERT INTO DownList (Check_Box, Local_File_Name, Download_Status) "
                                            "VALUES (0, 'b.zip', 'Queued')")})
            && store.LoadTable(QStringLiteral("Select * From DownList"), &store.rsDownList);
    }
};

QList<SearchHit> Hits(int count)
{
    QList<SearchHit> hits;
    for (int i = 0; i < count; ++i) {
        const QString n = QString::number(i);
        hits.append({QStringLiteral("file") + n, QStringLiteral("avi"), n + QStringLiteral(" MB"),
                     QStringLiteral("Not Available"), QStringLiteral("2009-01-0") + n,
                     QStringLiteral("http://127.0.0.1/details/") + n});
    }
    return hits;
}

} // namespace

class tst_GridModels final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void downListModelWritesTicksAndNamesOnly()
    {
        DownListFixture f;
        QVERIFY(f.Open());
        RecordTableModel model(f.store.rsDownList.Table());
        GridLayouts::ApplyColumns(model, GridLayouts::DownListColumns());
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

        QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral(" "));
        QCOMPARE(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("File Name"));
        QCOMPARE(model.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Status"));
        QCOMPARE(model.headerData(9, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Sharing_Link"));

        // The tick column: shown as a box, and a tick lands in Check_Box.
        QCOMPARE(model.data(model.index(0, 1), Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
        QCOMPARE(model.data(model.index(1, 1), Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
        QVERIFY(model.flags(model.index(1, 1)) & Qt::ItemIsUserCheckable);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(model.setData(model.index(1, 1), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(changed.count(), 1);
        RecordSet rows = f.store.rsDownList.Clone();
        QVERIFY(rows.Locate(f.store.rsDownList.Table()->IdAt(1)));
        QCOMPARE(rows.Field(u"Check_Box").toInt(), 1);

        // The file name can be edited; the status and the other cells cannot.
        QVERIFY(model.flags(model.index(0, 2)) & Qt::ItemIsEditable);
        QVERIFY(model.setData(model.index(0, 2), QStringLiteral("renamed.zip"), Qt::EditRole));
        QVERIFY(rows.Locate(f.store.rsDownList.Table()->IdAt(0)));
        QCOMPARE(rows.Field(u"Local_File_Name").toString(), QStringLiteral("renamed.zip"));
        for (int column : {3, 4, 5, 6}) {
            QVERIFY(!(model.flags(model.index(0, column)) & Qt::ItemIsEditable));
            QVERIFY(!model.setData(model.index(0, column), QStringLiteral("x"), Qt::EditRole));
        }
        QCOMPARE(rows.Field(u"Download_Status").toString(), QStringLiteral("42"));

        // Rows are neither added nor removed from the grid itself.
        QVERIFY(!model.insertRows(0, 1));
        QVERIFY(!model.removeRows(0, 1));
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(f.store.rsDownList.RecordCount(), 2);
    }

    void searchResultsShowEachPageUnticked()
    {
        SearchResultModel model;
        GridLayouts::ApplyColumns(model, GridLayouts::SearchColumns());
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.columnCount(), 7);
        QCOMPARE(model.rowCount(), 0);

        const QStringList captions = {" ", "File Name", "File Type", "Size", "Description", "Date Added", "DetailsLink"};
        for (int column = 0; column < captions.size(); ++column)
            QCOMPARE(model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(), captions.at(column));

        model.SetHits(Hits(4));
        QCOMPARE(model.rowCount(), 4);
        for (int row = 0; row < 4; ++row) {
            QCOMPARE(model.Value(row, SearchResultModel::CheckBox).toInt(), 0);
            QCOMPARE(model.data(model.index(row, 0), Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
        }
        QCOMPARE(model.data(model.index(2, SearchResultModel::FileSize), Qt::DisplayRole).toString(),
                 QStringLiteral("2 MB"));
        QCOMPARE(model.Value(3, SearchResultModel::DetailsLink).toString(), QStringLiteral("http://127.0.0.1/details/3"));

        // A tick sets CheckBox to 1 and repaints one row; nothing else is editable.
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().at(0).toModelIndex().row(), 1);
        QCOMPARE(changed.first().at(1).toModelIndex().row(), 1);
        QVERIFY(model.IsTicked(1));
        QCOMPARE(model.Value(1, SearchResultModel::CheckBox).toInt(), 1);
        QVERIFY(!model.IsTicked(0));
        QVERIFY(!model.setData(model.index(1, SearchResultModel::FileName), QStringLiteral("x"), Qt::EditRole));
        QVERIFY(!(model.flags(model.index(1, SearchResultModel::FileName)) & Qt::ItemIsEditable));
        QVERIFY(model.setData(model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
        QVERIFY(!model.IsTicked(1));

        // The next page replaces the rows, all unticked again.
        QVERIFY(model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole));
        model.SetHits(Hits(2));
        QCOMPARE(model.rowCount(), 2);
        QVERIFY(!model.IsTicked(0));
        model.Clear();
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!model.IsTicked(0));
    }

    void longTextsAreKeptWhole()
    {
        SearchResultModel model;
        SearchHit hit;
        hit.FileName = QString(400, QLatin1Char('n'));
        hit.DetailsLink = QStringLiteral("http://127.0.0.1/") + QString(300, QLatin1Char('d'));
        model.SetHits({hit});
        QCOMPARE(model.Value(0, SearchResultModel::FileName).toString(), hit.FileName);
        QCOMPARE(model.Value(0, SearchResultModel::DetailsLink).toString(), hit.DetailsLink);
    }

    void hitsComeFromTheFilledSlots()
    {
        // A parsed page as the search client hands it over: ten slots, the filled ones first.
        SearchResultPage page;
        page.Items.resize(SearchResultPage::SlotCount);
        page.Items[0] = {true, "first", "avi", "1 MB", "Not Available", "http://127.0.0.1/1", "2009"};
        page.Items[1] = {true, "second", "zip", "2 MB", "source", "http://127.0.0.1/2", "2010"};
        const QList<SearchHit> hits = SearchResultModel::HitsOf(page.Items);
        QCOMPARE(hits.size(), 2);
        QCOMPARE(hits.at(1).FileName, QStringLiteral("second"));
        QCOMPARE(hits.at(1).FileExt, QStringLiteral("zip"));
        QCOMPARE(hits.at(1).FileSize, QStringLiteral("2 MB"));
        QCOMPARE(hits.at(1).FileDesc, QStringLiteral("source"));
        QCOMPARE(hits.at(1).DateAdded, QStringLiteral("2010"));
        QCOMPARE(hits.at(1).DetailsLink, QStringLiteral("http://127.0.0.1/2"));
    }
};

QTEST_GUILESS_MAIN(tst_GridModels)
#include "tst_gridmodels.moc"
