#include "rapidshare/clsRapidShare.h"

#include "GlobMatch.h"
#include "ServiceEmulator.h"
#include "timers/CTimer.h"
#include "util/AppSettings.h"
#include "util/RecordingPrompter.h"

#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

constexpr qint32 kItemId = 77;
constexpr int kTick = 40;      // tmrWait in tests
constexpr int kTimeOut = 1500; // tmrTimeOut in tests: roomy for a loaded machine
constexpr int kQuiet = 400;    // how long nothing more may arrive after the last expected report

// A client against an emulator of its own, with every report recorded as
// "Status|Details"; reports through the other signal are kept apart.
class Session final
{
public:
    Session()
        : settings(dir.filePath(QStringLiteral("settings.ini")))
    {
        emulator.Listen();
        UseHost(emulator.Host());
        client = MakeClient();
    }

    std::unique_ptr<clsRapidShare> MakeClient()
    {
        auto made = std::make_unique<clsRapidShare>(settings, prompter);
        made->tmrWait().setInterval(kTick);
        made->tmrTimeOut().setInterval(kTimeOut);
        made->setDownItemID(kItemId);
        QObject::connect(made.get(), &clsRapidShare::StatusDownload, made.get(),
                         [this](qint32 id, const QString &status, const QString &details) {
                             Record(downloads, id, status, details);
                         });
        QObject::connect(made.get(), &clsRapidShare::StatusCheck, made.get(),
                         [this](qint32 id, const QString &status, const QString &details) {
                             Record(checks, id, status, details);
                         });
        return made;
    }

    void UseHost(const QString &host)
    {
        settings.SetValue(QStringLiteral("Services"), QStringLiteral("ApiHost"), host);
        settings.SetValue(QStringLiteral("Services"), QStringLiteral("FileServerHost"), host);
    }

    void Link(const QString &fileId, const QString &fileName = QStringLiteral("a.zip"))
    {
        client->Initalize();
        client->setSharingLink(emulator.SharingLink(fileId, fileName));
    }

    // Fills "{host}" and "{auth:ID}" in expected reports.
    QStringList Expand(QStringList expected) const
    {
        for (QString &line : expected) {
            line.replace(QLatin1String("{host}"), emulator.Host());
            const qsizetype auth = line.indexOf(QLatin1String("{auth:"));
            if (auth >= 0) {
                const qsizetype end = line.indexOf(QLatin1Char('}'), auth);
                const QString id = line.mid(auth + 6, end - auth - 6);
                line.replace(auth, end - auth + 1, ServiceEmulator::DownloadAuth(id));
            }
        }
        return expected;
    }

    QTemporaryDir dir;
    AppSettings settings;
    RecordingPrompter prompter;
    ServiceEmulator emulator;
    std::unique_ptr<clsRapidShare> client;
    QStringList downloads;
    QStringList checks;
    QList<qint32> wrongIds;
    std::function<void(const QString &status)> onReport;

private:
    void Record(QStringList &list, qint32 id, const QString &status, const QString &details)
    {
        if (id != client->DownItemID())
            wrongIds.append(id);
        list.append(status + QLatin1Char('|') + details);
        if (onReport)
            onReport(status);
    }
};

bool Matches(const QStringList &actual, const QStringList &expected)
{
    if (actual.size() != expected.size())
        return false;
    for (qsizetype i = 0; i < actual.size(); ++i) {
        if (!GlobMatch(actual.at(i), expected.at(i)))
            return false;
    }
    return true;
}

// Waits until the reports reach the expected count, then a little longer to make
// sure nothing follows them.
void AwaitReports(const QStringList &reports, qsizetype count)
{
    QTRY_VERIFY_WITH_TIMEOUT(reports.size() >= count, 5000);
    QTest::qWait(kQuiet);
}

} // namespace

class tst_clsRapidShare final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaults();
    void initalizeKeepsItemId();
    void startReports_data();
    void startReports();
    void finalAddressGoesToClipboard();
    void premiumPathSendsNothing();
    void cancel_data();
    void cancel();
    void cancelWhileIdleLeavesNextNegotiationAlone();
    void checkReports_data();
    void checkReports();
    void checkStoresFileDetails();
    void requestTextReachesService();
    void refusedRequest_data();
    void refusedRequest();
    void oversizedReplyIsRefused();
    void checkAndDownloadClientsRunTogether();
    void newStartReplacesRunningNegotiation();
    void nextStartFromStopHandler();
};

