#include "search/clsShareSearch.h"

#include "LoopbackHttpServer.h"
#include "ResultPageFixture.h"
#include "util/AppSettings.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using Answer = LoopbackHttpServer::Answer;

namespace {

constexpr int kTimeOut = 300; // ms: the client's time-out, shortened for the tests
constexpr int kWait = 5000;   // ms: upper bound for any outcome to arrive

const QByteArray kTenHits = ResultPageFixture::Build(QStringLiteral("linux (37)"),
                                                     ResultPageFixture::NumberedHits(10))
                                .text.toUtf8();

Answer Page(const QByteArray &body, int status = 200)
{
    Answer answer;
    answer.status = status;
    answer.body = body;
    return answer;
}

QStringList Errors(const QSignalSpy &spy)
{
    QStringList texts;
    for (const QList<QVariant> &arguments : spy)
        texts << arguments.at(0).toString();
    return texts;
}

} // namespace

class tst_ShareSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void searchReadsFirstPage();
    void searchPageSendsPageLast();
    void queryDeliveredAsBuilt_data();
    void queryDeliveredAsBuilt();
    void answerOtherThan200_data();
    void answerOtherThan200();
    void emptyBodyFetchedOnceMore();
    void bodyDecoded_data();
    void bodyDecoded();
    void noTimelyAnswer_data();
    void noTimelyAnswer();
    void timeOutEndsEveryWaitingFetch();
    void stopBeforeSearch();
    void stopDuringFetch();
    void failedRequest_data();
    void failedRequest();
    void emptySearchText();
    void directLinks_data();
    void directLinks();
    void destroyedWhileWaiting();

private:
    // A client of the search site at `host`, its time-out shortened, searching for "linux".
    std::unique_ptr<clsShareSearch> NewClient(const QString &host);
    std::unique_ptr<clsShareSearch> NewClient(const LoopbackHttpServer &server) { return NewClient(server.Host()); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppSettings> m_settings;
};

void tst_ShareSearch::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_settings = std::make_unique<AppSettings>(m_dir->filePath(QStringLiteral("settings.ini")));
}

std::unique_ptr<clsShareSearch> tst_ShareSearch::NewClient(const QString &host)
{
    m_settings->SetValue(QStringLiteral("Services"), QStringLiteral("SearchHost"), host);
    auto client = std::make_unique<clsShareSearch>(*m_settings);
    client->setTimeOutInterval(kTimeOut);
    client->Initialize();
    client->setSearchText(QStringLiteral("linux"));
    return client;
}

void tst_ShareSearch::searchReadsFirstPage()
{
    LoopbackHttpServer server([](const QByteArray &) { return Page(kTenHits); });
    QVERIFY(server.Listen());
    auto client = NewClient(server);
    QSignalSpy finished(client.get(), &clsShareSearch::SearchFinished);
    QSignalSpy errors(client.get(), &clsShareSearch::Error);

    client->StartSearch();
    QVERIFY(finished.isEmpty()); // outcomes come after the call returns
    // The URL is built as "http://" + host + "//search.html?" + query; the HTTP
    // layer sends its path normalised to one slash.
    QVERIFY(finished.wait(kWait));
    QCOMPARE(finished.takeFirst().at(0).toBool(), true);
    QCOMPARE(server.Targets(), QList<QByteArray>{"/search.html?q=linux&select=All&hosting=All&date=0"});
    const SearchResultPage result = client->SearchResult();
    QCOMPARE(result.TotalCount, QStringLiteral("37"));
    QCOMPARE(result.PageCount, qint16(4));
    QCOMPARE(result.Items[9].FileName, QStringLiteral("File 10"));

    // The timer keeps running after the answer; its later tick raises nothing.
    QTest::qWait(kTimeOut * 2);
    QVERIFY(errors.isEmpty());
    QCOMPARE(server.Targets().size(), 1);
}

