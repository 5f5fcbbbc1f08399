// The search page's commands without a window, against the emulator's search
// site and service: searching and paging, and adding ticked hits to the check
// list and, with add-and-start, on into the download list.

#include "app/SearchCommands.h"

#include "QueueSession.h"
#include "SearchSite.h"
#include "app/SearchResultModel.h"
#include "store/RecordSet.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int kWait = 10000;

using PagingState = SearchPageRules::PagingState;

// The program against the emulator, with the search site served too.
struct SearchPage {
    QueueSession session;

    SearchPage()
    {
        if (!session.Started())
            return;
        SearchSite::Register(session.Emulator());
        session.Controller().Settings().SetValue(QStringLiteral("Services"), QStringLiteral("SearchHost"),
                                                 session.Emulator().Host());
    }
    SearchCommands &Search() { return session.Controller().Search(); }
    SearchResultModel &Rows() { return session.Controller().rsSearch(); }

    // Runs a search and waits for its first page.
    bool Find(const QString &text, int dateFilter = 0)
    {
        SearchCommands::Request request;
        request.text = text;
        request.dateFilter = dateFilter;
        Search().cmdSearch_Click(request);
        return WaitIdle();
    }
    bool WaitIdle()
    {
        return QTest::qWaitFor([this] { return !Search().IsBusy(); }, kWait);
    }
    void Tick(int row)
    {
        QVERIFY(Rows().setData(Rows().index(row, SearchResultModel::CheckBox), Qt::Checked, Qt::CheckStateRole));
    }
    // The request targets the emulator answered whose path starts with `prefix`.
    QStringList Requests(const QString &prefix)
    {
        QStringList targets;
        for (const QString &target : session.Emulator().Requests()) {
            if (target.startsWith(prefix) || target.startsWith(QLatin1Char('/') + prefix))
                targets.append(target);
        }
        return targets;
    }
    QStringList CheckListLinks()
    {
        QStringList links;
        for (RecordSet row = session.Controller().Store().rsCheckList.Clone(); !row.IsEOF(); row.MoveNext())
            links.append(row.Field(u"Sharing_Link").toString());
        return links;
    }
    QStringList CheckListStatuses()
    {
        QStringList statuses;
        for (RecordSet row = session.Controller().Store().rsCheckList.Clone(); !row.IsEOF(); row.MoveNext())
            statuses.append(row.Field(u"Status").toString());
        return statuses;
    }
};

// The service links a hit's details page lists, as the site's catalogue holds them.
QStringList DirectLinksOf(const QString &detailsLink)
{
    static const QRegularExpression details(QStringLiteral("/details/(\\d+)\\.html$"));
    const QRegularExpressionMatch match = details.match(detailsLink);
    if (!match.hasMatch())
        return {};
    const SearchEntry &entry = SearchCatalogue().at(match.captured(1).toInt() - 1);
    QStringList links;
    for (qsizetype i = 0; i < entry.fileIds.size(); ++i)
        links.append(QueueSession::Link(entry.fileIds.at(i), entry.fileNames.at(i)));
    return links;
}

QSet<QString> AsSet(const QStringList &list)
{
    return QSet<QString>(list.begin(), list.end());
}

QStringList Balloons(const RecordingPrompter &prompter)
{
    QStringList texts;
    for (const RecordingPrompter::Shown &shown : prompter.shown) {
        if (shown.kind == QLatin1String("balloon"))
            texts.append(shown.text);
    }
    return texts;
}

} // namespace

