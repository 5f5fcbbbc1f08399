#include "CertificateAuthority.h"
#include "EmulatedContent.h"
#include "FileBehaviour.h"
#include "GlobMatch.h"
#include "ServiceEmulator.h"

#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTest>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// One raw request to the emulator, read as it arrives: every read is kept, so a
// test sees how the answer was cut.
class RawExchange final
{
public:
    // `fields`: further request header lines, each ended by CR LF. With an
    // authority to trust the request goes over TLS, to 127.0.0.1.
    RawExchange(quint16 port, const QByteArray &target, const QByteArray &fields = {},
                const QByteArray &method = "GET", const QSslCertificate &authority = QSslCertificate())
    {
        const auto request = [this, target, fields, method] {
            m_socket.write(method + ' ' + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept: */*\r\n" + fields
                           + "\r\n");
        };
        QObject::connect(&m_socket, &QSslSocket::sslErrors, &m_socket,
                         [this](const QList<QSslError> &errors) { sslErrors += errors; });
        if (!authority.isNull()) {
            QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
            configuration.setCaCertificates({authority});
            m_socket.setSslConfiguration(configuration);
            QObject::connect(&m_socket, &QSslSocket::encrypted, &m_socket, request);
        } else {
            QObject::connect(&m_socket, &QTcpSocket::connected, &m_socket, request);
        }
        QObject::connect(&m_socket, &QTcpSocket::readyRead, &m_socket, [this] {
            const QByteArray bytes = m_readLimit < 0 ? m_socket.readAll() : m_socket.read(m_readLimit - data.size());
            data += bytes;
            reads.append(bytes.size());
            if (m_readLimit >= 0 && data.size() >= m_readLimit)
                m_socket.abort();
        });
        QObject::connect(&m_socket, &QTcpSocket::disconnected, &m_socket, [this] { closed = true; });
        if (!authority.isNull())
            m_socket.connectToHostEncrypted(QStringLiteral("127.0.0.1"), port);
        else
            m_socket.connectToHost(QHostAddress::LocalHost, port);
    }
    // Stops reading (and drops the connection) after `bytes` bytes.
    void SetReadLimit(qint64 bytes) { m_readLimit = bytes; }

    QByteArray Head() const { return data.left(data.indexOf("\r\n\r\n") + 4); }
    QByteArray Body() const { return data.mid(data.indexOf("\r\n\r\n") + 4); }
    QByteArray Header(const QByteArray &name) const
    {
        for (const QByteArray &line : Head().split('\n')) {
            if (line.toLower().startsWith(name.toLower() + ':'))
                return line.mid(name.size() + 1).trimmed();
        }
        return {};
    }

    QByteArray data;
    QList<qsizetype> reads;
    bool closed = false;
    QList<QSslError> sslErrors;

private:
    QSslSocket m_socket;
    qint64 m_readLimit = -1; // none
};

// One request on a plain socket. QTcpSocket reads a reset as an orderly end of
// the stream; this client tells them apart.
class PlainExchange final
{
    Q_DISABLE_COPY_MOVE(PlainExchange)

public:
    PlainExchange(quint16 port, const QByteArray &request)
        : m_descriptor(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        // The kernel completes a loopback handshake without the emulator's help.
        m_connected = ::connect(m_descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0
            && ::send(m_descriptor, request.constData(), size_t(request.size()), 0) == request.size()
            && ::fcntl(m_descriptor, F_SETFL, O_NONBLOCK) == 0;
    }
    ~PlainExchange() { ::close(m_descriptor); }

    bool Connected() const { return m_connected; }
    // Reads what has arrived; true once the stream has ended.
    bool ReadToEnd()
    {
        char buffer[65536];
        while (endError < 0) {
            const ssize_t got = ::recv(m_descriptor, buffer, sizeof buffer, 0);
            if (got > 0)
                data.append(buffer, got);
            else if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return false;
            else
                endError = got == 0 ? 0 : errno;
        }
        return true;
    }

    QByteArray data;
    int endError = -1; // once ended: 0 for an orderly close, else the errno of the last read

private:
    int m_descriptor;
    bool m_connected = false;
};

QByteArray Dechunk(QByteArray chunked)
{
    QByteArray body;
    while (true) {
        const qsizetype lineEnd = chunked.indexOf("\r\n");
        bool ok = false;
        const qsizetype size = chunked.left(lineEnd).toLongLong(&ok, 16);
        if (lineEnd < 0 || !ok)
            return "bad chunk framing";
        if (size == 0)
            return chunked.mid(lineEnd + 2) == "\r\n" ? body : QByteArray("bad chunk trailer");
        body += chunked.mid(lineEnd + 2, size);
        chunked.remove(0, lineEnd + 2 + size + 2);
    }
}

QString Describe(const std::optional<FileBehaviour> &file)
{
    if (!file)
        return QStringLiteral("unknown");
    QStringList parts = {QLatin1String("size ") + QString::number(file->size)};
    if (file->checkStatus != 1)
        parts << QLatin1String("code ") + QString::number(file->checkStatus);
    if (file->check != FileBehaviour::CheckAnswer::Normal)
        parts << QLatin1String("check ") + QString::number(int(file->check));
    if (file->waitBeforeTicket >= 0)
        parts << QLatin1String("wait ") + QString::number(file->waitBeforeTicket);
    if (file->ticketWait != 0)
        parts << QLatin1String("dl ") + QString::number(file->ticketWait);
    if (file->ticket != FileBehaviour::TicketAnswer::Normal)
        parts << QLatin1String("ticket ") + QString::number(int(file->ticket));
    if (file->checkDelayMs || file->ticketDelayMs || file->pageDelayMs)
        parts << QStringLiteral("slow %1/%2/%3").arg(file->checkDelayMs).arg(file->ticketDelayMs).arg(file->pageDelayMs);
    if (file->apiWithoutLength)
        parts << QStringLiteral("nolen");
    if (file->redirect)
        parts << QLatin1String("r") + QString::number(file->redirect) + (file->redirectWww ? "www" : "");
    if (file->splitHeader)
        parts << QStringLiteral("split");
    if (file->chunked)
        parts << QStringLiteral("chunked");
    if (file->unsized)
        parts << QStringLiteral("unsized");
    if (file->closeAtPercent >= 0)
        parts << QLatin1String("close ") + QString::number(file->closeAtPercent);
    if (file->stallAtPercent >= 0)
        parts << QLatin1String("stall ") + QString::number(file->stallAtPercent);
    if (file->resetAtPercent >= 0)
        parts << QLatin1String("reset ") + QString::number(file->resetAtPercent);
    if (file->bytesPerSecond)
        parts << QLatin1String("rate ") + QString::number(file->bytesPerSecond);
    if (file->ignoresRange)
        parts << QStringLiteral("norange");
    if (file->refusesRange)
        parts << QStringLiteral("range416");
    if (file->redirectScheme != FileBehaviour::RedirectScheme::Same)
        parts << QLatin1String(file->redirectScheme == FileBehaviour::RedirectScheme::ToHttps ? "tohttps" : "tohttp");
    if (file->headStatus)
        parts << QLatin1String("head ") + QString::number(file->headStatus);
    if (file->goneStatus)
        parts << QLatin1String("gone ") + QString::number(file->goneStatus);
    if (!file->contentDisposition.isEmpty())
        parts << QString::fromLatin1(file->contentDisposition);
    return parts.join(QLatin1String(", "));
}

} // namespace

class tst_ServiceEmulator final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void fileIdSpellsBehaviour_data();
    void fileIdSpellsBehaviour();
    void contentIsAFunctionOfIdAndOffset();
    void apiReplies_data();
    void apiReplies();
    void waitSentenceComesBeforeTheTicket();
    void fileBodies_data();
    void fileBodies();
    void rangedBodies_data();
    void rangedBodies();
    void resetEndsTheConnectionHard_data();
    void resetEndsTheConnectionHard();
    void bodyBytesAreCounted();
    void headerArrivesInPieces();
    void stallKeepsConnectionOpen();
    void bodyBeyondFourGiBIsStreamed();
    void routesComeFirstAndRequestsAreLogged();
    void directFiles_data();
    void directFiles();
    void programPrintsItsPort();

private:
    ServiceEmulator m_emulator;
    CertificateAuthority m_authority{QStringLiteral("Emulator Test Authority")};
};

void tst_ServiceEmulator::initTestCase()
{
    QVERIFY(m_emulator.Listen());
    CertificateAuthority::Subject loopback;
    loopback.addresses = {QHostAddress(QHostAddress::LocalHost)};
    QVERIFY(m_emulator.ListenTls(CertificateAuthority::ServerConfiguration(m_authority.Issue(loopback))) > 0);
}

void tst_ServiceEmulator::fileIdSpellsBehaviour_data()
{
    QTest::addColumn<QString>("fileId");
    QTest::addColumn<QString>("behaviour");

    QTest::newRow("seed only is a plain file") << "123456" << "size 1024";
    QTest::newRow("size with units") << "1_s5m" << "size 5242880";
    QTest::newRow("size of several GiB") << "1_s6g" << "size 6442450944";
    QTest::newRow("negative check code") << "1_c-1" << "size 1024, code -1";
    QTest::newRow("check answers") << "checkbad_sizenan" << "size 1024, check 5";
    QTest::newRow("ticket waits and answers") << "2_wait30_dl3_dlnan" << "size 1024, wait 30, dl 3, ticket 2";
    QTest::newRow("slow replies") << "3_slowcheck1_slowdl2_slowpage3_nolen" << "size 1024, slow 1/2/3, nolen";
    QTest::newRow("transfer faults") << "4_r303_www_split_chunked_close50_rate64"
                                     << "size 1024, r303www, split, chunked, close 50, rate 65536";
    QTest::newRow("stall and unsized") << "5_stall90_unsized" << "size 1024, unsized, stall 90";
    QTest::newRow("range answers and reset") << "6_range416_norange_reset40"
                                             << "size 1024, reset 40, norange, range416";
    QTest::newRow("reset above 100 percent") << "6_reset101" << "unknown";
    QTest::newRow("unknown word") << "5_fast" << "unknown";
    QTest::newRow("unit on another word") << "5_dl3k" << "unknown";
    QTest::newRow("direct redirects and HEAD") << "7_r307_tohttps_head501"
                                               << "size 1024, r307, tohttps, head 501";
    QTest::newRow("permanent redirects, HEAD closed") << "7_r301_r308_tohttp_headclose"
                                                      << "size 1024, r308, tohttp, head -1";
    QTest::newRow("gone and a disposition") << "8_gone410_cdboth"
                                            << "size 1024, gone 410, attachment; filename=\"plain.bin\"; "
                                               "filename*=UTF-8''%C3%BCber.bin";
    QTest::newRow("redirect code the service never sends") << "5_r304" << "unknown";
    QTest::newRow("HEAD status other than 405 or 501") << "5_head404" << "unknown";
    QTest::newRow("gone status other than 404 or 410") << "5_gone500" << "unknown";
    QTest::newRow("unknown disposition") << "5_cdnone" << "unknown";
    QTest::newRow("percentage above 100") << "5_close150" << "unknown";
    QTest::newRow("negative wait") << "5_dl-3" << "unknown";
    QTest::newRow("empty id") << "" << "unknown";
}

void tst_ServiceEmulator::fileIdSpellsBehaviour()
{
    QFETCH(QString, fileId);
    QTEST(Describe(FileBehaviour::FromFileId(fileId)), "behaviour");
}

void tst_ServiceEmulator::contentIsAFunctionOfIdAndOffset()
{
    const QByteArray whole = EmulatedContent::Bytes(QStringLiteral("7"), 0, 1000);
    QCOMPARE(whole.size(), 1000);
    QCOMPARE(EmulatedContent::Bytes(QStringLiteral("7"), 13, 501), whole.mid(13, 501));
    QCOMPARE(EmulatedContent::Bytes(QStringLiteral("7"), 0, 1000), whole);
    QVERIFY(EmulatedContent::Bytes(QStringLiteral("8"), 0, 1000) != whole);
    // Far offsets are as cheap as near ones and still differ from the start.
    QVERIFY(EmulatedContent::Bytes(QStringLiteral("7"), qint64(5) << 30, 1000) != whole);
}

void tst_ServiceEmulator::apiReplies_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("body"); // "{host}", "{auth:ID}", "{content:ID}"; "*" for any text

    QTest::newRow("check reply has seven fields")
        << QByteArray("/cgi-bin/rsapi.cgi?sub=checkfiles&files=70_s2k_c51&filenames=a%20b.zip") << 200
        << "70_s2k_c51,a b.zip,2048,*,51,l*";
    QTest::newRow("blanks sent unescaped stay in the target")
        << QByteArray("/cgi-bin/rsapi.cgi?sub=checkfiles&files=70&filenames=a b c.zip") << 200 << "70,a b c.zip,1024,*";
    QTest::newRow("check without a name uses the service's")
        << QByteArray("/cgi-bin/rsapi.cgi?sub=checkfiles&files=71&filenames=") << 200 << "71,file-71.bin,1024,*";
    QTest::newRow("check of several files answers a line each")
        << QByteArray("/cgi-bin/rsapi.cgi?sub=checkfiles&files=72,nosuch&filenames=x,y") << 200
        << "72,x,1024,*\nnosuch,y,0,0,0,0,0\n";
    QTest::newRow("demo catalogue file has its name")
        << QByteArray("/cgi-bin/rsapi.cgi?sub=checkfiles&files=3000001_s48k_rate256&filenames=") << 200
        << "3000001_s48k_rate256,meeting-notes-march.pdf,49152,*";
    QTest::newRow("check without files is an error line")
        << QByteArray("/cgi-bin/rsapi.cgi?sub=checkfiles&files=&filenames=") << 200 << "ERROR: No files given.\n";
    QTest::newRow("ticket names the emulator as download host")
        << QByteArray("/cgi-bin/rsapi.cgi?sub=download&fileid=73_dl9&filename=a.zip") << 200
        << "DL:{host},{auth:73_dl9},9,*";
    QTest::newRow("malformed ticket has three fields")
        << QByteArray("/cgi-bin/rsapi.cgi?sub=download&fileid=74_dlbad&filename=a.zip") << 200
        << "DL:{host},{auth:74_dlbad},0\n";
    QTest::newRow("premium request gets the body")
        << QByteArray("/cgi-bin/rsapi.cgi?sub=download&fileid=75_s10&filename=a.zip&login=u&password=p") << 200
        << "{content:75_s10}";
    QTest::newRow("final address gets the body")
        << QByteArray("/cgi-bin/rsapi.cgi?sub=download_v1&fileid=76_s10&filename=a.zip&dlauth={auth:76_s10}") << 200
        << "{content:76_s10}";
    QTest::newRow("final address with a wrong ticket is refused")
        << QByteArray("/cgi-bin/rsapi.cgi?sub=download_v1&fileid=76_s10&filename=a.zip&dlauth=WRONG") << 403
        << "ERROR: Download ticket not valid.\n";
    QTest::newRow("redirect 302 points at the file") << QByteArray(
        "/cgi-bin/rsapi.cgi?sub=download_v1&fileid=77_r302&filename=a%20b.zip&dlauth={auth:77_r302}")
                                                     << 302 << "";
    QTest::newRow("unknown subroutine") << QByteArray("/cgi-bin/rsapi.cgi?sub=nothing") << 200
                                        << "ERROR: Unknown subroutine.\n";
    QTest::newRow("file page") << QByteArray("/files/78/a.zip") << 200 << "<html><head><title>a.zip</title>*";
    QTest::newRow("page of an unknown file") << QByteArray("/files/no_such_word/a.zip") << 404 << "<html>*";
    QTest::newRow("unknown path") << QByteArray("/robots.txt") << 404 << "<html>*";
}

void tst_ServiceEmulator::apiReplies()
{
    QFETCH(QByteArray, target);
    QFETCH(int, status);
    QFETCH(QString, body);
    const auto expand = [this](QString text) {
        text.replace(QLatin1String("{host}"), m_emulator.Host());
        for (const QString &key : {QStringLiteral("{auth:"), QStringLiteral("{content:")}) {
            const qsizetype at = text.indexOf(key);
            if (at < 0)
                continue;
            const qsizetype end = text.indexOf(QLatin1Char('}'), at);
            const QString id = text.mid(at + key.size(), end - at - key.size());
            const QString value = key == QLatin1String("{auth:")
                ? ServiceEmulator::DownloadAuth(id)
                : QString::fromLatin1(EmulatedContent::Bytes(id, 0, FileBehaviour::FromFileId(id)->size));
            text.replace(at, end - at + 1, value);
        }
        return text;
    };
    RawExchange exchange(m_emulator.Port(), expand(QString::fromLatin1(target)).toLatin1());
    QTRY_VERIFY(exchange.closed);
    QCOMPARE(exchange.data.mid(9, 3).toInt(), status);
    const QString got = QString::fromLatin1(exchange.Body());
    QVERIFY2(GlobMatch(got, expand(body)), qPrintable(got));
    if (!exchange.Header("Content-Length").isEmpty())
        QCOMPARE(exchange.Header("Content-Length").toLongLong(), qint64(exchange.Body().size()));
    if (status == 302) {
        QVERIFY(exchange.data.startsWith("HTTP/1.1 302 Found\r\n"));
        QCOMPARE(exchange.Header("Location"),
                 ("http://" + m_emulator.Host() + "/get/77_r302/a%20b.zip").toLatin1());
    }
}

void tst_ServiceEmulator::waitSentenceComesBeforeTheTicket()
{
    const QByteArray target = "/cgi-bin/rsapi.cgi?sub=download&fileid=79_wait12_dl2&filename=a.zip";
    RawExchange first(m_emulator.Port(), target);
    QTRY_VERIFY(first.closed);
    QCOMPARE(first.Body(), QByteArray("ERROR: You need to wait 12 seconds until you can download another file.\n"));
    RawExchange second(m_emulator.Port(), target);
    QTRY_VERIFY(second.closed);
    QVERIFY(second.Body().startsWith("DL:" + m_emulator.Host().toLatin1() + ','));
}

void tst_ServiceEmulator::fileBodies_data()
{
    QTest::addColumn<QString>("fileId");
    QTest::addColumn<QByteArray>("contentLength"); // empty: none sent
    QTest::addColumn<qint64>("bodyBytes");

    QTest::newRow("sized body") << "80_s300000" << QByteArray("300000") << qint64(300000);
    QTest::newRow("empty body") << "81_s0" << QByteArray("0") << qint64(0);
    QTest::newRow("chunked body") << "82_s300000_chunked" << QByteArray() << qint64(300000);
    QTest::newRow("unsized body ends at close") << "83_s300000_unsized" << QByteArray() << qint64(300000);
    QTest::newRow("close at 50 percent") << "84_s300000_close50" << QByteArray("300000") << qint64(150000);
    QTest::newRow("paced body") << "85_s30000_rate300" << QByteArray("30000") << qint64(30000);
    QTest::newRow("redirect target serves the file") << "86_s5000_r303" << QByteArray("5000") << qint64(5000);
}

void tst_ServiceEmulator::fileBodies()
{
    QFETCH(QString, fileId);
    QFETCH(QByteArray, contentLength);
    QFETCH(qint64, bodyBytes);
    RawExchange exchange(m_emulator.Port(), "/get/" + fileId.toLatin1() + "/f.bin");
    QTRY_VERIFY_WITH_TIMEOUT(exchange.closed, 10000);
    QVERIFY(exchange.data.startsWith("HTTP/1.1 200 OK\r\n"));
    QCOMPARE(exchange.Header("Content-Type"), QByteArray("application/octet-stream"));
    QCOMPARE(exchange.Header("Content-Length"), contentLength);
    const bool chunked = exchange.Header("Transfer-Encoding") == "chunked";
    QCOMPARE(chunked, fileId.contains(QLatin1String("chunked")));
    const QByteArray body = chunked ? Dechunk(exchange.Body()) : exchange.Body();
    QCOMPARE(body.size(), bodyBytes);
    QVERIFY(body == EmulatedContent::Bytes(fileId, 0, bodyBytes));
}

void tst_ServiceEmulator::rangedBodies_data()
{
    QTest::addColumn<QString>("fileId");
    QTest::addColumn<QString>("route"); // "get", "final" (download_v1 with its ticket) or "premium"
    QTest::addColumn<QByteArray>("range");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("contentRange"); // empty: none sent
    QTest::addColumn<QByteArray>("contentLength"); // empty: none sent
    QTest::addColumn<qint64>("first");             // file offset of the first body byte
    QTest::addColumn<qint64>("bodyBytes");

    const QString plain = QStringLiteral("100_s300000");
    QTest::newRow("open range is the rest of the file") << plain << "get" << QByteArray("bytes=100000-") << 206
                                                         << QByteArray("bytes 100000-299999/300000")
                                                         << QByteArray("200000") << qint64(100000) << qint64(200000);
    QTest::newRow("range from the start") << plain << "get" << QByteArray("bytes=0-") << 206
                                          << QByteArray("bytes 0-299999/300000") << QByteArray("300000") << qint64(0)
                                          << qint64(300000);
    QTest::newRow("closed range") << plain << "get" << QByteArray("bytes=10-19") << 206
                                  << QByteArray("bytes 10-19/300000") << QByteArray("10") << qint64(10) << qint64(10);
    QTest::newRow("range past the end stops at the last byte")
        << plain << "get" << QByteArray("bytes=299990-999999") << 206 << QByteArray("bytes 299990-299999/300000")
        << QByteArray("10") << qint64(299990) << qint64(10);
    QTest::newRow("start at the size") << plain << "get" << QByteArray("bytes=300000-") << 416
                                       << QByteArray("bytes */300000") << QByteArray("0") << qint64(0) << qint64(0);
    QTest::newRow("empty file has no byte to range over")
        << "101_s0" << "get" << QByteArray("bytes=0-") << 416 << QByteArray("bytes */0") << QByteArray("0") << qint64(0)
        << qint64(0);
    QTest::newRow("range beyond 4 GiB") << "102_s5g" << "get" << QByteArray("bytes=5368709110-") << 206
                                        << QByteArray("bytes 5368709110-5368709119/5368709120") << QByteArray("10")
                                        << qint64(5368709110LL) << qint64(10);
    for (const char *form : {"bytes=-500", "bytes=0-1,5-6", "bytes=9-5", "bytes=+5-", "items=5-"})
        QTest::addRow("form \"%s\" is ignored", form) << plain << "get" << QByteArray(form) << 200 << QByteArray()
                                                      << QByteArray("300000") << qint64(0) << qint64(300000);

    QTest::newRow("chunked range") << "103_s300000_chunked" << "get" << QByteArray("bytes=1000-") << 206
                                   << QByteArray("bytes 1000-299999/300000") << QByteArray() << qint64(1000)
                                   << qint64(299000);
    QTest::newRow("unsized range ends at the close")
        << "104_s300000_unsized" << "get" << QByteArray("bytes=1000-") << 206 << QByteArray("bytes 1000-299999/300000")
        << QByteArray() << qint64(1000) << qint64(299000);
    QTest::newRow("split head carries the range") << "105_s5000_split" << "get" << QByteArray("bytes=4000-") << 206
                                                  << QByteArray("bytes 4000-4999/5000") << QByteArray("1000")
                                                  << qint64(4000) << qint64(1000);
    QTest::newRow("paced range") << "106_s30000_rate300" << "get" << QByteArray("bytes=20000-") << 206
                                 << QByteArray("bytes 20000-29999/30000") << QByteArray("10000") << qint64(20000)
                                 << qint64(10000);

    QTest::newRow("norange answers with the whole file")
        << "107_s300000_norange" << "get" << QByteArray("bytes=100000-") << 200 << QByteArray() << QByteArray("300000")
        << qint64(0) << qint64(300000);
    QTest::newRow("range416 refuses a range") << "108_s300000_range416" << "get" << QByteArray("bytes=0-") << 416
                                              << QByteArray("bytes */300000") << QByteArray("0") << qint64(0)
                                              << qint64(0);
    QTest::newRow("range416 serves a request without range")
        << "108_s300000_range416" << "get" << QByteArray() << 200 << QByteArray() << QByteArray("300000") << qint64(0)
        << qint64(300000);

    // The cut sits at a share of the whole file, whatever part is asked for.
    const QString cut = QStringLiteral("109_s300000_close50");
    QTest::newRow("range before the cut stops there") << cut << "get" << QByteArray("bytes=100000-") << 206
                                                      << QByteArray("bytes 100000-299999/300000")
                                                      << QByteArray("200000") << qint64(100000) << qint64(50000);
    QTest::newRow("range from the cut runs to the end") << cut << "get" << QByteArray("bytes=150000-") << 206
                                                        << QByteArray("bytes 150000-299999/300000")
                                                        << QByteArray("150000") << qint64(150000) << qint64(150000);
    QTest::newRow("range ending before the cut is whole") << cut << "get" << QByteArray("bytes=0-99") << 206
                                                          << QByteArray("bytes 0-99/300000") << QByteArray("100")
                                                          << qint64(0) << qint64(100);
    QTest::newRow("norange file is cut on every request")
        << "110_s300000_norange_close50" << "get" << QByteArray("bytes=150000-") << 200 << QByteArray()
        << QByteArray("300000") << qint64(0) << qint64(150000);

    QTest::newRow("redirect answers without the range")
        << "111_s5000_r303" << "final" << QByteArray("bytes=4000-") << 303 << QByteArray() << QByteArray("0")
        << qint64(0) << qint64(0);
    QTest::newRow("redirect target serves the range")
        << "111_s5000_r303" << "get" << QByteArray("bytes=4000-") << 206 << QByteArray("bytes 4000-4999/5000")
        << QByteArray("1000") << qint64(4000) << qint64(1000);
    QTest::newRow("final address serves the range")
        << "112_s5000" << "final" << QByteArray("bytes=4000-") << 206 << QByteArray("bytes 4000-4999/5000")
        << QByteArray("1000") << qint64(4000) << qint64(1000);
    QTest::newRow("premium request serves the range")
        << "112_s5000" << "premium" << QByteArray("bytes=4000-") << 206 << QByteArray("bytes 4000-4999/5000")
        << QByteArray("1000") << qint64(4000) << qint64(1000);
}

void tst_ServiceEmulator::rangedBodies()
{
    QFETCH(QString, fileId);
    QFETCH(QString, route);
    QFETCH(QByteArray, range);
    QFETCH(int, status);
    QFETCH(qint64, first);
    QFETCH(qint64, bodyBytes);
    const QByteArray id = fileId.toLatin1();
    const QByteArray target = route == QLatin1String("get")
        ? "/get/" + id + "/f.bin"
        : route == QLatin1String("final")
        ? "/cgi-bin/rsapi.cgi?sub=download_v1&fileid=" + id + "&filename=f.bin&dlauth="
            + ServiceEmulator::DownloadAuth(fileId).toLatin1()
        : "/cgi-bin/rsapi.cgi?sub=download&fileid=" + id + "&filename=f.bin&login=u&password=p";
    RawExchange exchange(m_emulator.Port(), target, range.isEmpty() ? QByteArray() : "Range: " + range + "\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(exchange.closed, 10000);
    QCOMPARE(exchange.data.mid(9, 3).toInt(), status);
    QTEST(exchange.Header("Content-Range"), "contentRange");
    QTEST(exchange.Header("Content-Length"), "contentLength");
    const bool chunked = exchange.Header("Transfer-Encoding") == "chunked";
    const QByteArray body = chunked ? Dechunk(exchange.Body()) : exchange.Body();
    QCOMPARE(body.size(), bodyBytes);
    QVERIFY(body == EmulatedContent::Bytes(fileId, first, bodyBytes));
}

void tst_ServiceEmulator::resetEndsTheConnectionHard_data()
{
    QTest::addColumn<QString>("fileId");
    QTest::addColumn<QByteArray>("range");
    QTest::addColumn<bool>("reset");
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("bodyBytes");

    QTest::newRow("reset cuts an unsized body") << "120_s300000_unsized_reset50" << QByteArray() << true << qint64(0)
                                                << qint64(150000);
    QTest::newRow("reset cuts a sized body") << "121_s300000_reset30" << QByteArray() << true << qint64(0)
                                             << qint64(90000);
    QTest::newRow("reset before any body byte") << "122_s300000_unsized_reset0" << QByteArray() << true << qint64(0)
                                                << qint64(0);
    // Megabytes still in the kernel's buffers when the cut comes must arrive first.
    QTest::newRow("reset after a large body") << "123_s16m_unsized_reset50" << QByteArray() << true << qint64(0)
                                              << qint64(8 << 20);
    QTest::newRow("close is an orderly end") << "124_s300000_unsized_close50" << QByteArray() << false << qint64(0)
                                             << qint64(150000);
    QTest::newRow("range from the reset runs to the end")
        << "120_s300000_unsized_reset50" << QByteArray("bytes=150000-") << false << qint64(150000) << qint64(150000);
}

void tst_ServiceEmulator::resetEndsTheConnectionHard()
{
    QFETCH(QString, fileId);
    QFETCH(QByteArray, range);
    QFETCH(bool, reset);
    QFETCH(qint64, first);
    QFETCH(qint64, bodyBytes);
    const QByteArray fields = range.isEmpty() ? QByteArray() : "Range: " + range + "\r\n";
    PlainExchange exchange(m_emulator.Port(), "GET /get/" + fileId.toLatin1() + "/f.bin HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                                  + fields + "\r\n");
    QVERIFY(exchange.Connected());
    QTRY_VERIFY_WITH_TIMEOUT(exchange.ReadToEnd(), 10000);
    QCOMPARE(exchange.endError, reset ? ECONNRESET : 0);
    const QByteArray body = exchange.data.mid(exchange.data.indexOf("\r\n\r\n") + 4);
    QCOMPARE(body.size(), bodyBytes);
    QVERIFY(body == EmulatedContent::Bytes(fileId, first, bodyBytes));
}

void tst_ServiceEmulator::bodyBytesAreCounted()
{
    ServiceEmulator emulator;
    QVERIFY(emulator.Listen());
    const QString plain = QStringLiteral("130_s100000");
    const QString cut = QStringLiteral("131_s100000_close30");
    const QString chunked = QStringLiteral("132_s1000_chunked");
    RawExchange whole(emulator.Port(), "/get/" + plain.toLatin1() + "/f.bin");
    RawExchange rest(emulator.Port(), "/get/" + plain.toLatin1() + "/f.bin", "Range: bytes=60000-\r\n");
    RawExchange cutShort(emulator.Port(), "/get/" + cut.toLatin1() + "/f.bin");
    RawExchange refused(emulator.Port(), "/get/" + cut.toLatin1() + "/f.bin", "Range: bytes=100000-\r\n");
    RawExchange framed(emulator.Port(), "/get/" + chunked.toLatin1() + "/f.bin");
    QTRY_VERIFY(whole.closed && rest.closed && cutShort.closed && refused.closed && framed.closed);

    QCOMPARE(emulator.BodyBytesSent(plain), qint64(100000 + 40000));
    QCOMPARE(emulator.BodyBytesSent(cut), qint64(30000));
    QCOMPARE(emulator.BodyBytesSent(chunked), qint64(1000)); // chunk framing is not body
    QCOMPARE(emulator.BodyBytesSent(QStringLiteral("133")), qint64(0));
    QCOMPARE(emulator.BodyBytesSent(), qint64(171000));
}

void tst_ServiceEmulator::headerArrivesInPieces()
{
    RawExchange exchange(m_emulator.Port(), "/get/87_s2000_split/f.bin");
    QTRY_VERIFY(exchange.closed);
    QVERIFY(exchange.reads.size() >= 3);
    QCOMPARE(exchange.reads.first(), qsizetype(10)); // "HTTP/1.1 2"
    QCOMPARE(exchange.Header("Content-Length"), QByteArray("2000"));
    QVERIFY(exchange.Body() == EmulatedContent::Bytes(QStringLiteral("87_s2000_split"), 0, 2000));
}

void tst_ServiceEmulator::stallKeepsConnectionOpen()
{
    RawExchange exchange(m_emulator.Port(), "/get/88_s100000_stall30/f.bin");
    QTRY_VERIFY(exchange.Body().size() == 30000);
    QTest::qWait(300);
    QVERIFY(!exchange.closed);
    QCOMPARE(exchange.Body().size(), 30000);
    QCOMPARE(exchange.Header("Content-Length"), QByteArray("100000"));
}

void tst_ServiceEmulator::bodyBeyondFourGiBIsStreamed()
{
    RawExchange exchange(m_emulator.Port(), "/get/89_s5g/f.bin");
    exchange.SetReadLimit(4 * 1024 * 1024);
    QTRY_VERIFY_WITH_TIMEOUT(exchange.data.size() == 4 * 1024 * 1024, 10000);
    QCOMPARE(exchange.Header("Content-Length"), QByteArray("5368709120"));
    const QByteArray body = exchange.Body();
    QVERIFY(body == EmulatedContent::Bytes(QStringLiteral("89_s5g"), 0, body.size()));
}

void tst_ServiceEmulator::routesComeFirstAndRequestsAreLogged()
{
    ServiceEmulator emulator;
    QVERIFY(emulator.Listen());
    emulator.AddRoute(QStringLiteral("/files/"), [](const QString &) {
        return ServiceEmulator::HttpResponse(200, "OK", "text/plain", "short prefix");
    });
    emulator.AddRoute(QStringLiteral("//search.html?"), [](const QString &pathAndQuery) {
        return ServiceEmulator::HttpResponse(200, "OK", "text/html", pathAndQuery.toUtf8());
    });
    emulator.AddRoute(QStringLiteral("/files/special"), [](const QString &) {
        return ServiceEmulator::HttpResponse(201, "Created", "text/plain", "long prefix");
    });
    QSignalSpy answered(&emulator, &ServiceEmulator::RequestAnswered);

    RawExchange search(emulator.Port(), "//search.html?q=a%20b&page=2");
    RawExchange special(emulator.Port(), "/files/special/x");
    RawExchange other(emulator.Port(), "/files/90/x");
    QTRY_VERIFY(search.closed && special.closed && other.closed);
    QCOMPARE(search.Body(), QByteArray("//search.html?q=a%20b&page=2"));
    QCOMPARE(special.Body(), QByteArray("long prefix"));
    QCOMPARE(other.Body(), QByteArray("short prefix"));

    QCOMPARE(answered.size(), 3);
    QStringList targets = emulator.Requests();
    targets.sort();
    QCOMPARE(targets, (QStringList{"//search.html?q=a%20b&page=2", "/files/90/x", "/files/special/x"}));
    for (const QList<QVariant> &arguments : answered) {
        QCOMPARE(arguments.at(0).toString(), QStringLiteral("GET"));
        QCOMPARE(arguments.at(2).toInt(), arguments.at(1).toString() == QLatin1String("/files/special/x") ? 201 : 200);
    }
}

void tst_ServiceEmulator::directFiles_data()
{
    QTest::addColumn<bool>("tls");
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("target"); // a file of 3000 bytes unless it says otherwise
    QTest::addColumn<QByteArray>("fields");
    QTest::addColumn<QByteArray>("statusLine"); // empty: closed without a reply
    QTest::addColumn<QByteArray>("header");     // "Name: value" that must be there; empty: none
    QTest::addColumn<qint64>("bodyBytes");      // the body's size: the file's last bytes for 200 and 206

    const QByteArray none;
    QTest::newRow("GET over http") << false << QByteArray("GET") << QByteArray("/direct/90_s3000/a.bin") << none
                                   << QByteArray("HTTP/1.1 200 OK") << QByteArray("Content-Length: 3000")
                                   << qint64(3000);
    QTest::newRow("GET over https") << true << QByteArray("GET") << QByteArray("/direct/90_s3000/a.bin") << none
                                    << QByteArray("HTTP/1.1 200 OK") << QByteArray("Content-Length: 3000")
                                    << qint64(3000);
    QTest::newRow("range over https") << true << QByteArray("GET") << QByteArray("/direct/91_s3000_chunked/a.bin")
                                      << QByteArray("Range: bytes=1000-\r\n") << QByteArray("HTTP/1.1 206 Partial Content")
                                      << QByteArray("Content-Range: bytes 1000-2999/3000") << qint64(2000);
    QTest::newRow("HEAD has the head and no body")
        << false << QByteArray("HEAD") << QByteArray("/direct/92_s3000/a.bin") << none << QByteArray("HTTP/1.1 200 OK")
        << QByteArray("Content-Length: 3000") << qint64(0);
    QTest::newRow("HEAD of a chunked file over https")
        << true << QByteArray("HEAD") << QByteArray("/direct/93_s3000_chunked/a.bin") << none
        << QByteArray("HTTP/1.1 200 OK") << QByteArray("Transfer-Encoding: chunked") << qint64(0);
    QTest::newRow("HEAD is answered on /direct only")
        << false << QByteArray("HEAD") << QByteArray("/get/92_s3000/a.bin") << none
        << QByteArray("HTTP/1.1 405 Method Not Allowed") << none << qint64(0);
    QTest::newRow("head405") << false << QByteArray("HEAD") << QByteArray("/direct/94_s3000_head405/a.bin") << none
                             << QByteArray("HTTP/1.1 405 Method Not Allowed") << none << qint64(0);
    QTest::newRow("head501") << false << QByteArray("HEAD") << QByteArray("/direct/94_s3000_head501/a.bin") << none
                             << QByteArray("HTTP/1.1 501 Not Implemented") << none << qint64(0);
    QTest::newRow("headclose") << false << QByteArray("HEAD") << QByteArray("/direct/94_s3000_headclose/a.bin")
                               << none << none << none << qint64(0);
    QTest::newRow("headclose still serves GET")
        << false << QByteArray("GET") << QByteArray("/direct/94_s3000_headclose/a.bin") << none
        << QByteArray("HTTP/1.1 200 OK") << none << qint64(3000);
    QTest::newRow("gone404") << false << QByteArray("GET") << QByteArray("/direct/95_gone404/a.bin") << none
                             << QByteArray("HTTP/1.1 404 Not Found") << none << qint64(5);
    QTest::newRow("gone410 to HEAD") << true << QByteArray("HEAD") << QByteArray("/direct/95_gone410/a.bin") << none
                                     << QByteArray("HTTP/1.1 410 Gone") << none << qint64(0);
    QTest::newRow("r301 leads to the path without the word")
        << false << QByteArray("GET") << QByteArray("/direct/96_s3000_r301/a%20b.bin") << none
        << QByteArray("HTTP/1.1 301 Moved Permanently") << QByteArray("Location: /direct/96_s3000/a%20b.bin")
        << qint64(0);
    QTest::newRow("r307 tohttps") << false << QByteArray("GET") << QByteArray("/direct/96_r307_tohttps/a.bin") << none
                                  << QByteArray("HTTP/1.1 307 Temporary Redirect")
                                  << QByteArray("Location: https://127.0.0.1:{tls}/direct/96_tohttps/a.bin") << qint64(0);
    QTest::newRow("r308 tohttp, asked with HEAD over https")
        << true << QByteArray("HEAD") << QByteArray("/direct/96_r308_tohttp/a.bin") << none
        << QByteArray("HTTP/1.1 308 Permanent Redirect")
        << QByteArray("Location: http://127.0.0.1:{http}/direct/96_tohttp/a.bin") << qint64(0);
    const QList<std::pair<const char *, QByteArray>> dispositions{
        {"cdquoted", "attachment; filename=\"quoted name.bin\""},
        {"cdtoken", "attachment; filename=token.bin"},
        {"cdutf8", "attachment; filename*=UTF-8''%E2%82%AC%20rates.bin"},
        {"cdboth", "attachment; filename=\"plain.bin\"; filename*=UTF-8''%C3%BCber.bin"},
        {"cdpath", "attachment; filename=\"../../etc/passwd\""},
        {"cdempty", "attachment; filename=\"\""}};
    for (const auto &[word, value] : dispositions) {
        QTest::newRow(word) << false << QByteArray("GET") << "/direct/97_s3000_" + QByteArray(word) + "/a.bin" << none
                            << QByteArray("HTTP/1.1 200 OK") << "Content-Disposition: " + value << qint64(3000);
    }
}

void tst_ServiceEmulator::directFiles()
{
    QFETCH(bool, tls);
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, fields);
    QFETCH(QByteArray, statusLine);
    QFETCH(QByteArray, header);
    QFETCH(qint64, bodyBytes);
    header.replace("{tls}", QByteArray::number(m_emulator.TlsPort()))
        .replace("{http}", QByteArray::number(m_emulator.Port()));
    RawExchange exchange(tls ? m_emulator.TlsPort() : m_emulator.Port(), target, fields, method,
                         tls ? m_authority.Certificate() : QSslCertificate());
    QTRY_VERIFY_WITH_TIMEOUT(exchange.closed, 10000);
    QCOMPARE(exchange.sslErrors, QList<QSslError>());
    QCOMPARE(exchange.data.left(exchange.data.indexOf("\r\n")), statusLine);
    if (!header.isEmpty())
        QVERIFY2(exchange.Head().contains("\r\n" + header + "\r\n"), exchange.Head().constData());
    const bool chunked = exchange.Header("Transfer-Encoding") == "chunked" && method == "GET";
    const QByteArray body = chunked ? Dechunk(exchange.Body()) : exchange.Body();
    QCOMPARE(body.size(), bodyBytes);
    if (bodyBytes > 0 && (statusLine.contains(" 200 ") || statusLine.contains(" 206 "))) {
        const QString fileId = QString::fromLatin1(target.split('/').value(2));
        QVERIFY(body == EmulatedContent::Bytes(fileId, 3000 - bodyBytes, bodyBytes));
    }
}

void tst_ServiceEmulator::programPrintsItsPort()
{
    const QString program = qEnvironmentVariable("TIDEFETCH_EMULATOR");
    if (program.isEmpty())
        QSKIP("TIDEFETCH_EMULATOR names no emulator program");
    QProcess process;
    process.start(program, {QStringLiteral("--quiet"), QStringLiteral("--links")});
    QVERIFY(process.waitForStarted());
    QVERIFY(process.waitForReadyRead(10000));
    const QByteArray first = process.readLine().trimmed();
    QVERIFY2(first.startsWith("PORT "), first.constData());
    const quint16 port = quint16(first.mid(5).toUInt());
    QVERIFY(port > 0);
    // Then the https ports and the authority's file, before the links.
    QHash<QByteArray, QByteArray> values;
    for (const char *key : {"TLSPORT", "WRONGHOSTPORT", "CA"}) {
        QTRY_VERIFY(process.canReadLine());
        const QByteArray line = process.readLine().trimmed();
        QVERIFY2(line.startsWith(key + QByteArray(" ")), line.constData());
        values.insert(key, line.mid(line.indexOf(' ') + 1));
    }
    const QString caPath = QFile::decodeName(values.value("CA"));
    const QList<QSslCertificate> authority = QSslCertificate::fromPath(caPath);
    QCOMPARE(authority.size(), 1);
    RawExchange secure(quint16(values.value("TLSPORT").toUInt()), "/direct/92_s3000/a.bin", {}, "GET", authority.first());
    QTRY_VERIFY(secure.closed);
    QCOMPARE(secure.sslErrors, QList<QSslError>());
    QCOMPARE(secure.Body(), EmulatedContent::Bytes(QStringLiteral("92_s3000"), 0, 3000));
    RawExchange wrongHost(quint16(values.value("WRONGHOSTPORT").toUInt()), "/direct/92_s3000/a.bin", {}, "GET",
                          authority.first());
    QTRY_VERIFY(!wrongHost.sslErrors.isEmpty());
    QCOMPARE(wrongHost.sslErrors.first().error(), QSslError::HostNameMismatch);

    RawExchange check(port, "/cgi-bin/rsapi.cgi?sub=checkfiles&files=91_s77&filenames=a.zip");
    QTRY_VERIFY(check.closed);
    QVERIFY(check.Body().startsWith("91_s77,a.zip,77,"));
    QTRY_VERIFY(process.canReadLine());
    QVERIFY(process.readLine().startsWith("http://127.0.0.1:" + QByteArray::number(port) + "/files/3000001_"));

    process.terminate();
    QVERIFY(process.waitForFinished(5000));
    // The authority's file and its folder were the emulator's own, and go with it.
    QVERIFY(!QFile::exists(caPath));
    QVERIFY(!QFileInfo::exists(QFileInfo(caPath).path()));
}

QTEST_GUILESS_MAIN(tst_ServiceEmulator)
#include "tst_serviceemulator.moc"