void tst_ShareSearch::searchPageSendsPageLast()
{
    LoopbackHttpServer server([](const QByteArray &) { return Page(kTenHits); });
    QVERIFY(server.Listen());
    auto client = NewClient(server);
    client->setSortBy(4);
    client->setExtension(8);
    client->setWebSite(1);
    client->setFilterByDate(2);
    client->setFilterSizeFrom(100);
    QSignalSpy pageFinished(client.get(), &clsShareSearch::SearchPageFinished);
    QSignalSpy searchFinished(client.get(), &clsShareSearch::SearchFinished);

    client->SearchPage(3);
    QVERIFY(pageFinished.wait(kWait));
    QCOMPARE(pageFinished.takeFirst(), (QList<QVariant>{qint32(3), true}));
    QVERIFY(searchFinished.isEmpty());
    QCOMPARE(server.Targets(),
             QList<QByteArray>{"/search.html?q=linux&sort=dd&select=rar&hosting=1&date=2&sizefrom=100&page=3"});
}

void tst_ShareSearch::queryDeliveredAsBuilt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("target");

    QTest::newRow("blanks encoded, & and = as they are")
        << "linux dvd&x=1" << QByteArray("/search.html?q=linux%20dvd&x=1&select=All&hosting=All&date=0");
    QTest::newRow("non-ASCII letters as UTF-8") << "über" << QByteArray("/search.html?q=%C3%BCber&select=All&hosting=All&date=0");
    QTest::newRow("# is part of the text") << "#1 hit" << QByteArray("/search.html?q=%231%20hit&select=All&hosting=All&date=0");
    QTest::newRow("stray % encoded, escapes kept") << "100% a%20b"
                                                   << QByteArray("/search.html?q=100%25%20a%20b&select=All&hosting=All&date=0");
}

void tst_ShareSearch::queryDeliveredAsBuilt()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, target);

    LoopbackHttpServer server([](const QByteArray &) { return Page(kTenHits); });
    QVERIFY(server.Listen());
    auto client = NewClient(server);
    client->setSearchText(text);
    QSignalSpy finished(client.get(), &clsShareSearch::SearchFinished);
    client->StartSearch();
    QVERIFY(finished.wait(kWait));
    QCOMPARE(server.Targets(), QList<QByteArray>{target});
}

void tst_ShareSearch::answerOtherThan200_data()
{
    QTest::addColumn<int>("status");
    QTest::newRow("404") << 404;
    QTest::newRow("500") << 500;
    QTest::newRow("204 without a page") << 204;
}

void tst_ShareSearch::answerOtherThan200()
{
    QFETCH(int, status);

    bool failing = false;
    LoopbackHttpServer server([&](const QByteArray &) { return failing ? Page(kTenHits, status) : Page(kTenHits); });
    QVERIFY(server.Listen());
    auto client = NewClient(server);
    QSignalSpy finished(client.get(), &clsShareSearch::SearchFinished);
    QSignalSpy errors(client.get(), &clsShareSearch::Error);
    client->StartSearch();
    QVERIFY(finished.wait(kWait));
    QCOMPARE(client->SearchResult().TotalCount, QStringLiteral("37"));

    failing = true;
    finished.clear();
    client->StartSearch();
    QVERIFY(finished.wait(kWait));
    QCOMPARE(finished.takeFirst().at(0).toBool(), false);
    QCOMPARE(server.Targets().size(), 3); // the failed page is asked for once more
    QCOMPARE(server.Targets()[1], server.Targets()[2]);
    QVERIFY(errors.isEmpty());
    // The failed search shows as no hits, not as the last search's count.
    const SearchResultPage result = client->SearchResult();
    QCOMPARE(result.TotalCount, QStringLiteral("0"));
    QCOMPARE(result.PageCount, qint16(0));
    QCOMPARE(result.Found, false);
}

void tst_ShareSearch::emptyBodyFetchedOnceMore()
{
    int requests = 0;
    LoopbackHttpServer server([&](const QByteArray &) { return Page(++requests == 1 ? QByteArray() : kTenHits); });
    QVERIFY(server.Listen());
    auto client = NewClient(server);
    QSignalSpy finished(client.get(), &clsShareSearch::SearchFinished);
    QSignalSpy errors(client.get(), &clsShareSearch::Error);
    client->StartSearch();
    QVERIFY(finished.wait(kWait));
    QCOMPARE(finished.takeFirst().at(0).toBool(), true);
    QCOMPARE(server.Targets().size(), 2);
    QCOMPARE(server.Targets()[0], server.Targets()[1]);
    QCOMPARE(client->SearchResult().TotalCount, QStringLiteral("37"));
    QVERIFY(errors.isEmpty());
}

