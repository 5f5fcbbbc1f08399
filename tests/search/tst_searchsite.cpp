// The emulator's search site read by the search client: its result pages
// honour the query and parse into the site's hits, and its details pages give
// direct links that the link reader takes and the service reports available.

#include "search/clsShareSearch.h"

#include "SearchSite.h"
#include "ServiceEmulator.h"
#include "clipboard/LinkReader.h"
#include "rapidshare/clsRapidShare.h"
#include "store/LinkStore.h"
#include "support/TestListFile.h"
#include "util/AppSettings.h"
#include "util/RecordingPrompter.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kWait = 5000;

const SearchEntry *EntryOf(const SearchResultItem &item)
{
    static const QRegularExpression details(QStringLiteral("/details/(\\d+)\\.html$"));
    const QRegularExpressionMatch match = details.match(item.DetailsLink);
    const int id = match.hasMatch() ? match.captured(1).toInt() : 0;
    return id >= 1 && id <= SearchCatalogue().size() ? &SearchCatalogue()[id - 1] : nullptr;
}

QList<SearchResultItem> FilledItems(const SearchResultPage &result)
{
    QList<SearchResultItem> items;
    for (const SearchResultItem &item : result.Items) {
        if (item.Filled)
            items.append(item);
    }
    return items;
}

} // namespace

class tst_SearchSite : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void resultPagesHonourTheQuery_data();
    void resultPagesHonourTheQuery();
    void doubleSlashPathServed();
    void unknownDetailsPage();
    void searchLeadsToAvailableFiles();

private:
    // Runs a search (page 0: StartSearch) and returns its result.
    SearchResultPage Search(int page);

    std::unique_ptr<ServiceEmulator> m_emulator;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<clsShareSearch> m_client;
};

void tst_SearchSite::init()
{
    m_emulator = std::make_unique<ServiceEmulator>();
    SearchSite::Register(*m_emulator);
    QVERIFY(m_emulator->Listen());
    // The program's settings with every service played by the emulator.
    m_dir = std::make_unique<QTemporaryDir>();
    m_settings = std::make_unique<AppSettings>(m_dir->filePath(QStringLiteral("settings.ini")));
    for (const char *key : {"SearchHost", "ApiHost", "FileServerHost"})
        m_settings->SetValue(QStringLiteral("Services"), QLatin1String(key), m_emulator->Host());
    m_client = std::make_unique<clsShareSearch>(*m_settings);
    m_client->Initialize();
    m_client->setWebSite(1); // as the window sends it
}

void tst_SearchSite::cleanup()
{
    m_client.reset();
    m_settings.reset();
    m_dir.reset();
    m_emulator.reset();
}

SearchResultPage tst_SearchSite::Search(int page)
{
    QSignalSpy search(m_client.get(), &clsShareSearch::SearchFinished);
    QSignalSpy paged(m_client.get(), &clsShareSearch::SearchPageFinished);
    page == 0 ? m_client->StartSearch() : m_client->SearchPage(page);
    if (!QTest::qWaitFor([&] { return search.size() + paged.size() > 0; }, kWait))
        qWarning("the search did not finish");
    return m_client->SearchResult();
}

void tst_SearchSite::resultPagesHonourTheQuery_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("sortBy");
    QTest::addColumn<int>("extension");
    QTest::addColumn<int>("webSite");
    QTest::addColumn<int>("date");
    QTest::addColumn<int>("sizeFrom");
    QTest::addColumn<int>("sizeTo");
    QTest::addColumn<int>("page");

    QTest::newRow("one word, first page") << "lecture" << 0 << 0 << 1 << 0 << 0 << 0 << 0;
    QTest::newRow("all words, any case") << "LINUX live" << 0 << 0 << 1 << 0 << 0 << 0 << 0;
    QTest::newRow("file type avi") << "linux" << 0 << 2 << 1 << 0 << 0 << 0 << 0;
    QTest::newRow("size window 100 to 500 MB") << "holiday" << 0 << 0 << 1 << 0 << 100 << 500 << 0;
    QTest::newRow("last month") << "concert" << 0 << 0 << 1 << 3 << 0 << 0 << 0;
    QTest::newRow("size ascending") << "jazz" << 1 << 0 << 1 << 0 << 0 << 0 << 0;
    QTest::newRow("date descending, page 2") << "nature" << 4 << 0 << 1 << 0 << 0 << 0 << 2;
    QTest::newRow("popularity descending, page 3") << "cooking" << 6 << 0 << 1 << 0 << 0 << 0 << 3;
    QTest::newRow("all hosting sites") << "football" << 0 << 0 << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("another hosting site has nothing") << "linux" << 0 << 0 << 2 << 0 << 0 << 0 << 0;
    QTest::newRow("blank text finds everything") << " " << 0 << 0 << 1 << 0 << 0 << 0 << 0;
    QTest::newRow("page past the last") << "lecture" << 0 << 0 << 1 << 0 << 0 << 0 << 99;
    QTest::newRow("nothing matches") << "no such file" << 0 << 0 << 1 << 0 << 0 << 0 << 0;
}