void tst_clsRapidShare::defaults()
{
    Session s;
    clsRapidShare fresh(s.settings, s.prompter);
    QCOMPARE(fresh.tmrTimeOut().Interval(), 15000);
    QCOMPARE(fresh.tmrWait().Interval(), 1000);
    QVERIFY(!fresh.tmrTimeOut().Enabled());
    QVERIFY(!fresh.tmrWait().Enabled());
    QCOMPARE(fresh.FileSize(), qint64(0));
    QVERIFY(!fresh.IsBusy());
}

void tst_clsRapidShare::initalizeKeepsItemId()
{
    Session s;
    s.client->setSharingLink(QStringLiteral("http://h/files/5/b.rar"));
    s.client->setPremuimUserName(QStringLiteral("u"));
    s.client->setPremuimPassword(QStringLiteral("p"));
    s.client->Initalize();
    QCOMPARE(s.client->SharingLink(), QString());
    QCOMPARE(s.client->FileID(), QString());
    QCOMPARE(s.client->FileName(), QString());
    QCOMPARE(s.client->PremuimUserName(), QString());
    QCOMPARE(s.client->PremuimPassword(), QString());
    QCOMPARE(s.client->DownItemID(), kItemId);
}

void tst_clsRapidShare::startReports_data()
{
    QTest::addColumn<QString>("fileId");
    QTest::addColumn<QStringList>("expected");

    const QString request = QStringLiteral("Requesting File|a.zip");
    const QString stop = QStringLiteral("Stop|Error Occured");
    const QString address = QStringLiteral("http://{host}/cgi-bin/rsapi.cgi?sub=download_v1&fileid=%1&filename=a.zip&dlauth={auth:%1}");

    QTest::newRow("ticket with wait 3 counts 2, 1, 0")
        << "1_dl3"
        << QStringList{request, "Wait|2", "Wait|1", "Wait|0", "Download Link|" + address.arg("1_dl3"), "Finish|Done"};
    QTest::newRow("ticket with wait 0 ends at the first tick, never below 0")
        << "2_dl0" << QStringList{request, "Wait|0", "Download Link|" + address.arg("2_dl0"), "Finish|Done"};
    QTest::newRow("wait reply of 2 s repeats the request")
        << "3_wait2_dl0"
        << QStringList{request, "Wait|1", "Wait|0", request, "Wait|0", "Download Link|" + address.arg("3_wait2_dl0"),
                       "Finish|Done"};
    QTest::newRow("ticket with three fields is malformed")
        << "4_dlbad" << QStringList{request, "Error|Mal-Formated return value From API server", stop};
    QTest::newRow("ticket wait not a number gives the whole reply")
        << "5_dlnan" << QStringList{request, "Error|DL:{host},{auth:5_dlnan},soon,*", stop};
    QTest::newRow("service error line gives the whole reply")
        << "6_dlerror" << QStringList{request, "Error|ERROR: Download not possible at the moment.\n", stop};
    QTest::newRow("unknown file gives the service's line")
        << "nosuchfile" << QStringList{request, "Error|ERROR: File not found.\n", stop};
    QTest::newRow("reply without Content-Length fails")
        << "7_nolen" << QStringList{request, "Error|The reply has no valid Content-Length", stop};
    QTest::newRow("reply later than the time-out is not read")
        << "8_slowdl2500" << QStringList{request, "Error|Connection Time out", stop};
    QTest::newRow("failure in the repeat after a wait is reported")
        << "9_wait1_dlbad"
        << QStringList{request, "Wait|0", request, "Error|Mal-Formated return value From API server", stop};
}

void tst_clsRapidShare::startReports()
{
    QFETCH(QString, fileId);
    QFETCH(QStringList, expected);
    Session s;
    s.Link(fileId);
    s.client->Start();
    QCOMPARE(s.downloads, QStringList{QStringLiteral("Requesting File|a.zip")}); // the only report before Start returns
    expected = s.Expand(expected);
    AwaitReports(s.downloads, expected.size());
    QVERIFY2(Matches(s.downloads, expected), qPrintable(s.downloads.join(QLatin1String(" / "))));
    QVERIFY(s.checks.isEmpty());
    QVERIFY(s.wrongIds.isEmpty());
    QVERIFY(!s.client->IsBusy());
}