void tst_ShareSearch::bodyDecoded_data()
{
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("encoding"); // how the page's bytes are written

    QTest::newRow("charset named by the server") << QByteArray("text/html; charset=ISO-8859-1") << QByteArray("latin1");
    QTest::newRow("quoted charset") << QByteArray("text/html; charset=\"windows-1252\"") << QByteArray("latin1");
    QTest::newRow("no charset: UTF-8") << QByteArray("text/html") << QByteArray("utf-8");
    QTest::newRow("unknown charset: UTF-8") << QByteArray("text/html; charset=x-unheard-of") << QByteArray("utf-8");
    QTest::newRow("byte-order mark wins") << QByteArray("text/html; charset=ISO-8859-1") << QByteArray("utf-16");
}

void tst_ShareSearch::bodyDecoded()
{
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, encoding);

    ResultPageFixture::Hit hit;
    hit.title = QStringLiteral("Grüße aus Köln");
    const QString page = ResultPageFixture::Build(QStringLiteral("(1)"), {hit}).text;
    QByteArray bytes;
    if (encoding == "latin1")
        bytes = page.toLatin1();
    else if (encoding == "utf-16")
        bytes = QByteArray("\xff\xfe") + QByteArray(reinterpret_cast<const char *>(page.utf16()), page.size() * 2);
    else
        bytes = page.toUtf8();
    LoopbackHttpServer server([&](const QByteArray &) {
        Answer answer = Page(bytes);
        answer.contentType = contentType;
        return answer;
    });
    QVERIFY(server.Listen());
    auto client = NewClient(server);
    QSignalSpy finished(client.get(), &clsShareSearch::SearchFinished);
    client->StartSearch();
    QVERIFY(finished.wait(kWait));
    QCOMPARE(client->SearchResult().Items[0].FileName, hit.title);
}

void tst_ShareSearch::noTimelyAnswer_data()
{
    QTest::addColumn<bool>("answers");
    QTest::newRow("never answers") << false;
    QTest::newRow("answers after the time-out") << true;
}

void tst_ShareSearch::noTimelyAnswer()
{
    QFETCH(bool, answers);

    LoopbackHttpServer server([&](const QByteArray &) {
        Answer answer = Page(kTenHits);
        answer.answer = answers;
        answer.delayMs = kTimeOut * 5;
        return answer;
    });
    QVERIFY(server.Listen());
    auto client = NewClient(server);
    QSignalSpy finished(client.get(), &clsShareSearch::SearchFinished);
    QSignalSpy errors(client.get(), &clsShareSearch::Error);
    QElapsedTimer clock;
    clock.start();
    client->StartSearch();
    QVERIFY(finished.wait(kWait));
    QVERIFY(clock.elapsed() >= kTimeOut);
    QCOMPARE(finished.takeFirst().at(0).toBool(), false);
    QCOMPARE(Errors(errors), QStringList(2, QStringLiteral("Error, Connection Time out")));
    QCOMPARE(server.Targets().size(), 2);
    QCOMPARE(client->SearchResult().Found, false);

    QTest::qWait(kTimeOut * 6); // a late answer changes nothing
    QCOMPARE(errors.size(), 2);
    QCOMPARE(finished.size(), 0);
    QCOMPARE(client->SearchResult().Found, false);
}

void tst_ShareSearch::timeOutEndsEveryWaitingFetch()
{
    LoopbackHttpServer server([](const QByteArray &) {
        Answer answer;
        answer.answer = false;
        return answer;
    });
    QVERIFY(server.Listen());
    auto client = NewClient(server);
    QSignalSpy searchFinished(client.get(), &clsShareSearch::SearchFinished);
    QSignalSpy linksFinished(client.get(), &clsShareSearch::DirectLinksFinished);
    QSignalSpy errors(client.get(), &clsShareSearch::Error);
    const QString link = QStringLiteral("http://%1/details/1.html").arg(server.Host());
    client->StartSearch();
    client->GetDirectLinks(link);

    QTRY_VERIFY_WITH_TIMEOUT(searchFinished.size() == 1 && linksFinished.size() == 1, kWait);
    QCOMPARE(linksFinished.first(), (QList<QVariant>{link, QString()}));
    QStringList expected(4, QStringLiteral("Error, Connection Time out"));
    expected << QStringLiteral("Checking Failed. Failed to get page.");
    QCOMPARE(Errors(errors), expected);
    QCOMPARE(server.Targets().size(), 4);
}

