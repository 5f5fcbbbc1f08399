#include "transfer/DownloadAsynch.h"

#include "CertificateAuthority.h"
#include "ScriptedHttpServer.h"
#include "transfer/TlsTrust.h"
#include "util/Formatting.h"
#include "util/RecordingPrompter.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#endif

using Script = ScriptedHttpServer::Script;
using S = ScriptedHttpServer;

namespace {

constexpr int kId = 7;
// Long enough that nothing a test waits for can come from the watchdog unless
// the test shortens it.
constexpr int kLongWatchdog = 30000;
constexpr int kWait = 5000;

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Files(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// The Range of each request the server received; empty for none.
QByteArrayList Ranges(const ScriptedHttpServer &server)
{
    QByteArrayList ranges;
    for (const QByteArray &request : std::as_const(server.requests)) {
        const qsizetype at = request.indexOf("\r\nRange: ");
        ranges << (at < 0 ? QByteArray("") : request.mid(at + 9, request.indexOf("\r\n", at + 2) - at - 9));
    }
    return ranges;
}

// Writes `bytes` into a new file at `path`; nothing for null bytes.
bool WriteFile(const QString &path, const QByteArray &bytes)
{
    if (bytes.isNull())
        return true;
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray Fill(QByteArray text, const ScriptedHttpServer &server)
{
    return text.replace("{base}", server.base().toLatin1()).replace("{authority}", server.authority().toLatin1());
}

} // namespace

// One downloader with a spy on each of its events.
class Fixture final
{
    Q_DISABLE_COPY_MOVE(Fixture)

public:
    explicit Fixture(Prompter *prompter = nullptr)
        : downloader(prompter)
        , fileBegin(&downloader, &DownloadAsynch::FileBegin)
        , progress(&downloader, &DownloadAsynch::Progress)
        , complete(&downloader, &DownloadAsynch::Complete)
        , stopped(&downloader, &DownloadAsynch::Stopped)
        , error(&downloader, &DownloadAsynch::Error)
    {
        downloader.setDownID(kId);
        downloader.setTmrSpeedInterval(50);
        downloader.setTmrWiatInterval(kLongWatchdog);
    }

    void Start(const QString &url, const QString &path, int slot = 1)
    {
        downloader.setURL(url);
        downloader.setLocalFilePath(path);
        downloader.StartDownload(slot);
    }
    // As the queue starts a row that has a partial file.
    void StartWithPartial(const QString &url, const QString &path, const QString &partial)
    {
        downloader.setURL(url);
        downloader.setLocalFilePath(path);
        downloader.setPartialFilePath(partial);
        downloader.StartDownload(1);
    }
    bool WaitForEnd(int milliseconds = kWait)
    {
        return QTest::qWaitFor([this] { return Ended() > 0; }, milliseconds);
    }
    int Ended() const { return int(complete.count() + error.count() + stopped.count()); }
    QString ErrorText() const { return error.isEmpty() ? QString() : error.first().at(1).toString(); }

    DownloadAsynch downloader;
    QSignalSpy fileBegin;
    QSignalSpy progress;
    QSignalSpy complete;
    QSignalSpy stopped;
    QSignalSpy error;
};

class tst_downloadasynch final : public QObject
{
    Q_OBJECT

public:
    tst_downloadasynch()
        : m_authority(QStringLiteral("Tidefetch Test Authority"))
    {
    }

private Q_SLOTS:
    void initTestCase();
    void requestIsSentByteForByte();
    void startFailures_data();
    void startFailures();
    void replies_data();
    void replies();
    void redirects_data();
    void redirects();
    void progress_data();
    void progress();
    void watchdog_data();
    void watchdog();
    void stopWithAnotherIdDoesNothing();
    void stopKeepsThePartialFile();
    void stoppedHandlerStartsTheNextTransfer();
    void stopKeepsFilesItDidNotWrite();
    void freeFileName_data();
    void freeFileName();
    void failedWriteIsAnError();
    void resume_data();
    void resume();
    void partialFileRemovedDuringTheTransfer();
    void https_data();
    void https();
    void directRedirects_data();
    void directRedirects();

private:
    // The server side of a TLS connection with the leaf named `name`.
    QSslConfiguration ServerTls(const QString &name) const;

    CertificateAuthority m_authority;
    QHash<QString, CertificateAuthority::Issued> m_leaves;
    QTemporaryDir m_trustDir;
};

void tst_downloadasynch::initTestCase()
{
    QVERIFY(QSslSocket::supportsSsl());
    // The authority the downloader trusts beside the system's.
    const QString caFile = m_trustDir.filePath(QStringLiteral("ca.pem"));
    QVERIFY(m_authority.WriteCertificate(caFile));
    qputenv(TlsTrust::ExtraCaVariable, QFile::encodeName(caFile));
    QCOMPARE(TlsTrust::ExtraCaProblem(), QString());

    const QDateTime now = QDateTime::currentDateTimeUtc();
    CertificateAuthority::Subject loopback;
    loopback.addresses = {QHostAddress::LocalHost};
    CertificateAuthority::Subject expired = loopback;
    expired.notBefore = now.addDays(-30);
    expired.notAfter = now.addDays(-1);
    CertificateAuthority::Subject wrongHost;
    wrongHost.dnsNames = {QStringLiteral("wrong.example")};
    const CertificateAuthority stranger(QStringLiteral("Unknown Authority"));
    m_leaves.insert(QStringLiteral("trusted"), m_authority.Issue(loopback));
    m_leaves.insert(QStringLiteral("expired"), m_authority.Issue(expired));
    m_leaves.insert(QStringLiteral("wrong host"), m_authority.Issue(wrongHost));
    m_leaves.insert(QStringLiteral("unknown authority"), stranger.Issue(loopback));
    m_leaves.insert(QStringLiteral("self-signed"), CertificateAuthority::SelfSigned(loopback));
}

QSslConfiguration tst_downloadasynch::ServerTls(const QString &name) const
{
    return CertificateAuthority::ServerConfiguration(m_leaves.value(name));
}

void tst_downloadasynch::requestIsSentByteForByte()
{
    ScriptedHttpServer server;
    server.route("/dir/file.bin?x=1&y=2", {S::Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabc")});
    QTemporaryDir dir;
    Fixture fixture;
    fixture.Start(QLatin1String("HTTP://") + server.authority() + QLatin1String("/dir/file.bin?x=1&y=2"),
                  dir.filePath(QStringLiteral("file.bin")));
    QVERIFY(fixture.WaitForEnd());
    QCOMPARE(fixture.complete.count(), 1);
    QCOMPARE(server.requests, QList<QByteArray>{"GET /dir/file.bin?x=1&y=2 HTTP/1.1\r\nHost: "
                                                + server.authority().toLatin1() + "\r\nAccept: */*\r\n\r\n"});
    QCOMPARE(ReadFile(dir.filePath(QStringLiteral("file.bin"))), QByteArray("abc"));
}

void tst_downloadasynch::startFailures_data()
{
    QTest::addColumn<QString>("url"); // "{base}" is the test server
    QTest::addColumn<bool>("withPath");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("messageBox");

    const QString notSet = QStringLiteral("URL is empty or LocalFile is not set, Download can not be started");
    QTest::newRow("empty URL") << "" << true << 1 << notSet << false;
    QTest::newRow("empty local file") << "{base}/f" << false << 1 << notSet << false;
    QTest::newRow("no slash after the host") << "http://127.0.0.1" << true << 1
                                             << "The URL has no \"/\" after its host: 127.0.0.1" << true;
    QTest::newRow("neither http nor https") << "ftp://127.0.0.1/f" << true << 1
                                            << "Only http and https addresses can be downloaded: ftp://127.0.0.1/f"
                                            << true;
    QTest::newRow("slot out of range fails at the connection") << "{base}/f" << true << 9
                                                               << "Download slot 9 is out of range (0 to 8)" << false;
    QTest::newRow("connection refused gives the socket's text") << "http://{refused}/f" << true << 1
                                                               << "Connection refused" << false;
}

void tst_downloadasynch::startFailures()
{
    QFETCH(QString, url);
    QFETCH(bool, withPath);
    QFETCH(int, slot);
    QFETCH(QString, error);
    QFETCH(bool, messageBox);
    ScriptedHttpServer server;
    server.route("/f", {S::Send("HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nx")});
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const QString refused = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    url.replace(QLatin1String("{base}"), server.base()).replace(QLatin1String("{refused}"), refused);

    QTemporaryDir dir;
    RecordingPrompter prompter;
    Fixture fixture(&prompter);
    fixture.Start(url, withPath ? dir.filePath(QStringLiteral("f")) : QString(), slot);
    QVERIFY(fixture.WaitForEnd());
    QCOMPARE(fixture.error.count(), 1);
    QCOMPARE(fixture.error.first().at(0).toInt(), kId);
    QCOMPARE(fixture.ErrorText(), error);
    QCOMPARE(prompter.messages(), messageBox ? QStringList{error} : QStringList());
    if (messageBox) {
        QCOMPARE(prompter.shown.first().title, QStringLiteral("Tidefetch"));
        QCOMPARE(prompter.shown.first().icon, Prompter::Icon::Critical);
    }
    QTest::qWait(150);
    QCOMPARE(fixture.Ended(), 1);
    QVERIFY(fixture.progress.isEmpty());
    QCOMPARE(Files(dir.path()), QStringList());
}

void tst_downloadasynch::replies_data()
{
    QTest::addColumn<Script>("script");
    QTest::addColumn<bool>("completes");    // else Error
    QTest::addColumn<QString>("error");
    QTest::addColumn<qint64>("fileBegin");  // -1: not raised
    QTest::addColumn<QString>("left");       // the one file left, if any
    QTest::addColumn<QByteArray>("content"); // of the file left

    const QByteArray page("<html><body>Not here</body></html>");
    const QByteArray lookalike("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\nstill body");
    const QString noError;
    const QString connectionError = QStringLiteral("Connection Error");
    const QString whole = QStringLiteral("file.bin");
    const QString partial = QStringLiteral("file.bin.part");
    const QString none;

    QTest::newRow("length followed by another header, body in two reads")
        << Script{S::Send("HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: 1000\r\n"
                          "Server: t\r\n\r\n"),
                  S::SendPattern(0, 200), S::Pause(50), S::SendPattern(200, 800)}
        << true << noError << qint64(1000) << whole << S::Pattern(0, 1000);
    QTest::newRow("length as the last and only header: the head never lands in the file")
        << Script{S::Send("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n"), S::SendPattern(0, 1000)} << true
        << noError << qint64(1000) << whole << S::Pattern(0, 1000);
    QTest::newRow("head split over several reads")
        << Script{S::Send("HTTP/1.1 200 OK\r\nContent-Le"), S::Pause(50), S::Send("ngth: 10\r\n"), S::Pause(50),
                  S::Send("\r"), S::Pause(50), S::Send("\n0123456789")}
        << true << noError << qint64(10) << whole << QByteArray("0123456789");
    QTest::newRow("later body text that looks like a head is written unchanged")
        << Script{S::Send("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: "
                          + QByteArray::number(lookalike.size() + 3) + "\r\n\r\nabc"),
                  S::Pause(50), S::Send(lookalike)}
        << true << noError << qint64(lookalike.size() + 3) << whole << QByteArray("abc") + lookalike;
    QTest::newRow("chunked, split inside sizes and data")
        << Script{S::Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nHel"), S::Pause(50),
                  S::Send("lo\r\n1"), S::Pause(50),
                  S::Send("A;x=y\r\nabcdefghijklmnopqrstuvwxyz\r\n0\r\nT: 1\r\n\r\n")}
        << true << noError << qint64(-1) << whole << QByteArray("Helloabcdefghijklmnopqrstuvwxyz");
    QTest::newRow("chunked closed after the last chunk")
        << Script{S::Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n"), S::Close()}
        << true << noError << qint64(-1) << whole << QByteArray("abc");
    QTest::newRow("unknown size is complete at the close")
        << Script{S::Send("HTTP/1.0 200 OK\r\nContent-Type: x\r\n\r\n"), S::SendPattern(0, 5000), S::Pause(50),
                  S::Close()}
        << true << noError << qint64(-1) << whole << S::Pattern(0, 5000);
    QTest::newRow("unknown size cut by a reset is an error, the part stays")
        << Script{S::Send("HTTP/1.0 200 OK\r\nContent-Type: x\r\n\r\n"), S::SendPattern(0, 5000), S::Pause(50),
                  S::Reset()}
        << false << connectionError + QLatin1String(": connection reset after 5000 bytes") << qint64(-1) << partial
        << S::Pattern(0, 5000);
    QTest::newRow("known size cut by a reset names both counts")
        << Script{S::Send("HTTP/1.1 200 OK\r\nContent-Length: 8000\r\n\r\n"), S::SendPattern(0, 5000),
                  S::Pause(50), S::Reset()}
        << false << connectionError + QLatin1String(": connection reset after 5000 of 8000 bytes") << qint64(8000)
        << partial << S::Pattern(0, 5000);
    QTest::newRow("bytes past the length are not written")
        << Script{S::Send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhelloEXTRA")} << true << noError
        << qint64(5) << whole << QByteArray("hello");
    QTest::newRow("empty body") << Script{S::Send("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n")} << true
                                << noError << qint64(0) << whole << QByteArray();
    QTest::newRow("close at 50 % is an error at once, the part stays")
        << Script{S::Send("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n"), S::SendPattern(0, 500), S::Close()}
        << false << connectionError + QLatin1String(": connection closed after 500 of 1000 bytes") << qint64(1000)
        << partial << S::Pattern(0, 500);
    QTest::newRow("chunked cut short") << Script{S::Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                                         "5\r\nhel"),
                                                 S::Close()}
                                       << false << connectionError + QLatin1String(": connection closed after 3 bytes")
                                       << qint64(-1) << partial << QByteArray("hel");
    QTest::newRow("broken chunk framing") << Script{S::Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                                            "zz\r\n")}
                                          << false << connectionError + QLatin1String(": malformed chunked body")
                                          << qint64(-1) << none << QByteArray();
    QTest::newRow("404 with a page leaves no file")
        << Script{S::Send("HTTP/1.1 404 Not Found\r\nContent-Type: text/html\r\nContent-Length: "
                          + QByteArray::number(page.size()) + "\r\n\r\n" + page)}
        << false << connectionError + QLatin1String(": HTTP 404 Not Found") << qint64(-1) << none << QByteArray();
    QTest::newRow("500 leaves no file") << Script{S::Send("HTTP/1.1 500 Internal Server Error\r\n\r\n"), S::Close()}
                                        << false << connectionError + QLatin1String(": HTTP 500 Internal Server Error")
                                        << qint64(-1) << none << QByteArray();
    QTest::newRow("head over 64 KiB without its blank line")
        << Script{S::Send("HTTP/1.1 200 OK\r\nX-Filler: " + QByteArray(70000, 'a'))} << false
        << connectionError + QLatin1String(": malformed reply head") << qint64(-1) << none << QByteArray();
    QTest::newRow("closed before any head")
        << Script{S::Close()} << false << connectionError + QLatin1String(": connection closed before the reply")
        << qint64(-1) << none << QByteArray();
    QTest::newRow("not an HTTP reply") << Script{S::Send("<html>200 OK</html>\r\n\r\n")} << false
                                       << connectionError + QLatin1String(": malformed reply head") << qint64(-1)
                                       << none << QByteArray();
}

void tst_downloadasynch::replies()
{
    QFETCH(Script, script);
    QFETCH(bool, completes);
    QFETCH(qint64, fileBegin);
    QFETCH(QString, left);
    ScriptedHttpServer server;
    server.route("/file.bin", script);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file.bin"));
    Fixture fixture;
    fixture.Start(server.base() + QLatin1String("/file.bin"), path);

    // The watchdog is 30 s away: every end here comes from the reply itself.
    QVERIFY(fixture.WaitForEnd());
    QCOMPARE(fixture.complete.count(), completes ? 1 : 0);
    QCOMPARE(fixture.error.count(), completes ? 0 : 1);
    if (!completes)
        QTEST(fixture.ErrorText(), "error");
    QCOMPARE(fixture.fileBegin.count(), fileBegin < 0 ? 0 : 1);
    if (fileBegin >= 0) {
        QCOMPARE(fixture.fileBegin.first().at(0).toInt(), kId);
        QCOMPARE(fixture.fileBegin.first().at(1).toLongLong(), fileBegin);
        QCOMPARE(fixture.downloader.FileSize(), fileBegin);
    }
    QCOMPARE(Files(dir.path()), left.isEmpty() ? QStringList() : QStringList{left});
    if (!left.isEmpty())
        QTEST(ReadFile(dir.filePath(left)), "content");
    // Nothing follows the end of a transfer.
    QTest::qWait(200);
    const qsizetype progressAtEnd = fixture.progress.count();
    QTest::qWait(200);
    QCOMPARE(fixture.progress.count(), progressAtEnd);
    QCOMPARE(fixture.Ended(), 1);
}

void tst_downloadasynch::redirects_data()
{
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("reply"); // "{base}" and "{authority}" are the server
    QTest::addColumn<QList<QByteArray>>("targets");
    QTest::addColumn<QString>("error"); // empty: completes with the payload of the last target

    const QString noError;
    const QList<QByteArray> toReal{"/start", "/real"};
    QTest::newRow("302 found in lower case") << QByteArray("/start")
                                             << QByteArray("HTTP/1.1 302 found\r\nLocation: {base}/real\r\n"
                                                           "Content-Length: 5\r\n\r\nmoved")
                                             << toReal << noError;
    QTest::newRow("303 SEE OTHER in capitals") << QByteArray("/start")
                                               << QByteArray("HTTP/1.1 303 SEE OTHER\r\nLocation: {base}/real\r\n\r\n")
                                               << toReal << noError;
    QTest::newRow("302 with another reason phrase")
        << QByteArray("/start") << QByteArray("HTTP/1.1 302 Moved Temporarily\r\nLocation: {base}/real\r\n\r\n")
        << toReal << noError;
    QTest::newRow("http://www. prefix is dropped")
        << QByteArray("/start") << QByteArray("HTTP/1.1 302 Found\r\nlocation:http://www.{authority}/real\r\n\r\n")
        << toReal << noError;
    QTest::newRow("location relative to the host") << QByteArray("/start")
                                                   << QByteArray("HTTP/1.1 302 Found\r\nLocation: /real\r\n\r\n")
                                                   << toReal << noError;
    QTest::newRow("location relative to the folder")
        << QByteArray("/dir/start") << QByteArray("HTTP/1.1 302 Found\r\nLocation: real\r\n\r\n")
        << QList<QByteArray>{"/dir/start", "/dir/real"} << noError;
    QList<QByteArray> chain{"/start"};
    for (int i = 1; i <= 9; ++i)
        chain << "/hop" + QByteArray::number(i);
    QTest::newRow("ten redirects in a row are followed")
        << QByteArray("/start") << QByteArray("HTTP/1.1 302 Found\r\nLocation: /hop1\r\n\r\n") << chain + QList<QByteArray>{"/real"}
        << noError;
    QTest::newRow("an eleventh is refused") << QByteArray("/loop") << QByteArray()
                                            << QList<QByteArray>(11, "/loop")
                                            << QStringLiteral("Connection Error: too many redirects");
    QTest::newRow("https location is refused with a reason")
        << QByteArray("/start") << QByteArray("HTTP/1.1 302 Found\r\nLocation: https://{authority}/real\r\n\r\n")
        << QList<QByteArray>{"/start"}
        << QStringLiteral("Redirected to an address that is not http: https://127.0.0.1:{port}/real");
    QTest::newRow("301 is not followed") << QByteArray("/start")
                                         << QByteArray("HTTP/1.1 301 Moved Permanently\r\nLocation: /real\r\n\r\n")
                                         << QList<QByteArray>{"/start"}
                                         << QStringLiteral("Connection Error: HTTP 301 Moved Permanently");
    QTest::newRow("307 is not followed") << QByteArray("/start")
                                         << QByteArray("HTTP/1.1 307 Temporary Redirect\r\nLocation: /real\r\n\r\n")
                                         << QList<QByteArray>{"/start"}
                                         << QStringLiteral("Connection Error: HTTP 307 Temporary Redirect");
    QTest::newRow("302 without a location") << QByteArray("/start") << QByteArray("HTTP/1.1 302 Found\r\n\r\n")
                                            << QList<QByteArray>{"/start"}
                                            << QStringLiteral("Connection Error: HTTP 302 Found");
}

void tst_downloadasynch::redirects()
{
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, reply);
    QFETCH(QString, error);
    ScriptedHttpServer server;
    const QByteArray payload("the payload");
    const Script ok{S::Send("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(payload.size()) + "\r\n\r\n"
                            + payload)};
    server.route("/real", ok);
    server.route("/dir/real", ok);
    server.route("/loop", {S::Send("HTTP/1.1 302 Found\r\nLocation: /loop\r\n\r\n")});
    for (int i = 1; i <= 9; ++i) {
        const QByteArray next = i == 9 ? QByteArray("/real") : "/hop" + QByteArray::number(i + 1);
        server.route("/hop" + QByteArray::number(i), {S::Send("HTTP/1.1 302 Found\r\nLocation: " + next + "\r\n\r\n")});
    }
    if (!reply.isEmpty())
        server.route(start, {S::Send(Fill(reply, server))});
    error.replace(QLatin1String("{port}"), QString::number(server.port()));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.bin"));
    Fixture fixture;
    fixture.Start(server.base() + QString::fromLatin1(start), path);
    QVERIFY(fixture.WaitForEnd());
    QTEST(server.targets, "targets");
    for (const QByteArray &request : std::as_const(server.requests))
        QVERIFY(request.contains("\r\nHost: " + server.authority().toLatin1() + "\r\n"));
    if (error.isEmpty()) {
        QCOMPARE(fixture.complete.count(), 1);
        QCOMPARE(ReadFile(path), payload);
    } else {
        QCOMPARE(fixture.ErrorText(), error);
        QCOMPARE(Files(dir.path()), QStringList());
    }
}

void tst_downloadasynch::progress_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<bool>("knownSize");

    QTest::newRow("known size") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 3000\r\n\r\n") << true;
    QTest::newRow("unknown size") << QByteArray("HTTP/1.0 200 OK\r\n\r\n") << false;
}

void tst_downloadasynch::progress()
{
    QFETCH(QByteArray, head);
    QFETCH(bool, knownSize);
    ScriptedHttpServer server;
    server.route("/f", {S::Send(head), S::SendPattern(0, 1000), S::Pause(400), S::SendPattern(1000, 1000),
                        S::Pause(400), S::SendPattern(2000, 1000), S::Close()});
    QTemporaryDir dir;
    Fixture fixture;
    fixture.downloader.setTmrSpeedInterval(100);
    fixture.Start(server.base() + QLatin1String("/f"), dir.filePath(QStringLiteral("f")));
    QVERIFY(fixture.WaitForEnd());
    QCOMPARE(fixture.complete.count(), 1);
    QVERIFY(fixture.progress.count() >= 4);

    // A new downloader's ring starts empty: the first speed is a quarter of the
    // first tick's bytes.
    const QList<QVariant> first = fixture.progress.first();
    QCOMPARE(first.at(0).toInt(), kId);
    QVERIFY(first.at(3).toLongLong() <= 1000);
    QCOMPARE(first.at(2).toLongLong(), first.at(3).toLongLong() / 4);
    for (const QList<QVariant> &event : std::as_const(fixture.progress)) {
        const qint64 downloaded = event.at(3).toLongLong();
        const qint64 speed = event.at(2).toLongLong();
        if (knownSize) {
            QCOMPARE(event.at(1).toDouble(), Formatting::RoundHalfEven(double(downloaded) / 30.0, 2));
            QCOMPARE(event.at(4).toLongLong(), 3000 - downloaded);
            QCOMPARE(event.at(5).toDouble(), double(3000 - downloaded) / double(speed == 0 ? 1 : speed));
        } else {
            QCOMPARE(event.at(1).toDouble(), -1.0);
            QCOMPARE(event.at(4).toLongLong(), qint64(-1));
            QCOMPARE(event.at(5).toDouble(), -1.0);
        }
    }
    // Complete once; later ticks and the watchdog raise nothing more.
    const qsizetype ticks = fixture.progress.count();
    QTest::qWait(350);
    QCOMPARE(fixture.progress.count(), ticks);
    QCOMPARE(fixture.Ended(), 1);
}

void tst_downloadasynch::watchdog_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<Script>("script");
    QTest::addColumn<bool>("completes");
    QTest::addColumn<QByteArray>("content"); // of the file left

    Script trickle{S::Send("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n")};
    for (int i = 0; i < 10; ++i)
        trickle << S::Pause(100) << S::SendPattern(i * 100, 100);
    QTest::newRow("data every 100 ms keeps a 400 ms watchdog quiet")
        << QByteArray("/f") << trickle << true << S::Pattern(0, 1000);
    QTest::newRow("a stall at 97 % of a RapidShare address is an error")
        << QByteArray("/files/RapidShare/f") << Script{S::Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n"),
                                                      S::SendPattern(0, 97)}
        << false << S::Pattern(0, 97);
    QTest::newRow("a stall of unknown size is an error")
        << QByteArray("/f") << Script{S::Send("HTTP/1.0 200 OK\r\n\r\n"), S::SendPattern(0, 50)} << false
        << S::Pattern(0, 50);
    QTest::newRow("no answer at all is an error and leaves no file") << QByteArray("/f") << Script{} << false
                                                                     << QByteArray();
}

void tst_downloadasynch::watchdog()
{
    QFETCH(QByteArray, target);
    QFETCH(Script, script);
    QFETCH(bool, completes);
    QFETCH(QByteArray, content);
    ScriptedHttpServer server;
    server.route(target, script);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f"));
    Fixture fixture;
    fixture.downloader.setTmrWiatInterval(400);
    QElapsedTimer clock;
    clock.start();
    fixture.Start(server.base() + QString::fromLatin1(target), path);
    QVERIFY(fixture.WaitForEnd());
    QCOMPARE(fixture.complete.count(), completes ? 1 : 0);
    if (!completes) {
        QVERIFY2(fixture.ErrorText().startsWith(QLatin1String("Connection Error: no data for 0.4 seconds")),
                 qPrintable(fixture.ErrorText()));
        QVERIFY(clock.elapsed() >= 400);
    }
    // A stalled transfer keeps what it has in its partial file.
    const QString left = completes ? path : path + QLatin1String(".part");
    QCOMPARE(Files(dir.path()).isEmpty(), content.isEmpty());
    if (!content.isEmpty())
        QCOMPARE(ReadFile(left), content);
}

void tst_downloadasynch::stopWithAnotherIdDoesNothing()
{
    ScriptedHttpServer server;
    server.route("/f", {S::Send("HTTP/1.1 200 OK\r\nContent-Length: 200\r\n\r\n"), S::SendPattern(0, 100),
                        S::Pause(200), S::SendPattern(100, 100)});
    QTemporaryDir dir;
    Fixture fixture;
    fixture.Start(server.base() + QLatin1String("/f"), dir.filePath(QStringLiteral("f")));
    QTRY_COMPARE(fixture.fileBegin.count(), 1);
    fixture.downloader.StopDownload(kId + 1);
    QVERIFY(fixture.WaitForEnd());
    QCOMPARE(fixture.stopped.count(), 0);
    QCOMPARE(fixture.complete.count(), 1);
    QCOMPARE(ReadFile(dir.filePath(QStringLiteral("f"))), S::Pattern(0, 200));
}

void tst_downloadasynch::stopKeepsThePartialFile()
{
    ScriptedHttpServer server;
    server.route("/f", {S::Send("HTTP/1.1 200 OK\r\nContent-Length: 2000\r\n\r\n"), S::SendPattern(0, 1000)});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f"));
    Fixture fixture;
    fixture.Start(server.base() + QLatin1String("/f"), path);
    QTRY_COMPARE(QFileInfo(path + QLatin1String(".part")).size(), qint64(1000));
    fixture.downloader.StopDownload(kId);
    // Raised before StopDownload returned.
    QCOMPARE(fixture.stopped.count(), 1);
    QCOMPARE(fixture.stopped.first().at(0).toInt(), kId);
    // Stop is a pause: the bytes stay for the next start, under no final name.
    QCOMPARE(Files(dir.path()), QStringList{QStringLiteral("f.part")});
    QCOMPARE(ReadFile(path + QLatin1String(".part")), S::Pattern(0, 1000));
    QTest::qWait(200);
    QCOMPARE(fixture.Ended(), 1);
}

void tst_downloadasynch::stoppedHandlerStartsTheNextTransfer()
{
    ScriptedHttpServer server;
    server.route("/first", {S::Send("HTTP/1.1 200 OK\r\nContent-Length: 2000\r\n\r\n"), S::SendPattern(0, 1000)});
    server.route("/second", {S::Send("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\nsecond")});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("same.bin"));
    Fixture fixture;
    // As the queue does: the handler runs inside StopDownload and starts the next row
    // into a file of the same name.
    QObject::connect(&fixture.downloader, &DownloadAsynch::Stopped, &fixture.downloader,
                     [&](int) {
                         fixture.downloader.setURL(server.base() + QLatin1String("/second"));
                         fixture.downloader.setLocalFilePath(path);
                         fixture.downloader.setDownID(kId + 1);
                         fixture.downloader.StartDownload(1);
                     },
                     Qt::DirectConnection);
    fixture.Start(server.base() + QLatin1String("/first"), path);
    QTRY_COMPARE(QFileInfo(path + QLatin1String(".part")).size(), qint64(1000));
    fixture.downloader.StopDownload(kId);
    QCOMPARE(fixture.stopped.count(), 1);
    QTRY_COMPARE(fixture.complete.count(), 1);
    QCOMPARE(fixture.complete.first().at(0).toInt(), kId + 1);
    QCOMPARE(fixture.error.count(), 0);
    // The first row's partial file is its own; the second takes the next name.
    QCOMPARE(Files(dir.path()), (QStringList{QStringLiteral("same.bin.part"), QStringLiteral("same_1.bin")}));
    QCOMPARE(ReadFile(dir.filePath(QStringLiteral("same_1.bin"))), QByteArray("second"));
}