class tst_SearchCommands final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptySearchTextIsRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("the hint") << QStringLiteral("Type the search text");
        QTest::newRow("no text") << QString();
    }
    void emptySearchTextIsRefused()
    {
        QFETCH(QString, text);
        SearchPage page;
        QVERIFY(page.session.Started());
        QVERIFY(page.Find(QStringLiteral("jazz")));
        page.Tick(0);
        QVERIFY(page.Find(QStringLiteral("no such file")));
        const QString caption = page.Search().Caption();
        const qsizetype requests = page.session.Emulator().Requests().size();

        SearchCommands::Request request;
        request.text = text;
        page.Search().cmdSearch_Click(request);
        QVERIFY(!page.Search().IsBusy());
        QCOMPARE(page.session.Emulator().Requests().size(), requests);
        QCOMPARE(page.Search().Caption(), caption);
        const RecordingPrompter &prompts = page.session.Prompts();
        QCOMPARE(prompts.messages(), QStringList{QStringLiteral("Search text can not be empty!")});
        QCOMPARE(prompts.shown.last().icon, Prompter::Icon::Critical);
        QCOMPARE(prompts.shown.last().title, QStringLiteral("Tidefetch"));
    }

    void searchAndPaging()
    {
        SearchPage page;
        QVERIFY(page.session.Started());
        SearchCommands &search = page.Search();
        // 37 hits of the site's catalogue: jazz uploads of the last year.
        QVERIFY(page.Find(QStringLiteral("jazz"), 7));
        QCOMPARE(search.PageCount(), 4);
        QCOMPARE(search.SelectedIndex(), 0);
        QCOMPARE(search.Paging(), (PagingState{true, false, true}));
        QCOMPARE(search.Caption(), QStringLiteral("Search for \"jazz\" [37 Files Found]"));
        QCOMPARE(page.Rows().RowCount(), 10);
        QVERIFY(!page.Rows().IsTicked(0));
        QCOMPARE(page.Requests(QStringLiteral("/search.html")).size(), 1);
        QVERIFY(page.Requests(QStringLiteral("/search.html")).first().contains(QLatin1String("date=7")));

        // Busy while the next page is fetched: nothing can be asked meanwhile, and
        // the page is asked for once.
        QSignalSpy busy(&search, &SearchCommands::BusyChanged);
        search.cmdNextPage_Click();
        QVERIFY(search.IsBusy());
        QCOMPARE(search.SelectedIndex(), 1);
        QCOMPARE(search.Paging(), PagingState{});
        search.cmdNextPage_Click();
        search.cmbSearchPage_Click(3);
        SearchCommands::Request other;
        other.text = QStringLiteral("other");
        search.cmdSearch_Click(other);
        QVERIFY(page.WaitIdle());
        QCOMPARE(busy.size(), 2);
        QCOMPARE(search.SelectedIndex(), 1);
        QCOMPARE(search.Paging(), (PagingState{true, true, true}));
        QStringList asked = page.Requests(QStringLiteral("/search.html"));
        QCOMPARE(asked.size(), 2);
        QVERIFY(asked.last().endsWith(QLatin1String("&page=2")));
        QCOMPARE(search.Caption(), QStringLiteral("Search for \"jazz\" [37 Files Found]"));

        // The last page: seven hits, Next off and doing nothing.
        search.cmbSearchPage_Click(3);
        QVERIFY(page.WaitIdle());
        QCOMPARE(page.Rows().RowCount(), 7);
        QCOMPARE(search.Paging(), (PagingState{true, true, false}));
        search.cmdNextPage_Click();
        QVERIFY(!search.IsBusy());
        search.cmdPrevPage_Click();
        QVERIFY(page.WaitIdle());
        QCOMPARE(search.SelectedIndex(), 2);
        asked = page.Requests(QStringLiteral("/search.html"));
        QCOMPARE(asked.size(), 4);
        QVERIFY(asked.last().endsWith(QLatin1String("&page=3")));

        // A search without hits empties the selector and turns paging off.
        QVERIFY(page.Find(QStringLiteral("no such file")));
        QCOMPARE(search.PageCount(), 0);
        QCOMPARE(search.SelectedIndex(), -1);
        QCOMPARE(search.Paging(), PagingState{});
        QCOMPARE(search.Caption(), QStringLiteral("Search for \"no such file\" [0 Files Found]"));
        QCOMPARE(page.Rows().RowCount(), 0);
        QVERIFY(page.session.Prompts().shown.isEmpty());
    }

    void failedSearchIsNotAnEmptyOne()
    {
        SearchPage page;
        QVERIFY(page.session.Started());
        // Nothing listens there: the fetch is refused.
        page.session.Controller().Settings().SetValue(QStringLiteral("Services"), QStringLiteral("SearchHost"),
                                                      QStringLiteral("127.0.0.1:1"));
        QSignalSpy failed(&page.Search(), &SearchCommands::SearchFailed);
        QVERIFY(page.Find(QStringLiteral("jazz")));
        QVERIFY(!failed.isEmpty());
        const QString reason = failed.first().first().toString();
        QVERIFY(reason.startsWith(QLatin1String("Error")));
        // The caption says so, not "[0 Files Found]", until the next search.
        QCOMPARE(page.Search().Caption(), QStringLiteral("Search for \"jazz\" failed: ") + reason);
        page.session.Controller().Settings().SetValue(QStringLiteral("Services"), QStringLiteral("SearchHost"),
                                                      page.session.Emulator().Host());
        QVERIFY(page.Find(QStringLiteral("jazz")));
        QVERIFY2(page.Search().Caption().endsWith(QLatin1String("Files Found]")), qPrintable(page.Search().Caption()));
    }

    void filtersReachTheSite()
    {
        SearchPage page;
        QVERIFY(page.session.Started());
        SearchCommands::Request request;
        request.text = QStringLiteral("holiday");
        request.extension = 2;
        request.sortBy = 1;
        request.sizeFrom = 100;
        request.sizeTo = 32767;
        page.Search().cmdSearch_Click(request);
        QVERIFY(page.WaitIdle());
        const QString asked = page.Requests(QStringLiteral("/search.html")).value(0);
        for (const char *part : {"q=holiday", "sort=sa", "select=avi", "hosting=1", "sizefrom=100", "sizeto=32767"})
            QVERIFY2(asked.contains(QLatin1String(part)), qPrintable(asked));
        QVERIFY(page.Rows().RowCount() > 0);
        for (int row = 0; row < page.Rows().RowCount(); ++row)
            QCOMPARE(page.Rows().Value(row, SearchResultModel::File_Ext).toString(), QStringLiteral("avi"));
    }

    void tickedHitsBecomeCheckListRows()
    {
        SearchPage page;
        QVERIFY(page.session.Started());
        QVERIFY(page.Find(QStringLiteral("holiday")));
        // Two single files and one part of a three-part upload, whose page lists
        // all three parts.
        QList<int> singles;
        int part = -1;
        for (int row = 0; row < page.Rows().RowCount(); ++row) {
            if (page.Rows().Value(row, SearchResultModel::FileSize).toString().startsWith(QLatin1String("Part ")))
                part = part < 0 ? row : part;
            else
                singles.append(row);
        }
        QVERIFY(singles.size() >= 2 && part >= 0);
        const QList<int> ticked = {singles.at(0), part, singles.at(1)};
        QStringList expected;
        for (int row : ticked) {
            page.Tick(row);
            expected += DirectLinksOf(page.Rows().Value(row, SearchResultModel::DetailsLink).toString());
        }
        QCOMPARE(expected.size(), 5);

        QSignalSpy progress(&page.Search(), &SearchCommands::AddProgressChanged);
        page.Search().cmdAddSearchItems_Click();
        QVERIFY(page.Search().IsBusy());
        QVERIFY(page.WaitIdle());
        QStringList texts;
        for (const QList<QVariant> &change : progress)
            texts.append(change.at(0).toString());
        QCOMPARE(texts, QStringList({"Getting Direct Links...", "Checking/Adding Links to check list...", "Done"}));
        QCOMPARE(page.Requests(QStringLiteral("/details/")).size(), ticked.size());

        QCOMPARE(AsSet(page.CheckListLinks()), AsSet(expected));
        QCOMPARE(Balloons(page.session.Prompts()), QStringList{QStringLiteral("5 Links Added")});
        QVERIFY(page.session.Prompts().messages().isEmpty());
        // The checker takes the new rows one after another.
        QTRY_COMPARE_WITH_TIMEOUT(page.CheckListStatuses(), QStringList(5, QStringLiteral("Available")), kWait);
        for (int row : ticked)
            QVERIFY(page.Rows().IsTicked(row));
    }

    void addingRefusals_data()
    {
        QTest::addColumn<QString>("search"); // empty: no search at all
        QTest::addColumn<bool>("addTwice");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("progress");
        QTest::newRow("empty grid") << QString() << false
                                    << QStringList{"List is empty, Please search for something first"} << QString();
        QTest::newRow("nothing ticked") << QStringLiteral("jazz") << false
                                        << QStringList{"No Supported links Found."} << QStringLiteral("Done");
        QTest::newRow("links already in the check list") << QStringLiteral("jazz") << true
                                                         << QStringList{"Link is already exist"} << QStringLiteral("Done");
    }
    void addingRefusals()
    {
        QFETCH(QString, search);
        QFETCH(bool, addTwice);
        QFETCH(QStringList, messages);
        QFETCH(QString, progress);
        SearchPage page;
        QVERIFY(page.session.Started());
        if (!search.isEmpty())
            QVERIFY(page.Find(search));
        if (addTwice) {
            page.Tick(0);
            page.Search().cmdAddSearchItems_Click();
            QVERIFY(page.WaitIdle());
            QCOMPARE(page.CheckListLinks().size(), 1);
        }
        page.Search().cmdAddSearchItems_Click();
        QVERIFY(page.WaitIdle());
        QCOMPARE(page.session.Prompts().messages(), messages);
        QCOMPARE(page.session.Prompts().shown.last().icon, Prompter::Icon::Exclamation);
        QCOMPARE(page.Search().AddProgress(), progress);
        QCOMPARE(page.CheckListLinks().size(), addTwice ? 1 : 0);
    }

    void addAndStartQueuesTheCheckedLinks()
    {
        SearchPage page;
        QVERIFY(page.session.Started());
        // One small demo file.
        QVERIFY(page.Find(QStringLiteral("meeting notes")));
        QCOMPARE(page.Rows().RowCount(), 1);
        page.Tick(0);

        // When the download list is asked for, every link has been checked and moved.
        QStringList checkStatusesThen;
        qsizetype downRowsThen = -1;
        QSignalSpy shown(&page.Search(), &SearchCommands::DownloadListRequested);
        connect(&page.Search(), &SearchCommands::DownloadListRequested, this, [&] {
            checkStatusesThen = page.CheckListStatuses();
            downRowsThen = page.session.DownIds().size();
        });
        page.Search().cmdAddAndStart_Click();
        QVERIFY(QTest::qWaitFor([&] { return !shown.isEmpty(); }, kWait));
        QVERIFY(!page.Search().IsBusy());
        QCOMPARE(page.Search().AddProgress(), QStringLiteral("Done"));
        QCOMPARE(shown.size(), 1);
        QVERIFY(checkStatusesThen.isEmpty());
        QCOMPARE(downRowsThen, 1);
        const QStringList checked = page.session.checkHistory;
        QCOMPARE(checked.size(), 2);
        QVERIFY(checked.at(0).endsWith(QLatin1String(":Checking")));
        QVERIFY(checked.at(1).endsWith(QLatin1String(":Available")));

        // The queue has started: the file arrives whole.
        const qint64 id = page.session.DownIds().first();
        QTRY_COMPARE_WITH_TIMEOUT(page.session.Status(id), QStringLiteral("Complete"), kWait);
        QCOMPARE(page.session.Field(id, u"Rapid_File_Name"), QStringLiteral("meeting-notes-march.pdf"));
        const QFileInfo file(QDir(page.session.DownloadFolder()).filePath(QStringLiteral("meeting-notes-march.pdf")));
        QCOMPARE(file.size(), 48 * 1024);
        QVERIFY(page.session.Prompts().messages().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_SearchCommands)
#include "tst_searchcommands.moc"
