#include "direct/ContentDisposition.h"
#include "direct/clsDirectLink.h"

#include "CertificateAuthority.h"
#include "ScriptedHttpServer.h"
#include "ServiceEmulator.h"
#include "transfer/TlsTrust.h"

#include <QFile>
#include <QSslConfiguration>
#include <QTemporaryDir>

#include <QSignalSpy>
#include <QTest>

using S = ScriptedHttpServer;

namespace {

// A whole answer without a body; the connection closes after it.
QByteArray Head(const QByteArray &statusLine, const QByteArray &fields = {})
{
    return "HTTP/1.1 " + statusLine + "\r\n" + fields + "Connection: close\r\n\r\n";
}

// "target" and the answers its requests get, in order.
struct Route {
    QByteArray target;
    QList<QByteArray> answers;
};

} // namespace

Q_DECLARE_METATYPE(QList<Route>)

class tst_DirectLink final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void contentDisposition_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("name");
        QTest::newRow("quoted") << QByteArray("attachment; filename=\"quoted name.bin\"") << "quoted name.bin";
        QTest::newRow("unquoted") << QByteArray("attachment; filename=token.bin") << "token.bin";
        QTest::newRow("quoted with escapes and a semicolon")
            << QByteArray("attachment; filename=\"a \\\"b\\\"; c.txt\"") << "a \"b\"; c.txt";
        QTest::newRow("filename* in UTF-8")
            << QByteArray("attachment; filename*=UTF-8''%E2%82%AC%20rates.bin") << QString::fromUtf8("€ rates.bin");
        QTest::newRow("filename* in ISO-8859-1")
            << QByteArray("attachment; filename*=iso-8859-1'de'%FCber.txt") << QString::fromUtf8("über.txt");
        QTest::newRow("both, filename first")
            << QByteArray("attachment; filename=\"plain.bin\"; filename*=UTF-8''%C3%BCber.bin")
            << QString::fromUtf8("über.bin");
        QTest::newRow("both, filename* first")
            << QByteArray("attachment; filename*=UTF-8''%C3%BCber.bin; filename=\"plain.bin\"")
            << QString::fromUtf8("über.bin");
        QTest::newRow("filename* with an unknown charset falls back")
            << QByteArray("attachment; filename*=koi8-r''%C1.txt; filename=\"plain.txt\"") << "plain.txt";
        QTest::newRow("quoted filename* is not RFC 5987")
            << QByteArray("attachment; filename*=\"UTF-8''x.txt\"; filename=\"plain.txt\"") << "plain.txt";
        QTest::newRow("filename* with bad UTF-8 falls back")
            << QByteArray("attachment; filename*=UTF-8''%FF.txt; filename=\"plain.txt\"") << "plain.txt";
        QTest::newRow("path parts dropped") << QByteArray("attachment; filename=\"../../etc/passwd\"") << "passwd";
        QTest::newRow("Windows path parts dropped") << QByteArray("attachment; filename=\"C:\\\\x\\\\y.doc\"") << "y.doc";
        QTest::newRow("dot dot alone") << QByteArray("attachment; filename=\"..\"") << "..";
        QTest::newRow("empty") << QByteArray("attachment; filename=\"\"") << "";
        QTest::newRow("no name") << QByteArray("inline") << "";
        QTest::newRow("empty field") << QByteArray() << "";
        QTest::newRow("parameter names ignore case, blanks around")
            << QByteArray("attachment ;  FileName = \"x y.zip\" ") << "x y.zip";
        QTest::newRow("raw UTF-8 in filename") << QByteArray("attachment; filename=\"\xc3\xa9t\xc3\xa9.txt\"")
                                               << QString::fromUtf8("été.txt");
    }
    void contentDisposition()
    {
        QFETCH(QByteArray, field);
        QTEST(ContentDisposition::FileName(field), "name");
    }

    void check_data()
    {
        QTest::addColumn<QList<Route>>("routes");
        QTest::addColumn<QStringList>("statuses"); // after "Checking Link"
        QTest::addColumn<QString>("details");      // of the first of them
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<qint64>("fileSize");
        QTest::addColumn<QByteArray>("finalTarget");
        QTest::addColumn<QStringList>("requests"); // method, target and Range of each

        const QStringList done{QStringLiteral("Done")};
        const QStringList error{QStringLiteral("Error"), QStringLiteral("Stop")};
        const QStringList unavailable{QStringLiteral("UnAvailable"), QStringLiteral("Stop")};
        const QByteArray ok = Head("200 OK", "Content-Length: 1234\r\n");

        QTest::newRow("HEAD gives the name and size")
            << QList<Route>{{"/pub/a.iso", {ok}}} << done << "" << "a.iso" << qint64(1234) << QByteArray("/pub/a.iso")
            << QStringList{"HEAD /pub/a.iso"};
        QTest::newRow("Content-Disposition names the file")
            << QList<Route>{{"/get?id=4", {Head("200 OK", "Content-Length: 5\r\nContent-Disposition: attachment; "
                                                          "filename=\"report 2026.pdf\"\r\n")}}}
            << done << "" << "report 2026.pdf" << qint64(5) << QByteArray("/get?id=4") << QStringList{"HEAD /get?id=4"};
        QTest::newRow("a name from Content-Disposition is made safe")
            << QList<Route>{{"/x", {Head("200 OK", "Content-Disposition: attachment; filename=\"a:b*.txt\"\r\n")}}}
            << done << "" << "a_b_.txt" << qint64(-1) << QByteArray("/x") << QStringList{"HEAD /x"};
        QTest::newRow("the path segment is percent-decoded, the size unknown")
            << QList<Route>{{"/d/my%20file%C3%A9.bin", {Head("200 OK")}}} << done << ""
            << QString::fromUtf8("my fileé.bin") << qint64(-1) << QByteArray("/d/my%20file%C3%A9.bin")
            << QStringList{"HEAD /d/my%20file%C3%A9.bin"};
        QTest::newRow("no path: the host names the file")
            << QList<Route>{{"/", {ok}}} << done << "" << "127.0.0.1" << qint64(1234) << QByteArray("/")
            << QStringList{"HEAD /"};
        for (const QByteArray code : {"301 Moved Permanently", "302 Found", "303 See Other", "307 Temporary Redirect",
                                      "308 Permanent Redirect"}) {
            QTest::addRow("redirect %s", code.constData())
                << QList<Route>{{"/old", {Head(code, "Location: /new/b.zip\r\n")}}, {"/new/b.zip", {ok}}} << done
                << "" << "b.zip" << qint64(1234) << QByteArray("/new/b.zip")
                << QStringList{"HEAD /old", "HEAD /new/b.zip"};
        }
        QTest::newRow("redirects chain, relative and absolute")
            << QList<Route>{{"/1", {Head("302 Found", "Location: {base}/2\r\n")}},
                            {"/2", {Head("301 Moved Permanently", "Location: 3?x=y\r\n")}},
                            {"/3?x=y", {ok}}}
            << done << "" << "3" << qint64(1234) << QByteArray("/3?x=y") << QStringList{"HEAD /1", "HEAD /2", "HEAD /3?x=y"};
        QTest::newRow("HEAD refused with 405: GET for the first byte")
            << QList<Route>{{"/f.bin", {Head("405 Method Not Allowed"),
                                        Head("206 Partial Content", "Content-Range: bytes 0-0/5000\r\nContent-Length: 1\r\n")
                                            .append("x")}}}
            << done << "" << "f.bin" << qint64(5000) << QByteArray("/f.bin")
            << QStringList{"HEAD /f.bin", "GET /f.bin bytes=0-0"};
        QTest::newRow("HEAD refused with 501, the range ignored")
            << QList<Route>{{"/f.bin", {Head("501 Not Implemented"), Head("200 OK", "Content-Length: 7000\r\n")}}} << done
            << "" << "f.bin" << qint64(7000) << QByteArray("/f.bin") << QStringList{"HEAD /f.bin", "GET /f.bin bytes=0-0"};
        // Qt tries a request again once by itself when the connection closes first.
        QTest::newRow("HEAD closed without a reply")
            << QList<Route>{{"/f.bin", {QByteArray(), QByteArray(),
                                        Head("206 Partial Content", "Content-Range: bytes 0-0/*\r\n")}}}
            << done << "" << "f.bin" << qint64(-1) << QByteArray("/f.bin")
            << QStringList{"HEAD /f.bin", "HEAD /f.bin", "GET /f.bin bytes=0-0"};
        QTest::newRow("404 is UnAvailable")
            << QList<Route>{{"/gone", {Head("404 Not Found")}}} << unavailable << "HTTP 404 Not Found" << "" << qint64(-1)
            << QByteArray("/gone") << QStringList{"HEAD /gone"};
        QTest::newRow("410 is UnAvailable")
            << QList<Route>{{"/gone", {Head("410 Gone")}}} << unavailable << "HTTP 410 Gone" << "" << qint64(-1)
            << QByteArray("/gone") << QStringList{"HEAD /gone"};
        QTest::newRow("404 after a redirect")
            << QList<Route>{{"/a", {Head("307 Temporary Redirect", "Location: /b\r\n")}}, {"/b", {Head("404 Not Found")}}}
            << unavailable << "HTTP 404 Not Found" << "" << qint64(-1) << QByteArray("/b")
            << QStringList{"HEAD /a", "HEAD /b"};
        QTest::newRow("another status is an Error")
            << QList<Route>{{"/a", {Head("403 Forbidden")}}} << error << "HTTP 403 Forbidden" << "" << qint64(-1)
            << QByteArray("/a") << QStringList{"HEAD /a"};
        QTest::newRow("a redirect without a Location")
            << QList<Route>{{"/a", {Head("302 Found")}}} << error << "HTTP 302 Found without a Location" << ""
            << qint64(-1) << QByteArray("/a") << QStringList{"HEAD /a"};
        QTest::newRow("a redirect to another scheme")
            << QList<Route>{{"/a", {Head("302 Found", "Location: ftp://127.0.0.1/a\r\n")}}} << error
            << "redirect to an address that is not http or https: ftp://127.0.0.1/a" << "" << qint64(-1)
            << QByteArray("/a") << QStringList{"HEAD /a"};
        QStringList loop;
        for (int i = 0; i <= clsDirectLink::MaxRedirects; ++i)
            loop.append(QStringLiteral("HEAD /loop"));
        QTest::newRow("too many redirects")
            << QList<Route>{{"/loop", {Head("302 Found", "Location: /loop\r\n")}}} << error << "too many redirects" << ""
            << qint64(-1) << QByteArray("/loop") << loop;
    }
    void check()
    {
        QFETCH(QList<Route>, routes);
        QFETCH(QStringList, requests);
        S server;
        for (const Route &route : routes) {
            QList<S::Script> scripts;
            for (QByteArray answer : route.answers) {
                answer.replace("{base}", server.base().toLatin1());
                scripts.append(answer.isEmpty() ? S::Script{S::Close()} : S::Script{S::Send(answer), S::Close()});
            }
            server.route(route.target, scripts);
        }
        clsDirectLink client;
        client.setDownItemID(3);
        QSignalSpy reports(&client, &clsDirectLink::StatusCheck);
        client.setSharingLink(server.base() + QString::fromLatin1(routes.first().target));
        client.Check();
        QCOMPARE(reports.count(), 1);
        QCOMPARE(reports.first().at(1).toString(), QStringLiteral("Checking Link"));
        QCOMPARE(reports.first().at(2).toString(), client.SharingLink());

        QFETCH(QStringList, statuses);
        QVERIFY(QTest::qWaitFor([&] { return reports.count() > statuses.size(); }, 5000));
        QTest::qWait(50); // nothing more may follow
        QStringList seen;
        for (const QList<QVariant> &report : reports.mid(1)) {
            QCOMPARE(report.at(0).toInt(), 3);
            seen.append(report.at(1).toString());
        }
        QCOMPARE(seen, statuses);
        QTEST(reports.at(1).at(2).toString(), "details");
        QTEST(client.FileName(), "fileName");
        QTEST(client.FileSize(), "fileSize");
        QFETCH(QByteArray, finalTarget);
        QCOMPARE(client.FinalURL(), server.base() + QString::fromLatin1(finalTarget));

        QStringList received;
        for (const QByteArray &head : server.requests) {
            const QList<QByteArray> words = head.left(head.indexOf("\r\n")).split(' ');
            QString line = QString::fromLatin1(words.at(0) + ' ' + words.at(1));
            const qsizetype range = head.indexOf("\r\nRange: ");
            if (range >= 0)
                line += QLatin1Char(' ') + QString::fromLatin1(head.mid(range + 9, head.indexOf("\r\n", range + 2) - range - 9));
            received.append(line);
        }
        QCOMPARE(received, requests);
    }

    // A GET refused as HEAD is never read to its end: the head is enough.
    void firstByteGetEndsAtTheHead()
    {
        S server;
        server.route("/big", QList<S::Script>{{S::Send(Head("405 Method Not Allowed")), S::Close()},
                                              {S::Send("HTTP/1.1 200 OK\r\nContent-Length: 1000000000\r\n\r\n"),
                                               S::SendPattern(0, 1 << 20)}});
        clsDirectLink client;
        QSignalSpy reports(&client, &clsDirectLink::StatusCheck);
        client.setSharingLink(server.base() + QStringLiteral("/big"));
        client.Check();
        QVERIFY(QTest::qWaitFor([&] { return reports.count() == 2; }, 5000));
        QCOMPARE(reports.last().at(1).toString(), QStringLiteral("Done"));
        QCOMPARE(client.FileSize(), qint64(1000000000));
    }

    void silentServerTimesOut()
    {
        S server;
        server.route("/slow", S::Script{S::Pause(10000)});
        clsDirectLink client;
        client.setTimeOut(200);
        QSignalSpy reports(&client, &clsDirectLink::StatusCheck);
        client.setSharingLink(server.base() + QStringLiteral("/slow"));
        client.Check();
        QVERIFY(QTest::qWaitFor([&] { return reports.count() == 3; }, 5000));
        QCOMPARE(reports.at(1).at(1).toString(), QStringLiteral("Error"));
        QCOMPARE(reports.at(1).at(2).toString(), QStringLiteral("Connection Time out"));
        QCOMPARE(reports.at(2).at(1).toString(), QStringLiteral("Stop"));
    }

    // A cancel ends its own check only: the next check runs to its end.
    void cancelBelongsToItsCheck()
    {
        S server;
        server.route("/slow", S::Script{S::Pause(10000)});
        server.route("/a.iso", S::Script{S::Send(Head("200 OK", "Content-Length: 9\r\n")), S::Close()});
        clsDirectLink client;
        client.setDownItemID(5);
        QSignalSpy reports(&client, &clsDirectLink::StatusCheck);
        client.setSharingLink(server.base() + QStringLiteral("/slow"));
        client.Check();
        client.Cancel(4); // another row's
        QTest::qWait(20);
        QCOMPARE(reports.count(), 1);
        client.Cancel(5);
        QVERIFY(QTest::qWaitFor([&] { return reports.count() == 2; }, 5000));
        QCOMPARE(reports.last().at(1).toString(), QStringLiteral("User Cancel"));

        client.Cancel(5);
        client.Initalize();
        client.setSharingLink(server.base() + QStringLiteral("/a.iso"));
        client.Check();
        QVERIFY(QTest::qWaitFor([&] { return reports.count() == 4; }, 5000));
        QCOMPARE(reports.last().at(1).toString(), QStringLiteral("Done"));
        QCOMPARE(client.FileSize(), qint64(9));
    }

    // The check trusts what the downloader trusts, and says why it does not.
    void checkOverTls_data()
    {
        QTest::addColumn<QString>("leaf");
        QTest::addColumn<QString>("problem"); // empty: "Done"
        QTest::newRow("trusted") << "trusted" << "";
        QTest::newRow("unknown authority") << "unknown authority" << "certificate problem: The issuer certificate";
        QTest::newRow("expired") << "expired" << "certificate problem: The certificate has expired";
        QTest::newRow("wrong host") << "wrong host" << "certificate problem: The host name did not match";
    }
    void checkOverTls()
    {
        QFETCH(QString, leaf);
        QFETCH(QString, problem);
        const CertificateAuthority authority(QStringLiteral("Check Test Authority"));
        const CertificateAuthority stranger(QStringLiteral("Unknown Authority"));
        CertificateAuthority::Subject subject;
        subject.addresses = {QHostAddress::LocalHost};
        if (leaf == QLatin1String("expired")) {
            subject.notBefore = QDateTime::currentDateTimeUtc().addDays(-30);
            subject.notAfter = QDateTime::currentDateTimeUtc().addDays(-1);
        } else if (leaf == QLatin1String("wrong host")) {
            subject.addresses.clear();
            subject.dnsNames = {QStringLiteral("wrong.example")};
        }
        const CertificateAuthority::Issued issued =
            leaf == QLatin1String("unknown authority") ? stranger.Issue(subject) : authority.Issue(subject);
        const QSslConfiguration tls = CertificateAuthority::ServerConfiguration(issued);
        ServiceEmulator emulator;
        QVERIFY(emulator.Listen() && emulator.ListenTls(tls) > 0);
        QTemporaryDir trust;
        const QString caFile = trust.filePath(QStringLiteral("ca.pem"));
        QVERIFY(authority.WriteCertificate(caFile));
        qputenv(TlsTrust::ExtraCaVariable, QFile::encodeName(caFile));

        clsDirectLink client;
        QSignalSpy reports(&client, &clsDirectLink::StatusCheck);
        client.setSharingLink(emulator.DirectLink(QStringLiteral("9_s3k"), QStringLiteral("tls.bin"), true));
        client.Check();
        QVERIFY(QTest::qWaitFor([&] { return reports.count() >= (problem.isEmpty() ? 2 : 3); }, 5000));
        qunsetenv(TlsTrust::ExtraCaVariable);
        if (problem.isEmpty()) {
            QCOMPARE(reports.at(1).at(1).toString(), QStringLiteral("Done"));
            QCOMPARE(client.FileSize(), qint64(3 * 1024));
            return;
        }
        QCOMPARE(reports.at(1).at(1).toString(), QStringLiteral("Error"));
        QVERIFY2(reports.at(1).at(2).toString().startsWith(problem), qPrintable(reports.at(1).at(2).toString()));
        QCOMPARE(reports.at(2).at(1).toString(), QStringLiteral("Stop"));
    }

    void notAWebAddress()
    {
        clsDirectLink client;
        QSignalSpy reports(&client, &clsDirectLink::StatusCheck);
        client.setSharingLink(QStringLiteral("http://"));
        client.Check();
        QCOMPARE(reports.count(), 3);
        QCOMPARE(reports.at(1).at(2).toString(), QStringLiteral("Not an http or https address: http://"));
    }
};

QTEST_GUILESS_MAIN(tst_DirectLink)
#include "tst_directlink.moc"