void tst_downloadasynch::stopKeepsFilesItDidNotWrite()
{
    ScriptedHttpServer server;
    server.route("/f", {S::Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nnew")});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kept.bin"));
    QFile existing(path);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("the user's data");
    existing.close();

    // Stopped before the connection: the existing file was never this transfer's.
    Fixture fixture;
    fixture.Start(server.base() + QLatin1String("/f"), path);
    fixture.downloader.StopDownload(kId);
    QCOMPARE(fixture.stopped.count(), 1);
    QTest::qWait(100);
    QCOMPARE(Files(dir.path()), QStringList{QStringLiteral("kept.bin")});
    QCOMPARE(ReadFile(path), QByteArray("the user's data"));

    // A finished download is not partial either: a late stop leaves it.
    fixture.Start(server.base() + QLatin1String("/f"), path);
    QTRY_COMPARE(fixture.complete.count(), 1);
    fixture.downloader.StopDownload(kId);
    QCOMPARE(fixture.stopped.count(), 2);
    QCOMPARE(Files(dir.path()), (QStringList{QStringLiteral("kept.bin"), QStringLiteral("kept_1.bin")}));
    QCOMPARE(ReadFile(dir.filePath(QStringLiteral("kept_1.bin"))), QByteArray("new"));
}

void tst_downloadasynch::freeFileName_data()
{
    QTest::addColumn<QString>("target");     // relative to the temporary folder
    QTest::addColumn<QByteArray>("existing"); // null: no file there before
    QTest::addColumn<bool>("danglingLink");   // the name is a link to nowhere instead
    QTest::addColumn<QString>("written");

    QTest::newRow("a file with data gets the next name")
        << "movie.avi" << QByteArray("old") << false << "movie_1.avi";
    QTest::newRow("an empty file is kept: the rename never replaces")
        << "movie.avi" << QByteArray("") << false << "movie_1.avi";
    QTest::newRow("missing folders are made") << "a/b/c/movie.avi" << QByteArray() << false << "a/b/c/movie.avi";
#ifdef Q_OS_UNIX
    // Looks free, as a file appearing after the look would: only a rename that
    // refuses a taken name keeps it.
    QTest::newRow("a link to nowhere is kept") << "movie.avi" << QByteArray() << true << "movie_1.avi";
#endif
}