void tst_clsRapidShare::finalAddressGoesToClipboard()
{
    Session s;
    s.Link(QStringLiteral("10_dl1"), QStringLiteral("b.rar"));
    s.client->Start();
    QTRY_VERIFY_WITH_TIMEOUT(s.downloads.contains(QStringLiteral("Finish|Done")), 5000);
    const QString address = s.emulator.Host() + QLatin1String("/cgi-bin/rsapi.cgi?sub=download_v1&fileid=10_dl1")
        + QLatin1String("&filename=b.rar&dlauth=") + ServiceEmulator::DownloadAuth(QStringLiteral("10_dl1"));
    QCOMPARE(s.prompter.clipboard, QLatin1String("http://") + address);
    QCOMPARE(s.client->AnnouncedAddress(), s.prompter.clipboard);
    QCOMPARE(s.emulator.Requests(),
             QStringList{QStringLiteral("/cgi-bin/rsapi.cgi?sub=download&fileid=10_dl1&filename=b.rar")});
}

void tst_clsRapidShare::premiumPathSendsNothing()
{
    Session s;
    s.Link(QStringLiteral("11"));
    s.client->setPremuimUserName(QStringLiteral("us&er"));
    s.client->setPremuimPassword(QStringLiteral("p w"));
    s.client->Start();
    const QString link = QLatin1String("Download Link|http://") + s.emulator.Host()
        + QLatin1String("/cgi-bin/rsapi.cgi?sub=download&fileid=11&filename=a.zip&login=us&er&password=p w");
    QCOMPARE(s.downloads, QStringList{link}); // raised before Start returns
    QTest::qWait(kQuiet);
    QCOMPARE(s.downloads, QStringList{link});
    QVERIFY(s.emulator.Requests().isEmpty());
    QVERIFY(s.prompter.clipboard.isEmpty());
}

void tst_clsRapidShare::cancel_data()
{
    QTest::addColumn<QString>("fileId");
    QTest::addColumn<QString>("cancelAfter");
    QTest::addColumn<qint32>("cancelId");
    QTest::addColumn<QStringList>("expected");

    const QString request = QStringLiteral("Requesting File|a.zip");
    QTest::newRow("cancel during the request ends with User Cancel alone")
        << "20_slowdl300" << "Requesting File" << kItemId << QStringList{request, "User Cancel|"};
    QTest::newRow("cancel with another id changes nothing")
        << "21_slowdl100_dl1" << "Requesting File" << kItemId + 1
        << QStringList{request, "Wait|0", "Download Link|*", "Finish|Done"};
    QTest::newRow("cancel during the countdown ends silently")
        << "22_dl5" << "Wait" << kItemId << QStringList{request, "Wait|4"};
    QTest::newRow("cancel during the countdown of a wait reply ends silently")
        << "23_wait4" << "Wait" << kItemId << QStringList{request, "Wait|3"};
}

void tst_clsRapidShare::cancel()
{
    QFETCH(QString, fileId);
    QFETCH(QString, cancelAfter);
    QFETCH(qint32, cancelId);
    QFETCH(QStringList, expected);
    Session s;
    bool cancelled = false;
    qsizetype reportsAtCancel = -1;
    bool raisedInsideCancel = false;
    // Cancel comes from the event loop, like a user's stop command.
    s.onReport = [&](const QString &status) {
        if (status != cancelAfter || cancelled)
            return;
        cancelled = true;
        QTimer::singleShot(0, s.client.get(), [&] {
            reportsAtCancel = s.downloads.size();
            s.client->Cancel(cancelId);
            raisedInsideCancel = s.downloads.size() != reportsAtCancel;
        });
    };
    s.Link(fileId);
    s.client->Start();
    QTRY_VERIFY(reportsAtCancel >= 0);
    QVERIFY(!raisedInsideCancel);
    AwaitReports(s.downloads, expected.size());
    QVERIFY2(Matches(s.downloads, expected), qPrintable(s.downloads.join(QLatin1String(" / "))));
    QVERIFY(!s.client->IsBusy());
}

void tst_clsRapidShare::cancelWhileIdleLeavesNextNegotiationAlone()
{
    Session s;
    s.Link(QStringLiteral("24_dl0"));
    s.client->Start();
    QTRY_VERIFY_WITH_TIMEOUT(s.downloads.contains(QStringLiteral("Finish|Done")), 5000);
    // The row is now in transfer; stopping it cancels the client too.
    s.client->Cancel(kItemId);
    s.downloads.clear();
    s.Link(QStringLiteral("25_dl0"));
    s.client->Start();
    AwaitReports(s.downloads, 4);
    QVERIFY2(Matches(s.downloads, {"Requesting File|a.zip", "Wait|0", "Download Link|*", "Finish|Done"}),
             qPrintable(s.downloads.join(QLatin1String(" / "))));
}

