#include "store/LinkStore.h"
#include "store/RecordTableModel.h"
#include "support/TestListFile.h"
#include "util/RecordingPrompter.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kSelectDownList = QStringLiteral("Select * From DownList");
const QString kSelectCheckList = QStringLiteral("Select * From CheckList");

// A store over a fresh list file with both lists opened.
struct OpenStore {
    TestListFile file;
    RecordingPrompter prompter;
    LinkStore store{file.Path(), prompter};

    bool Open()
    {
        return file.IsValid() && store.LoadTable(kSelectDownList, &store.rsDownList)
            && store.LoadTable(kSelectCheckList, &store.rsCheckList);
    }
};

} // namespace

class tst_LinkStore final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyTablesOpenWithoutMessage()
    {
        OpenStore s;
        QVERIFY(s.Open());
        QCOMPARE(s.store.rsDownList.RecordCount(), 0);
        QVERIFY(s.store.rsDownList.IsEOF());
        // The 19 columns the grid addresses by position, then the row's partial
        // file and a direct link's final address.
        QCOMPARE(s.store.rsDownList.Table()->FieldCount(), 21);
        QCOMPARE(s.store.rsDownList.Table()->FieldNames().at(19), QStringLiteral("Partial_File"));
        QCOMPARE(s.store.rsDownList.Table()->FieldNames().last(), QStringLiteral("Final_URL"));
        QCOMPARE(s.store.rsCheckList.Table()->FieldCount(), 11);
        QCOMPARE(s.store.rsCheckList.Table()->FieldNames().last(), QStringLiteral("Final_URL"));
        QCOMPARE(s.store.rsDownList.Table()->FieldNames().at(3), QStringLiteral("Download_Status"));
        QVERIFY(s.prompter.shown.isEmpty());
    }

    void newRowsStartWithTheirValues()
    {
        OpenStore s;
        QVERIFY(s.Open());
        const qint64 big = qint64(5) * 1024 * 1024 * 1024; // past 32 bits
        QVERIFY(s.store.AddToDownList(QStringLiteral("http://rapidshare.com/files/1/a.zip"), QStringLiteral("1"),
                                      QStringLiteral("a.zip"), QStringLiteral("5 GB"), big));
        RecordSet &rs = s.store.rsDownList;
        QCOMPARE(rs.RecordCount(), 1);
        QVERIFY(rs.ID() > 0);
        QCOMPARE(rs.Field(u"Download_Status").toString(), QStringLiteral("Queued"));
        QCOMPARE(rs.Field(u"Check_Box").toInt(), 1);
        QCOMPARE(rs.Field(u"Time_Left").toString(), QStringLiteral("00:00:00"));
        QCOMPARE(rs.Field(u"Downloaded_Bytes").toLongLong(), 0);
        QCOMPARE(rs.Field(u"Local_File_Name").toString(), QStringLiteral("a.zip"));
        QCOMPARE(rs.Field(u"Rapid_File_Name").toString(), QStringLiteral("a.zip"));

        QVERIFY(s.store.AddToCheckList(QStringLiteral("http://rapidshare.com/files/1/a.zip")));
        QCOMPARE(s.store.rsCheckList.Field(u"Status").toString(), QStringLiteral("??"));
        QCOMPARE(s.store.rsCheckList.Field(u"File_Name").toString(), QStringLiteral("??"));
        QCOMPARE(s.store.rsCheckList.Field(u"File_Size").toString(), QStringLiteral("??"));

        // Saved at once: a second store on the same file reads the same values.
        RecordingPrompter otherPrompter;
        LinkStore other(s.file.Path(), otherPrompter);
        RecordSet reread;
        QVERIFY(other.LoadTable(kSelectDownList, &reread));
        QCOMPARE(reread.RecordCount(), 1);
        QCOMPARE(reread.Field(u"File_Size_Bytes").toLongLong(), big);
        QCOMPARE(reread.Field(u"Sharing_Link").toString(), QStringLiteral("http://rapidshare.com/files/1/a.zip"));
    }

    void duplicatesAreRefused_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("added");
        QTest::newRow("same link") << "http://rapidshare.com/files/1/a.zip" << "http://rapidshare.com/files/1/a.zip"
                                   << false;
        QTest::newRow("case differs") << "http://rapidshare.com/files/1/a.zip" << "HTTP://RapidShare.com/files/1/A.ZIP"
                                      << false;
        QTest::newRow("other link") << "http://rapidshare.com/files/1/a.zip" << "http://rapidshare.com/files/2/a.zip"
                                    << true;
        QTest::newRow("quote in link") << "http://rapidshare.com/files/3/it's.zip"
                                       << "http://rapidshare.com/files/3/IT'S.zip" << false;
        QTest::newRow("injection is text") << "http://rapidshare.com/files/4/x.zip"
                                           << "x' OR '1'='1" << true;
    }
    void duplicatesAreRefused()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, added);
        OpenStore s;
        QVERIFY(s.Open());
        QVERIFY(s.store.AddToCheckList(first));
        QVERIFY(s.store.AddToDownList(first, QStringLiteral("1"), QStringLiteral("f"), QStringLiteral("1 KB"), 1024));
        QVERIFY(s.prompter.shown.isEmpty());

        QCOMPARE(s.store.AddToCheckList(second), added);
        QCOMPARE(s.store.AddToDownList(second, QStringLiteral("1"), QStringLiteral("f"), QStringLiteral("1 KB"), 1024),
                 added);
        QCOMPARE(s.store.rsCheckList.RecordCount(), added ? 2 : 1);
        QCOMPARE(s.store.rsDownList.RecordCount(), added ? 2 : 1);
        const QStringList expected = added ? QStringList()
                                           : QStringList{QStringLiteral("Link is already exist"),
                                                         QStringLiteral("Link is already exist")};
        QCOMPARE(s.prompter.messages(), expected);
        for (const auto &shown : s.prompter.shown) {
            QCOMPARE(shown.title, QStringLiteral("Error"));
            QCOMPARE(shown.icon, Prompter::Icon::Exclamation);
        }
    }

    void loadTableFailureNamesTheStatement()
    {
        OpenStore s;
        QVERIFY(s.Open());
        RecordSet rs;
        const QString bad = QStringLiteral("SELECT * From NoSuchTable");
        QVERIFY(!s.store.LoadTable(bad, &rs));
        QCOMPARE(s.prompter.shown.size(), 1);
        const auto &shown = s.prompter.shown.first();
        QCOMPARE(shown.title, QStringLiteral("Tidefetch"));
        QCOMPARE(shown.icon, Prompter::Icon::Critical);
        const QStringList lines = shown.text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(0), QStringLiteral("Error occured while loading table"));
        QVERIFY(!lines.at(1).isEmpty());
        QVERIFY(lines.at(2).contains(QStringLiteral("NoSuchTable")));
        QCOMPARE(lines.at(3), QStringLiteral(" Record Source:") + bad);
        QVERIFY(!rs.IsOpen());
    }

    void actionStatementsRunWithLeft()
    {
        OpenStore s;
        QVERIFY(s.file.Execute({QStringLiteral("Insert Into DownList (Download_Status) Values ('Wait 12 Seconds')"),
                                QStringLiteral("Insert Into DownList (Download_Status) Values ('Complete')")}));
        const bool repaired = s.store.LoadTable(
            QStringLiteral("Update DownList Set Download_Status='Queued' Where left(Download_Status,4) =  'Wait'"),
            nullptr);
        QVERIFY2(repaired, qPrintable(s.prompter.messages().join(QLatin1Char('|')).replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '))));
        QVERIFY(s.store.LoadTable(QStringLiteral("SELECT * FROM DownList"), &s.store.rsDownList));
        QCOMPARE(s.store.rsDownList.Field(u"Download_Status").toString(), QStringLiteral("Queued"));
        s.store.rsDownList.MoveNext();
        QCOMPARE(s.store.rsDownList.Field(u"Download_Status").toString(), QStringLiteral("Complete"));
        QVERIFY(s.prompter.shown.isEmpty());
    }

    void clonesShareRowsNotCursors()
    {
        OpenStore s;
        QVERIFY(s.Open());
        for (int i = 1; i <= 3; ++i)
            QVERIFY(s.store.AddToCheckList(QStringLiteral("http://rapidshare.com/files/%1/f").arg(i)));
        RecordSet &source = s.store.rsCheckList;
        source.MoveFirst();
        RecordSet clone = source.Clone();
        QCOMPARE(clone.ID(), source.ID());
        clone.MoveNext();
        QVERIFY(clone.ID() != source.ID());
        QVERIFY(clone.SetField(u"Status", QStringLiteral("Checking")));
        QVERIFY(source.Locate(clone.ID()));
        QCOMPARE(source.Field(u"Status").toString(), QStringLiteral("Checking"));

        // A row added through the source is seen through the clone.
        QVERIFY(s.store.AddToCheckList(QStringLiteral("http://rapidshare.com/files/9/f")));
        QVERIFY(clone.Locate(source.ID()));

        // Deleting the current row leaves the cursor on the row that followed it.
        source.MoveFirst();
        const qint64 second = [&] { RecordSet c = source.Clone(); c.MoveNext(); return c.ID(); }();
        QVERIFY(source.Delete());
        QCOMPARE(source.ID(), second);
        QVERIFY(!source.Locate(12345));
        QVERIFY(source.IsEOF());
    }

    void modelFollowsEveryChange()
    {
        OpenStore s;
        QVERIFY(s.Open());
        RecordTableModel model(s.store.rsDownList.Table());
        model.SetCheckBoxColumn(1);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (int i = 1; i <= 3; ++i)
            QVERIFY(s.store.AddToDownList(QStringLiteral("l%1").arg(i), {}, QStringLiteral("f"), {}, 1));
        QCOMPARE(model.rowCount(), 3);

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        RecordSet row = s.store.rsDownList.Clone();
        row.MoveNext();
        QVERIFY(row.SetFields({{u"Download_Status", QStringLiteral("37.5")}, {u"Speed", QStringLiteral("1 KB/s")}}));
        QCOMPARE(changed.count(), 1); // one row, one signal
        QCOMPARE(changed.first().at(0).toModelIndex().row(), 1);
        QCOMPARE(model.index(1, 3).data().toString(), QStringLiteral("37.5"));

        // Ticks: 1 and -1 count, 0 does not; the view writes 1 or 0.
        QVERIFY(row.SetField(u"Check_Box", -1));
        QCOMPARE(model.index(1, 1).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
        QVERIFY(model.setData(model.index(1, 1), Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(row.Field(u"Check_Box").toInt(), 0);
        QCOMPARE(model.index(1, 1).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);

        QVERIFY(s.store.rsDownList.Table()->RemoveRows({0, 2}));
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.index(0, 3).data().toString(), QStringLiteral("37.5"));
        QCOMPARE(s.store.rsDownList.Table()->RowOfId(row.ID()), 0);
    }
};

QTEST_GUILESS_MAIN(tst_LinkStore)
#include "tst_linkstore.moc"