void tst_ShareSearch::stopBeforeSearch()
{
    LoopbackHttpServer server([](const QByteArray &) { return Page(kTenHits); });
    QVERIFY(server.Listen());
    auto client = NewClient(server);
    QSignalSpy finished(client.get(), &clsShareSearch::SearchFinished);
    QSignalSpy linksFinished(client.get(), &clsShareSearch::DirectLinksFinished);
    QSignalSpy errors(client.get(), &clsShareSearch::Error);

    client->StopSearch();
    client->StartSearch();
    QVERIFY(finished.wait(kWait));
    QCOMPARE(finished.takeFirst().at(0).toBool(), false);
    QCOMPARE(Errors(errors), QStringList(2, QStringLiteral("User Cancel")));
    QCOMPARE(client->SearchResult().Found, false);

    // The stop stays until the next Initialize, for details pages too.
    errors.clear();
    client->GetDirectLinks(QStringLiteral("http://%1/details/1.html").arg(server.Host()));
    QVERIFY(linksFinished.wait(kWait));
    QCOMPARE(Errors(errors), (QStringList{"User Cancel", "User Cancel", "Checking Failed. Failed to get page."}));
    QVERIFY(server.Targets().isEmpty());

    client->Initialize();
    QCOMPARE(client->SearchText(), QString());
    QCOMPARE(client->SortBy() | client->FilterByDate() | client->Extension() | client->WebSite(), 0);
    QCOMPARE(client->FilterSizeFrom() | client->FilterSizeTo(), 0);
    client->setSearchText(QStringLiteral("linux"));
    errors.clear();
    client->StartSearch();
    QVERIFY(finished.wait(kWait));
    QCOMPARE(finished.takeFirst().at(0).toBool(), true);
    QVERIFY(errors.isEmpty());
    QCOMPARE(client->SearchResult().Found, true);
}

void tst_ShareSearch::stopDuringFetch()
{
    LoopbackHttpServer server([](const QByteArray &) {
        Answer answer = Page(kTenHits);
        answer.delayMs = kTimeOut / 2;
        return answer;
    });
    QVERIFY(server.Listen());
    auto client = NewClient(server);
    client->setTimeOutInterval(kWait);
    QSignalSpy finished(client.get(), &clsShareSearch::SearchFinished);
    QSignalSpy errors(client.get(), &clsShareSearch::Error);
    QSignalSpy received(&server, &LoopbackHttpServer::RequestReceived);

    client->StartSearch();
    QVERIFY(received.wait(kWait));
    client->StopSearch();
    QCOMPARE(Errors(errors), QStringList{"User Cancel"}); // at once, the answer is not waited for
    QVERIFY(finished.wait(kWait));
    QCOMPARE(finished.takeFirst().at(0).toBool(), false);
    QCOMPARE(Errors(errors), QStringList(2, QStringLiteral("User Cancel")));
    QTest::qWait(kTimeOut);
    QCOMPARE(server.Targets().size(), 1);
    QCOMPARE(client->SearchResult().Found, false);
}

void tst_ShareSearch::failedRequest_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("error");

    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const QString closedHost = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    QTest::newRow("port out of range") << "127.0.0.1:99999" << "Error:Invalid port";
    QTest::newRow("blank in the host") << "bad host" << "Error:Invalid hostname";
    QTest::newRow("connection refused") << closedHost << "Error:Connection refused";
}

void tst_ShareSearch::failedRequest()
{
    QFETCH(QString, host);
    QFETCH(QString, error);

    auto client = NewClient(host);
    client->setTimeOutInterval(kWait);
    QSignalSpy finished(client.get(), &clsShareSearch::SearchFinished);
    QSignalSpy errors(client.get(), &clsShareSearch::Error);
    client->StartSearch();
    QVERIFY(finished.wait(kWait));
    QCOMPARE(errors.size(), 2);
    for (const QString &text : Errors(errors))
        QVERIFY2(text.startsWith(error), qPrintable(text));
    QCOMPARE(client->SearchResult().Found, false);
}