void tst_clsRapidShare::checkReports_data()
{
    QTest::addColumn<QString>("fileId");
    QTest::addColumn<QStringList>("expected");

    const QString checking = QStringLiteral("Checking Link|a.zip");
    const QString stop = QStringLiteral("Stop|Error Occured");
    QTest::newRow("code 1 is done") << "30_s5000" << QStringList{checking, "Done|"};
    QTest::newRow("code 51 is done") << "31_c51" << QStringList{checking, "Done|"};
    QTest::newRow("code 0 is not found") << "32_c0" << QStringList{checking, "Error|File Not Found", stop};
    QTest::newRow("code 3 is server down") << "33_c3" << QStringList{checking, "Error|Server Down", stop};
    QTest::newRow("code 4 is illegal") << "34_c4" << QStringList{checking, "Error|File marked as illegal", stop};
    QTest::newRow("code 5 is locked")
        << "35_c5" << QStringList{checking, "Error|Locked, File has more than 10 downloads", stop};
    QTest::newRow("code 2 ends") << "36_c2" << QStringList{checking, "End|"};
    QTest::newRow("code 50 ends") << "37_c50" << QStringList{checking, "End|"};
    QTest::newRow("negative code ends") << "38_c-3" << QStringList{checking, "End|"};
    QTest::newRow("unknown file is not found") << "zzz" << QStringList{checking, "Error|File Not Found", stop};
    QTest::newRow("service error line")
        << "39_checkerror" << QStringList{checking, "Error|ERROR: Server busy, please try again later.\n", stop};
    QTest::newRow("six fields are malformed") << "40_checkbad" << QStringList{checking, "Error|40_checkbad,a.zip,1024,*", stop};
    QTest::newRow("status not a number is malformed")
        << "41_checknan" << QStringList{checking, "Error|41_checknan,a.zip,1024,*", stop};
    QTest::newRow("size not a number is malformed")
        << "42_sizenan" << QStringList{checking, "Error|42_sizenan,a.zip,big,*", stop};
    QTest::newRow("empty reply is malformed") << "43_checkempty" << QStringList{checking, "Error|", stop};
    QTest::newRow("check later than the time-out")
        << "44_slowcheck2500" << QStringList{checking, "Error|Connection Time out", stop};
    QTest::newRow("file page later than the time-out still ends done")
        << "45_slowpage2500" << QStringList{checking, "Error|Connection Time out", "Done|"};
    QTest::newRow("reply without Content-Length fails")
        << "46_nolen" << QStringList{checking, "Error|The reply has no valid Content-Length", stop};
}

void tst_clsRapidShare::checkReports()
{
    QFETCH(QString, fileId);
    QFETCH(QStringList, expected);
    Session s;
    s.Link(fileId);
    s.client->Check();
    QCOMPARE(s.checks, QStringList{QStringLiteral("Checking Link|a.zip")}); // the only report before Check returns
    AwaitReports(s.checks, expected.size());
    QVERIFY2(Matches(s.checks, expected), qPrintable(s.checks.join(QLatin1String(" / "))));
    QVERIFY(s.downloads.isEmpty());
    QVERIFY(s.wrongIds.isEmpty());
}

void tst_clsRapidShare::checkStoresFileDetails()
{
    Session s;
    s.Link(QStringLiteral("50_s6g"), QString()); // the service names the file
    s.client->Check();
    QTRY_VERIFY_WITH_TIMEOUT(s.checks.contains(QStringLiteral("Done|")), 5000);
    QCOMPARE(s.client->FileID(), QStringLiteral("50_s6g"));
    QCOMPARE(s.client->FileName(), QStringLiteral("file-50_s6g.bin"));
    QCOMPARE(s.client->FileSize(), qint64(6) << 30);
    QCOMPARE(s.emulator.Requests(),
             (QStringList{"/cgi-bin/rsapi.cgi?sub=checkfiles&files=50_s6g&filenames=", "/files/50_s6g/file-50_s6g.bin"}));

    // A link without "http://" leaves the id and name as they were: the service is
    // asked about nothing and answers with its error line.
    s.checks.clear();
    s.client->Initalize();
    s.client->setSharingLink(QStringLiteral("127.0.0.1/files/50/a.zip"));
    s.client->Check();
    AwaitReports(s.checks, 3);
    QCOMPARE(s.checks, (QStringList{"Checking Link|", "Error|ERROR: No files given.\n", "Stop|Error Occured"}));
}