void tst_SearchSite::resultPagesHonourTheQuery()
{
    QFETCH(QString, text);
    QFETCH(int, sortBy);
    QFETCH(int, extension);
    QFETCH(int, webSite);
    QFETCH(int, date);
    QFETCH(int, sizeFrom);
    QFETCH(int, sizeTo);
    QFETCH(int, page);

    m_client->setSearchText(text);
    m_client->setSortBy(sortBy);
    m_client->setExtension(extension);
    m_client->setWebSite(webSite);
    m_client->setFilterByDate(date);
    m_client->setFilterSizeFrom(qint16(sizeFrom));
    m_client->setFilterSizeTo(qint16(sizeTo));
    const SearchResultPage result = Search(page);

    // The same selection, asked of the site directly.
    static const char *const sorts[] = {"", "sa", "sd", "da", "dd", "pa", "pd"};
    static const char *const types[] = {"All", "3gp", "avi", "mkv", "mp3", "mp4", "mpeg", "mpg", "rar", "rmvb",
                                        "wma", "wmv", "zip"};
    const QHash<QString, QString> query = {
        {"q", text}, {"sort", sorts[sortBy]}, {"select", types[extension]},
        {"hosting", webSite == 0 ? QStringLiteral("All") : QString::number(webSite)},
        {"date", QString::number(date)}, {"sizefrom", QString::number(sizeFrom)}, {"sizeto", QString::number(sizeTo)}};
    const QList<const SearchEntry *> selected = SearchSite::Select(query);
    QCOMPARE(result.TotalCount, QString::number(selected.size()));
    QCOMPARE(result.PageCount, qint16(qMin<qsizetype>(100, (selected.size() + 9) / 10)));
    if (webSite > 1)
        QVERIFY(selected.isEmpty());
    if (text == QLatin1String(" "))
        QCOMPARE(selected.size(), SearchCatalogue().size());

    const QList<SearchResultItem> items = FilledItems(result);
    const qsizetype first = (qMax(page, 1) - 1) * 10;
    QCOMPARE(items.size(), qBound(qsizetype(0), selected.size() - first, qsizetype(10)));
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QDate today = SearchCatalogueToday();
    static const int windows[] = {0, 1, 7, 31, 62, 124, 183, 365};
    for (qsizetype i = 0; i < items.size(); ++i) {
        const SearchResultItem &item = items[i];
        const SearchEntry *entry = EntryOf(item);
        QVERIFY2(entry, qPrintable(item.DetailsLink));
        QCOMPARE(entry, selected[first + i]);
        QVERIFY(item.DetailsLink.startsWith(QLatin1String("http://") + m_emulator->Host() + QLatin1String("/details/")));

        // The page shows the hit as the catalogue holds it.
        QCOMPARE(item.FileName, entry->title);
        QCOMPARE(item.FileExt, entry->ext);
        QCOMPARE(item.DateAdded, entry->added.toString(Qt::ISODate));
        QCOMPARE(item.FileDesc, entry->source.isEmpty() ? QStringLiteral("Not Available") : entry->source);
        if (entry->parts > 0)
            QVERIFY(item.FileSize.startsWith(QStringLiteral("Part %1 of %2 size:").arg(entry->part).arg(entry->parts)));
        else
            QVERIFY(!item.FileSize.contains(QLatin1String("size:")));

        // The hit passes every filter of the query.
        for (const QString &word : words)
            QVERIFY(entry->title.contains(word, Qt::CaseInsensitive));
        if (extension > 0)
            QCOMPARE(entry->ext, QString::fromLatin1(types[extension]));
        if (date > 0)
            QVERIFY(entry->added.daysTo(today) <= windows[date]);
        QVERIFY(entry->size >= qint64(sizeFrom) * 1024 * 1024);
        if (sizeTo > 0)
            QVERIFY(entry->size <= qint64(sizeTo) * 1024 * 1024);
        if (i > 0 && sortBy > 0) {
            const SearchEntry *before = EntryOf(items[i - 1]);
            auto key = [sortBy](const SearchEntry *e) {
                return sortBy <= 2 ? e->size : sortBy <= 4 ? e->added.toJulianDay() : qint64(e->popularity);
            };
            QVERIFY(sortBy % 2 == 1 ? key(before) <= key(entry) : key(before) >= key(entry));
        }
    }
}