void tst_downloadasynch::freeFileName()
{
    QFETCH(QString, target);
    QFETCH(QByteArray, existing);
    QFETCH(bool, danglingLink);
    QFETCH(QString, written);
    ScriptedHttpServer server;
    server.route("/f", {S::Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nnew")});
    QTemporaryDir dir;
    const QString nowhere = dir.filePath(QStringLiteral("nowhere"));
    if (!existing.isNull()) {
        QFile file(dir.filePath(target));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(existing);
    }
    if (danglingLink)
        QVERIFY(QFile::link(nowhere, dir.filePath(target)));
    Fixture fixture;
    fixture.Start(server.base() + QLatin1String("/f"), dir.filePath(target));
    QVERIFY(fixture.WaitForEnd());
    QCOMPARE(fixture.complete.count(), 1);
    QCOMPARE(ReadFile(dir.filePath(written)), QByteArray("new"));
    if (danglingLink) {
        QCOMPARE(QFileInfo(dir.filePath(target)).symLinkTarget(), nowhere);
        QVERIFY(!QFileInfo::exists(nowhere));
    } else if (written != target) {
        QCOMPARE(ReadFile(dir.filePath(target)), existing);
    }
}

void tst_downloadasynch::failedWriteIsAnError()
{
#ifdef Q_OS_UNIX
    // A file-size limit makes the write fail the way a full disk does.
    ScriptedHttpServer server;
    const qint64 size = 4 * 1024 * 1024;
    server.route("/f", {S::Send("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(size) + "\r\n\r\n"),
                        S::SendPattern(0, size)});
    QTemporaryDir dir;
    Fixture fixture;
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1024 * 1024;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    fixture.Start(server.base() + QLatin1String("/f"), dir.filePath(QStringLiteral("f")));
    const bool ended = fixture.WaitForEnd();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);
    QVERIFY(ended);
    QCOMPARE(fixture.complete.count(), 0);
    QCOMPARE(fixture.error.count(), 1);
    QCOMPARE(fixture.ErrorText(), QString::fromLocal8Bit(std::strerror(EFBIG)));
    QTest::qWait(150);
    QCOMPARE(fixture.Ended(), 1);
#else
    QSKIP("needs a file-size limit");
#endif
}

void tst_downloadasynch::resume_data()
{
    QTest::addColumn<QByteArray>("before");      // the partial file at the start; null: none
    QTest::addColumn<qint64>("knownSize");       // the size the list knows; 0: unknown
    QTest::addColumn<QList<Script>>("replies");  // one per request, in turn
    QTest::addColumn<QByteArrayList>("ranges");  // the Range of each request; empty: none
    QTest::addColumn<QString>("error");          // empty: completes with the whole file

    const QByteArray whole("0123456789");
    const QByteArray head206("HTTP/1.1 206 Partial Content\r\n");
    const Script full{S::Send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n" + whole)};
    const QString noError;
    const QByteArrayList fromFour{"bytes=4-"};
    const QByteArrayList fromFourThenWhole{"bytes=4-", ""};

    QTest::newRow("206 from the offset appends")
        << QByteArray("0123") << qint64(10)
        << QList<Script>{{S::Send(head206 + "Content-Range: bytes 4-9/10\r\nContent-Length: 6\r\n\r\n456789")}}
        << fromFour << noError;
    QTest::newRow("206 chunked appends")
        << QByteArray("0123") << qint64(10)
        << QList<Script>{{S::Send(head206 + "Content-Range: bytes 4-9/10\r\nTransfer-Encoding: chunked\r\n\r\n"
                                            "6\r\n456789\r\n0\r\n\r\n")}}
        << fromFour << noError;
    QTest::newRow("206 with an unknown size takes its total")
        << QByteArray("0123") << qint64(0)
        << QList<Script>{{S::Send(head206 + "Content-Range: bytes 4-9/10\r\nContent-Length: 6\r\n\r\n456789")}}
        << fromFour << noError;
    QTest::newRow("200 empties the partial file and starts from 0")
        << QByteArray("xxxx") << qint64(10) << QList<Script>{full} << fromFour << noError;
    QTest::newRow("416 starts again without a range")
        << QByteArray("0123") << qint64(10)
        << QList<Script>{{S::Send("HTTP/1.1 416 Range Not Satisfiable\r\nContent-Range: bytes */10\r\n"
                                  "Content-Length: 0\r\n\r\n")},
                         full}
        << fromFourThenWhole << noError;
    QTest::newRow("206 from another offset starts again")
        << QByteArray("0123") << qint64(10)
        << QList<Script>{{S::Send(head206 + "Content-Range: bytes 0-9/10\r\nContent-Length: 10\r\n\r\n" + whole)},
                         full}
        << fromFourThenWhole << noError;
    QTest::newRow("206 of another total starts again")
        << QByteArray("0123") << qint64(10)
        << QList<Script>{{S::Send(head206 + "Content-Range: bytes 4-19/20\r\nContent-Length: 16\r\n\r\n")}, full}
        << fromFourThenWhole << noError;
    QTest::newRow("206 whose length is not the rest starts again")
        << QByteArray("0123") << qint64(10)
        << QList<Script>{{S::Send(head206 + "Content-Range: bytes 4-9/10\r\nContent-Length: 3\r\n\r\n456")}, full}
        << fromFourThenWhole << noError;
    QTest::newRow("206 without a Content-Range starts again")
        << QByteArray("0123") << qint64(10)
        << QList<Script>{{S::Send(head206 + "Content-Length: 6\r\n\r\n456789")}, full} << fromFourThenWhole
        << noError;
    QTest::newRow("a partial file as large as the whole is fetched again")
        << QByteArray("0123456789") << qint64(10) << QList<Script>{full} << QByteArrayList{""} << noError;
    QTest::newRow("an empty partial file asks for no range")
        << QByteArray("") << qint64(10) << QList<Script>{full} << QByteArrayList{""} << noError;
    QTest::newRow("a whole body of another size than the list knows is an error")
        << QByteArray() << qint64(12) << QList<Script>{full} << QByteArrayList{""}
        << QStringLiteral("Connection Error: received 10 bytes, expected 12 bytes");
}

void tst_downloadasynch::resume()
{
    QFETCH(QByteArray, before);
    QFETCH(qint64, knownSize);
    QFETCH(QList<Script>, replies);
    QFETCH(QString, error);
    ScriptedHttpServer server;
    server.route("/f", replies);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.bin"));
    const QString partial = path + QLatin1String(".part");
    QVERIFY(WriteFile(partial, before));
    Fixture fixture;
    fixture.downloader.setFileSize(knownSize);
    fixture.StartWithPartial(server.base() + QLatin1String("/f"), path, partial);
    QVERIFY(fixture.WaitForEnd());
    QTEST(Ranges(server), "ranges");
    if (!error.isEmpty()) {
        QCOMPARE(fixture.ErrorText(), error);
        QCOMPARE(Files(dir.path()), QStringList{QStringLiteral("f.bin.part")});
        return;
    }
    QCOMPARE(fixture.complete.count(), 1);
    QCOMPARE(fixture.downloader.FinalFilePath(), path);
    QCOMPARE(Files(dir.path()), QStringList{QStringLiteral("f.bin")});
    QCOMPARE(ReadFile(path), QByteArray("0123456789"));
    // The last report before the end counts the whole file.
    const QList<QVariant> last = fixture.progress.last();
    QCOMPARE(last.at(1).toDouble(), 100.0);
    QCOMPARE(last.at(3).toLongLong(), qint64(10));
    QCOMPARE(last.at(4).toLongLong(), qint64(0));
}

void tst_downloadasynch::partialFileRemovedDuringTheTransfer()
{
    ScriptedHttpServer server;
    server.route("/f", {S::Send("HTTP/1.1 200 OK\r\nContent-Length: 2000\r\n\r\n"), S::SendPattern(0, 1000),
                        S::Pause(300), S::SendPattern(1000, 1000)});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f"));
    Fixture fixture;
    fixture.Start(server.base() + QLatin1String("/f"), path);
    QTRY_COMPARE(QFileInfo(path + QLatin1String(".part")).size(), qint64(1000));
    QVERIFY(QFile::remove(path + QLatin1String(".part")));
    QVERIFY(fixture.WaitForEnd());
    QCOMPARE(fixture.complete.count(), 0);
    QVERIFY2(fixture.ErrorText().contains(QLatin1String("removed")), qPrintable(fixture.ErrorText()));
    QCOMPARE(Files(dir.path()), QStringList());
}

void tst_downloadasynch::https_data()
{
    QTest::addColumn<QString>("leaf");          // the server's certificate
    QTest::addColumn<QByteArray>("before");     // the partial file at the start; null: none
    QTest::addColumn<QList<Script>>("replies"); // one per request, in turn
    QTest::addColumn<QByteArrayList>("ranges"); // the Range of each request; empty: none
    QTest::addColumn<QString>("error");         // empty: completes with the pattern's first 300000 bytes

    const qint64 size = 300000;
    const Script whole{S::Send("HTTP/1.1 200 OK\r\nContent-Length: 300000\r\n\r\n"), S::SendPattern(0, size)};
    const QString problem = QStringLiteral("Connection Error: certificate problem: ");
    QTest::newRow("trusted authority") << "trusted" << QByteArray() << QList<Script>{whole} << QByteArrayList{""}
                                       << QString();
    QTest::newRow("trusted, until the close")
        << "trusted" << QByteArray() << QList<Script>{{S::Send("HTTP/1.0 200 OK\r\n\r\n"), S::SendPattern(0, size),
                                                       S::Close()}}
        << QByteArrayList{""} << QString();
    QTest::newRow("unknown size cut by a reset")
        << "trusted" << QByteArray() << QList<Script>{{S::Send("HTTP/1.0 200 OK\r\n\r\n"), S::SendPattern(0, 5000),
                                                       S::Pause(50), S::Reset()}}
        << QByteArrayList{""} << QStringLiteral("Connection Error: connection reset after 5000 bytes");
    QTest::newRow("resume with a range")
        << "trusted" << S::Pattern(0, 1000)
        << QList<Script>{{S::Send("HTTP/1.1 206 Partial Content\r\nContent-Range: bytes 1000-299999/300000\r\n"
                                  "Content-Length: 299000\r\n\r\n"),
                          S::SendPattern(1000, size - 1000)}}
        << QByteArrayList{"bytes=1000-"} << QString();
    QTest::newRow("authority not trusted")
        << "unknown authority" << QByteArray() << QList<Script>{whole} << QByteArrayList{}
        << problem
               + QLatin1String("The issuer certificate of a locally looked up certificate could not be found; "
                               "No certificates could be verified");
    QTest::newRow("self-signed") << "self-signed" << QByteArray() << QList<Script>{whole} << QByteArrayList{}
                                 << problem + QLatin1String("The certificate is self-signed, and untrusted");
    QTest::newRow("expired") << "expired" << QByteArray() << QList<Script>{whole} << QByteArrayList{}
                             << problem + QLatin1String("The certificate has expired");
    QTest::newRow("wrong host")
        << "wrong host" << QByteArray() << QList<Script>{whole} << QByteArrayList{}
        << problem + QLatin1String("The host name did not match any of the valid hosts for this certificate");
}

void tst_downloadasynch::https()
{
    QFETCH(QString, leaf);
    QFETCH(QByteArray, before);
    QFETCH(QList<Script>, replies);
    QFETCH(QString, error);
    ScriptedHttpServer server(ServerTls(leaf));
    server.route("/f", replies);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.bin"));
    const QString partial = path + QLatin1String(".part");
    QVERIFY(WriteFile(partial, before));
    Fixture fixture;
    fixture.StartWithPartial(server.base() + QLatin1String("/f"), path, partial);
    QVERIFY(fixture.WaitForEnd());
    QTEST(Ranges(server), "ranges");
    if (!error.isEmpty()) {
        QCOMPARE(fixture.ErrorText(), error);
        // Nothing was asked for over a connection that was not trusted.
        QCOMPARE(Files(dir.path()),
                 server.requests.isEmpty() ? QStringList() : QStringList{QStringLiteral("f.bin.part")});
        return;
    }
    QCOMPARE(fixture.complete.count(), 1);
    QCOMPARE(ReadFile(path), S::Pattern(0, 300000));
}

void tst_downloadasynch::directRedirects_data()
{
    QTest::addColumn<bool>("startTls");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("reply"); // "{http}" and "{https}" are the two servers
    QTest::addColumn<QList<QByteArray>>("httpTargets");
    QTest::addColumn<QList<QByteArray>>("httpsTargets");
    QTest::addColumn<QString>("error"); // empty: completes with the payload

    const QList<QByteArray> none;
    const QList<QByteArray> toReal{"/start", "/real"};
    const QList<std::pair<int, QByteArray>> codes{{301, "Moved Permanently"}, {302, "Found"}, {303, "See Other"},
                                                   {307, "Temporary Redirect"}, {308, "Permanent Redirect"}};
    for (const auto &[code, reason] : codes) {
        QTest::addRow("%d is followed", code)
            << false << QByteArray("/start")
            << "HTTP/1.1 " + QByteArray::number(code) + ' ' + reason + "\r\nLocation: real\r\n\r\n" << toReal
            << none << QString();
    }
    QTest::newRow("dot segments resolve against the folder")
        << false << QByteArray("/dir/sub/start") << QByteArray("HTTP/1.1 302 Found\r\nLocation: ../../real\r\n\r\n")
        << QList<QByteArray>{"/dir/sub/start", "/real"} << none << QString();
    QTest::newRow("http to https") << false << QByteArray("/start")
                                   << QByteArray("HTTP/1.1 301 Moved Permanently\r\nLocation: {https}/real\r\n\r\n")
                                   << QList<QByteArray>{"/start"} << QList<QByteArray>{"/real"} << QString();
    QTest::newRow("https to http") << true << QByteArray("/start")
                                   << QByteArray("HTTP/1.1 308 Permanent Redirect\r\nLocation: {http}/real\r\n\r\n")
                                   << QList<QByteArray>{"/real"} << QList<QByteArray>{"/start"} << QString();
    QTest::newRow("https, relative") << true << QByteArray("/start")
                                     << QByteArray("HTTP/1.1 307 Temporary Redirect\r\nLocation: /real\r\n\r\n")
                                     << none << toReal << QString();
    QTest::newRow("another scheme is refused")
        << false << QByteArray("/start") << QByteArray("HTTP/1.1 302 Found\r\nLocation: ftp://127.0.0.1/real\r\n\r\n")
        << QList<QByteArray>{"/start"} << none
        << QStringLiteral("Redirected to an address that is not http or https: ftp://127.0.0.1/real");
    QTest::newRow("an eleventh is refused") << false << QByteArray("/loop") << QByteArray() << QList<QByteArray>(11, "/loop")
                                            << none << QStringLiteral("Connection Error: too many redirects");
}

void tst_downloadasynch::directRedirects()
{
    QFETCH(bool, startTls);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, reply);
    QFETCH(QString, error);
    ScriptedHttpServer plain;
    ScriptedHttpServer secure(ServerTls(QStringLiteral("trusted")));
    const QByteArray payload("the payload");
    const Script ok{S::Send("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(payload.size()) + "\r\n\r\n"
                            + payload)};
    ScriptedHttpServer &first = startTls ? secure : plain;
    plain.route("/real", ok);
    secure.route("/real", ok);
    plain.route("/loop", {S::Send("HTTP/1.1 308 Permanent Redirect\r\nLocation: /loop\r\n\r\n")});
    if (!reply.isEmpty())
        first.route(start, {S::Send(reply.replace("{http}", plain.base().toLatin1())
                                        .replace("{https}", secure.base().toLatin1()))});

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.bin"));
    Fixture fixture;
    fixture.downloader.setDirectLink(true);
    fixture.Start(first.base() + QString::fromLatin1(start), path);
    QVERIFY(fixture.WaitForEnd());
    QTEST(plain.targets, "httpTargets");
    QTEST(secure.targets, "httpsTargets");
    for (const ScriptedHttpServer *server : {&plain, &secure}) {
        for (const QByteArray &request : std::as_const(server->requests))
            QVERIFY(request.contains("\r\nHost: " + server->authority().toLatin1() + "\r\n"));
    }
    if (error.isEmpty()) {
        QCOMPARE(fixture.complete.count(), 1);
        QCOMPARE(ReadFile(path), payload);
    } else {
        QCOMPARE(fixture.ErrorText(), error);
        QCOMPARE(Files(dir.path()), QStringList());
    }
}

QTEST_GUILESS_MAIN(tst_downloadasynch)
#include "tst_downloadasynch.moc"