void tst_clsRapidShare::requestTextReachesService()
{
    Session s;
    s.Link(QStringLiteral("51"), QStringLiteral("my file #1 \u00e9t\u00e9.zip"));
    s.client->Check();
    QTRY_VERIFY_WITH_TIMEOUT(s.checks.contains(QStringLiteral("Done|")), 5000);
    // The service read back the whole name, blanks, "#" and accents included.
    QCOMPARE(s.client->FileName(), QStringLiteral("my file #1 \u00e9t\u00e9.zip"));
}

void tst_clsRapidShare::refusedRequest_data()
{
    QTest::addColumn<bool>("checkMode");
    QTest::newRow("download request") << false;
    QTest::newRow("check request") << true;
}

void tst_clsRapidShare::refusedRequest()
{
    QFETCH(bool, checkMode);
    Session s;
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    s.UseHost(QLatin1String("127.0.0.1:") + QString::number(port));
    s.Link(QStringLiteral("52"));
    checkMode ? s.client->Check() : s.client->Start();
    const QStringList &reports = checkMode ? s.checks : s.downloads;
    AwaitReports(reports, 3);
    QCOMPARE(reports.size(), 3);
    QVERIFY(reports.at(1).startsWith(QLatin1String("Error|")));
    QVERIFY(reports.at(1).size() > 6); // the failure's description
    QVERIFY(reports.at(1) != QLatin1String("Error|Connection Time out"));
    QCOMPARE(reports.at(2), QStringLiteral("Stop|Error Occured"));
    QVERIFY((checkMode ? s.downloads : s.checks).isEmpty());
}

void tst_clsRapidShare::oversizedReplyIsRefused()
{
    Session s;
    s.emulator.AddRoute(QStringLiteral("/cgi-bin/rsapi.cgi?sub=download&fileid=huge"), [](const QString &) {
        return ServiceEmulator::HttpResponse(200, "OK", "text/plain", QByteArray(3 * 1024 * 1024, 'x'));
    });
    s.Link(QStringLiteral("huge"));
    s.client->Start();
    AwaitReports(s.downloads, 3);
    QCOMPARE(s.downloads, (QStringList{"Requesting File|a.zip", "Error|The reply is too large", "Stop|Error Occured"}));
}

void tst_clsRapidShare::checkAndDownloadClientsRunTogether()
{
    Session s;
    std::unique_ptr<clsRapidShare> checker = s.MakeClient();
    s.Link(QStringLiteral("53_slowdl200_dl0"));
    checker->setSharingLink(s.emulator.SharingLink(QStringLiteral("54_slowcheck200"), QStringLiteral("c.zip")));
    s.client->Start();
    checker->Check();
    QTRY_VERIFY_WITH_TIMEOUT(s.downloads.contains(QStringLiteral("Finish|Done")) && s.checks.contains(QStringLiteral("Done|")), 5000);
    QCOMPARE(s.checks, (QStringList{"Checking Link|c.zip", "Done|"}));
    QCOMPARE(s.downloads.size(), 4);
}

void tst_clsRapidShare::newStartReplacesRunningNegotiation()
{
    Session s;
    s.Link(QStringLiteral("55_slowdl150_dl0"), QStringLiteral("first.zip"));
    s.client->Start();
    s.Link(QStringLiteral("56_dl1"), QStringLiteral("second.zip"));
    s.client->Start();
    AwaitReports(s.downloads, 5);
    QTest::qWait(200); // past the first request's late answer
    QVERIFY2(Matches(s.downloads, {"Requesting File|first.zip", "Requesting File|second.zip", "Wait|0",
                                   "Download Link|*second.zip*", "Finish|Done"}),
             qPrintable(s.downloads.join(QLatin1String(" / "))));
}

void tst_clsRapidShare::nextStartFromStopHandler()
{
    Session s;
    // The scheduler starts its next row from inside the handler of "Stop".
    s.onReport = [&](const QString &status) {
        if (status != QLatin1String("Stop"))
            return;
        s.onReport = nullptr;
        s.Link(QStringLiteral("58_dl0"), QStringLiteral("next.zip"));
        s.client->Start();
    };
    s.Link(QStringLiteral("57_dlerror"));
    s.client->Start();
    AwaitReports(s.downloads, 7);
    QVERIFY2(Matches(s.downloads, {"Requesting File|a.zip", "Error|*", "Stop|Error Occured", "Requesting File|next.zip",
                                   "Wait|0", "Download Link|*", "Finish|Done"}),
             qPrintable(s.downloads.join(QLatin1String(" / "))));
}

QTEST_GUILESS_MAIN(tst_clsRapidShare)
#include "tst_clsrapidshare.moc"