void tst_SearchSite::doubleSlashPathServed()
{
    SearchSite site([] { return QStringLiteral("127.0.0.1:1"); });
    const QByteArray single = site.Respond(QStringLiteral("/search.html?q=jazz&select=All&hosting=1&date=0"));
    QVERIFY(single.startsWith("HTTP/1.1 200"));
    QCOMPARE(site.Respond(QStringLiteral("//search.html?q=jazz&select=All&hosting=1&date=0")), single);
    QVERIFY(site.Respond(QStringLiteral("/elsewhere.html")).startsWith("HTTP/1.1 404"));
}

void tst_SearchSite::unknownDetailsPage()
{
    QSignalSpy finished(m_client.get(), &clsShareSearch::DirectLinksFinished);
    QSignalSpy errors(m_client.get(), &clsShareSearch::Error);
    m_client->GetDirectLinks(QStringLiteral("http://%1/details/999999.html").arg(m_emulator->Host()));
    QVERIFY(finished.wait(kWait));
    QCOMPARE(finished.first().at(1).toString(), QString());
    QCOMPARE(errors.last().at(0).toString(), QStringLiteral("Checking Failed. Failed to get page."));
}

void tst_SearchSite::searchLeadsToAvailableFiles()
{
    m_client->setSearchText(QStringLiteral("bonus pack"));
    const QList<SearchResultItem> hits = FilledItems(Search(0));
    QCOMPARE(hits.size(), 10);
    QVERIFY(std::any_of(hits.begin(), hits.end(), [](const SearchResultItem &hit) { return EntryOf(hit)->parts > 0; }));
    QVERIFY(std::any_of(hits.begin(), hits.end(), [](const SearchResultItem &hit) { return EntryOf(hit)->parts == 0; }));

    // The add command's way: each hit's block after a line break, then blanks
    // and line breaks made into one link per line.
    QSignalSpy finished(m_client.get(), &clsShareSearch::DirectLinksFinished);
    QString collected;
    for (const SearchResultItem &hit : hits) {
        finished.clear();
        m_client->GetDirectLinks(hit.DetailsLink);
        QVERIFY(finished.wait(kWait));
        QCOMPARE(finished.first().at(0).toString(), hit.DetailsLink);
        const QString block = finished.first().at(1).toString();
        QVERIFY2(!block.isEmpty(), qPrintable(hit.DetailsLink));
        QCOMPARE(block.split(QLatin1String("\r\n")).size(), qMax(1, EntryOf(hit)->parts));
        collected += QLatin1String("\r\n") + block;
    }
    collected = collected.replace(QLatin1String("\r\n"), QLatin1String(" ")).trimmed();
    collected.replace(QLatin1Char(' '), QLatin1String("\r\n"));
    const QStringList links = collected.split(QLatin1String("\r\n"));
    const qsizetype distinct = QSet<QString>(links.begin(), links.end()).size();

    TestListFile listFile;
    QVERIFY(listFile.IsValid());
    RecordingPrompter prompter;
    LinkStore store(listFile.Path(), prompter);
    QVERIFY(store.LoadTable(QStringLiteral("Select * From CheckList"), &store.rsCheckList));
    LinkReader reader(store, prompter, m_settings->ServiceDomain());
    QCOMPARE(reader.AddLinksFromText(collected, false), int(distinct));

    // Every link is a file the service has, of the size the site lists.
    QHash<QString, qint64> sizes;
    for (const SearchEntry &entry : SearchCatalogue())
        sizes.insert(entry.fileIds[qMax(entry.part, 1) - 1], entry.size);
    clsRapidShare checker(*m_settings, prompter);
    QStringList reports;
    connect(&checker, &clsRapidShare::StatusCheck, this,
            [&reports](qint32, const QString &status, const QString &) { reports << status; });
    for (const QString &link : QSet<QString>(links.begin(), links.end())) {
        reports.clear();
        checker.Initalize();
        checker.setSharingLink(link);
        checker.Check();
        QTRY_VERIFY_WITH_TIMEOUT(!reports.isEmpty() && reports.last() != QLatin1String("Checking Link"), kWait);
        QCOMPARE(reports, (QStringList{"Checking Link", "Done"}));
        QVERIFY2(sizes.contains(checker.FileID()), qPrintable(link));
        QCOMPARE(checker.FileSize(), sizes.value(checker.FileID()));
    }
}

QTEST_GUILESS_MAIN(tst_SearchSite)
#include "tst_searchsite.moc"