void tst_ShareSearch::emptySearchText()
{
    LoopbackHttpServer server([](const QByteArray &) { return Page(kTenHits); });
    QVERIFY(server.Listen());
    auto client = NewClient(server);
    QSignalSpy finished(client.get(), &clsShareSearch::SearchFinished);
    QSignalSpy pageFinished(client.get(), &clsShareSearch::SearchPageFinished);
    QSignalSpy errors(client.get(), &clsShareSearch::Error);
    client->StartSearch();
    QVERIFY(finished.wait(kWait));
    finished.clear();

    client->setSearchText(QString());
    client->StartSearch();
    client->SearchPage(2);
    QVERIFY(errors.isEmpty()); // not inside the call
    QTRY_COMPARE_WITH_TIMEOUT(pageFinished.size(), 1, kWait);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().at(0).toBool(), false);
    QCOMPARE(pageFinished.first(), (QList<QVariant>{qint32(2), false}));
    QCOMPARE(Errors(errors), QStringList(2, QStringLiteral("Search Failed. Search text is empty!.")));
    QCOMPARE(server.Targets().size(), 1);
    QCOMPARE(client->SearchResult().TotalCount, QStringLiteral("37")); // the last page is kept
}

void tst_ShareSearch::directLinks_data()
{
    QTest::addColumn<QString>("path"); // "" asks for an empty link
    QTest::addColumn<QString>("block");
    QTest::addColumn<QStringList>("errors");
    QTest::addColumn<int>("requests");

    const QString linkEmpty = QStringLiteral("Checking Failed. Link is empty.");
    QTest::newRow("block of two links") << "/details/two.html"
                                        << "http://rapidshare.com/files/1/a.rar\r\nhttp://rapidshare.com/files/2/b.rar"
                                        << QStringList() << 1;
    QTest::newRow("page without the block") << "/details/none.html" << "" << QStringList{linkEmpty} << 1;
    QTest::newRow("pre without its >") << "/details/open.html" << "" << QStringList{linkEmpty} << 1;
    QTest::newRow("page not found") << "/details/missing.html" << ""
                                    << QStringList{"Checking Failed. Failed to get page."} << 2;
    QTest::newRow("empty link") << "" << "" << QStringList{linkEmpty} << 0;
}

void tst_ShareSearch::directLinks()
{
    QFETCH(QString, path);
    QFETCH(QString, block);
    QFETCH(QStringList, errors);
    QFETCH(int, requests);

    LoopbackHttpServer server([](const QByteArray &target) {
        if (target == "/details/two.html")
            return Page("<html><body><p>Direct links:</p><pre>http://rapidshare.com/files/1/a.rar\r\n"
                        "http://rapidshare.com/files/2/b.rar</pre></body></html>");
        if (target == "/details/none.html")
            return Page("<html><body><p>No links here</p></body></html>");
        if (target == "/details/open.html")
            return Page("<html><body>Direct links:<pre");
        return Page("gone", 404);
    });
    QVERIFY(server.Listen());
    auto client = NewClient(server);
    QSignalSpy finished(client.get(), &clsShareSearch::DirectLinksFinished);
    QSignalSpy errorSpy(client.get(), &clsShareSearch::Error);
    const QString link = path.isEmpty() ? QString() : QLatin1String("http://") + server.Host() + path;
    client->GetDirectLinks(link);
    QVERIFY(finished.wait(kWait));
    QCOMPARE(finished.first(), (QList<QVariant>{link, block}));
    QCOMPARE(Errors(errorSpy), errors);
    QCOMPARE(server.Targets().size(), requests);
}

void tst_ShareSearch::destroyedWhileWaiting()
{
    LoopbackHttpServer server([](const QByteArray &) {
        Answer answer = Page(kTenHits);
        answer.delayMs = 50;
        return answer;
    });
    QVERIFY(server.Listen());
    auto client = NewClient(server);
    QSignalSpy received(&server, &LoopbackHttpServer::RequestReceived);
    client->StartSearch();
    client->GetDirectLinks(QStringLiteral("http://%1/details/1.html").arg(server.Host()));
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 2, kWait);
    client.reset();
    QTest::qWait(kTimeOut * 2); // the answers and the timer find nothing left to call
}

QTEST_GUILESS_MAIN(tst_ShareSearch)
#include "tst_sharesearch.moc"
