#include "QueueSession.h"

#include "CertificateAuthority.h"
#include "EmulatedContent.h"

#include "app/LinkChecker.h"
#include "queue/DownloadScheduler.h"
#include "queue/QueueCommands.h"
#include "transfer/DownloadAsynch.h"
#include "transfer/TlsTrust.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSslConfiguration>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kTimeout = 20000;

bool IsPercentage(const QString &status)
{
    bool ok = false;
    status.toDouble(&ok);
    return ok;
}

QByteArray FileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class tst_Queue final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pastedLinksAreCheckedMovedAndDownloaded()
    {
        QueueSession s;
        QVERIFY(s.Started());
        const QStringList ids = {"1_s20k", "2_s70k", "3_s5k"};
        const QStringList names = {"first.zip", "second's.rar", "third.avi"};
        // Pasted on Linux: lines end with LF.
        s.Controller().cmdCheckLinks_Click(QueueSession::Link(ids[0], names[0]) + "\n"
                                           + QueueSession::Link(ids[1], names[1]) + "\n"
                                           + QueueSession::Link(ids[2], names[2]) + "\n");
        QCOMPARE(s.Prompts().shown.last().text, QStringLiteral("3 Links Added"));
        QTRY_VERIFY_WITH_TIMEOUT(!s.Controller().Checker().IsChecking()
                                     && s.checkHistory.filter(QStringLiteral(":Available")).size() == 3,
                                 kTimeout);
        // Strictly one after another, each through "Checking".
        QCOMPARE(s.checkHistory.size(), 6);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(s.checkHistory.at(2 * i).endsWith(QLatin1String(":Checking")));
            QVERIFY(s.checkHistory.at(2 * i + 1).endsWith(QLatin1String(":Available")));
            QCOMPARE(s.checkHistory.at(2 * i).section(':', 0, 0), s.checkHistory.at(2 * i + 1).section(':', 0, 0));
        }

        s.Controller().cmdDownloadLinks_Click();
        QCOMPARE(s.Controller().Store().rsCheckList.RecordCount(), 0);
        const QList<qint64> rows = s.DownIds();
        QCOMPARE(rows.size(), 3);
        QTRY_VERIFY_WITH_TIMEOUT(s.Status(rows[2]) == QLatin1String("Complete"), kTimeout);

        for (int i = 0; i < 3; ++i) {
            QCOMPARE(s.Status(rows[i]), QStringLiteral("Complete"));
            QCOMPARE(s.Field(rows[i], u"Speed"), QString());
            QCOMPARE(s.Field(rows[i], u"Time_Left"), QString());
            QCOMPARE(s.Field(rows[i], u"Error_Desc"), QStringLiteral("No Error"));
            const qint64 size = s.Field(rows[i], u"File_Size_Bytes").toLongLong();
            // The row names the whole file and counts all of its bytes, however
            // quickly it arrived.
            QCOMPARE(s.Field(rows[i], u"Local_File_Name"), names[i]);
            QCOMPARE(s.Field(rows[i], u"Downloaded_Bytes").toLongLong(), size);
            QCOMPARE(FileContent(QDir(s.DownloadFolder()).filePath(names[i])),
                     EmulatedContent::Bytes(ids[i], 0, size));
            // Each row starts only after the one before it ended.
            if (i > 0)
                QVERIFY(s.downHistory.indexOf(QString::number(rows[i - 1]) + ":Complete")
                        < s.downHistory.indexOf(QString::number(rows[i]) + ":Requesting File"));
        }
        QCOMPARE(s.Controller().Scheduler().ActiveCount(), qint16(0));
    }

    // A direct http and a direct https link between two service links: all are
    // checked in turn, moved, and downloaded one after another with exact bytes;
    // the direct rows skip the negotiation, the service rows keep it.
    void directLinksBetweenServiceRows()
    {
        QueueSession s;
        QVERIFY(s.Started());
        const CertificateAuthority authority(QStringLiteral("Queue Test Authority"));
        CertificateAuthority::Subject loopback;
        loopback.addresses = {QHostAddress::LocalHost};
        const CertificateAuthority::Issued leaf = authority.Issue(loopback);
        const QSslConfiguration tls = CertificateAuthority::ServerConfiguration(leaf);
        QVERIFY(s.Emulator().ListenTls(tls) > 0);
        QTemporaryDir trust;
        const QString caFile = trust.filePath(QStringLiteral("ca.pem"));
        QVERIFY(authority.WriteCertificate(caFile));
        qputenv(TlsTrust::ExtraCaVariable, QFile::encodeName(caFile));

        const QString httpId = QStringLiteral("41_s50k_r301_cdquoted");
        const QString httpsId = QStringLiteral("42_s30k_chunked_head405");
        const QStringList links{QueueSession::Link(QStringLiteral("40_s20k_dl2"), QStringLiteral("first.zip")),
                                s.Emulator().DirectLink(httpId, QStringLiteral("moved.bin")),
                                s.Emulator().DirectLink(httpsId, QStringLiteral("secure.tar"), true),
                                s.Emulator().DirectLink(QStringLiteral("43_gone404"), QStringLiteral("gone.bin")),
                                QueueSession::Link(QStringLiteral("44_s10k"), QStringLiteral("last.rar"))};
        s.Controller().cmdCheckLinks_Click(links.join(QLatin1Char('\n')));
        QCOMPARE(s.Prompts().shown.last().text, QStringLiteral("5 Links Added"));
        QTRY_VERIFY_WITH_TIMEOUT(!s.Controller().Checker().IsChecking()
                                     && s.checkHistory.filter(QRegularExpression(":(Available|UnAvailable)$")).size() == 5,
                                 kTimeout);
        RecordSet check = s.Controller().Store().rsCheckList.Clone();
        QStringList names;
        QStringList statuses;
        for (; !check.IsEOF(); check.MoveNext()) {
            names.append(check.Field(u"File_Name").toString());
            statuses.append(check.Field(u"Status").toString());
        }
        QCOMPARE(statuses, (QStringList{"Available", "Available", "Available", "UnAvailable", "Available"}));
        QCOMPARE(names, (QStringList{"first.zip", "quoted name.bin", "secure.tar", "??", "last.rar"}));
        check.MoveFirst();
        check.MoveNext();
        QVERIFY2(check.Field(u"Final_URL").toString().endsWith(QLatin1String("/direct/41_s50k_cdquoted/moved.bin")),
                 qPrintable(check.Field(u"Final_URL").toString()));
        check.MoveNext();
        QCOMPARE(check.Field(u"File_Size").toString(), QStringLiteral("30 KB"));
        check.MoveNext();
        QCOMPARE(check.Field(u"Error_Desc").toString(), QStringLiteral("HTTP 404 Not Found"));

        s.Emulator().ClearRequests();
        s.Controller().cmdDownloadLinks_Click();
        const QList<qint64> rows = s.DownIds();
        QCOMPARE(rows.size(), 4);
        QTRY_VERIFY_WITH_TIMEOUT(s.Status(rows[3]) == QLatin1String("Complete"), kTimeout);
        const QStringList ids{"40_s20k_dl2", httpId, httpsId, "44_s10k"};
        const QList<qint64> sizes{20 * 1024, 50 * 1024, 30 * 1024, 10 * 1024};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(s.Status(rows[i]), QStringLiteral("Complete"));
            QCOMPARE(s.Field(rows[i], u"Local_File_Name"), names.at(i < 3 ? i : 4));
            QCOMPARE(s.Field(rows[i], u"Downloaded_Bytes").toLongLong(), sizes[i]);
            QCOMPARE(FileContent(QDir(s.DownloadFolder()).filePath(s.Field(rows[i], u"Local_File_Name"))),
                     EmulatedContent::Bytes(QString(ids[i]).remove(QLatin1String("_r301")), 0, sizes[i]));
            if (i > 0)
                QVERIFY(s.downHistory.indexOf(QString::number(rows[i - 1]) + ":Complete")
                        < s.downHistory.indexOf(QString::number(rows[i]) + ":Requesting File"));
        }
        // The service rows waited for their ticket; the direct ones went straight to the transfer.
        QVERIFY(!s.HistoryOf(rows[0]).filter(QRegularExpression("^Wait \\d+ Seconds$")).isEmpty());
        for (int i : {1, 2})
            QVERIFY(!s.HistoryOf(rows[i]).join(QLatin1Char(' ')).contains(QLatin1String("Wait")));
        // The check's redirect is not followed again.
        QCOMPARE(s.Emulator().Requests().filter(QStringLiteral("_r301")), QStringList());
        qunsetenv(TlsTrust::ExtraCaVariable);
    }

    void serviceWaitIsCountedDownInTheRow()
    {
        QueueSession s;
        QVERIFY(s.Started());
        const qint64 row = s.Queue("4_s3k_dl3", "waited.bin", 3072);
        s.Controller().StartDownload();
        QTRY_COMPARE_WITH_TIMEOUT(s.Status(row), QStringLiteral("Complete"), kTimeout);
        const QStringList history = s.HistoryOf(row);
        const int two = history.indexOf("Wait 2 Seconds");
        QVERIFY2(two > 0 && history.at(two - 1) == QLatin1String("Requesting File"), qPrintable(history.join('|')));
        QCOMPARE(history.at(two + 1), QStringLiteral("Wait 1 Seconds"));
    }

    // When the queue has nothing left, it says how its rows ended, once.
    void finishedQueueSaysHowItWent_data()
    {
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<bool>("stopFirst"); // the user stops the first row at once
        QTest::addColumn<QString>("notice"); // empty: none
        QTest::newRow("all complete") << QStringList{"7_s2k", "8_s3k"} << false << "Queue finished: 2 complete, 0 failed";
        QTest::newRow("a negotiation error and a transfer error")
            << QStringList{"9_dlerror", "10_s2k", "11_s4k_close50"} << false << "Queue finished: 1 complete, 2 failed";
        QTest::newRow("only stopped rows: nothing to tell") << QStringList{"12_s4m_rate64"} << true << "";
    }
    void finishedQueueSaysHowItWent()
    {
        QFETCH(QStringList, ids);
        QFETCH(bool, stopFirst);
        QFETCH(QString, notice);
        QueueSession s;
        QVERIFY(s.Started());
        QList<qint64> rows;
        for (const QString &id : ids)
            rows.append(s.Queue(id, id + ".bin", 0));
        s.Controller().StartDownload();
        if (stopFirst) {
            QTRY_VERIFY_WITH_TIMEOUT(s.Controller().Scheduler().IsTransferring(rows.first()), kTimeout);
            s.Controller().Commands().StopAllDownloads();
        }
        QTRY_COMPARE_WITH_TIMEOUT(s.Controller().Scheduler().ActiveCount(), qint16(0), kTimeout);
        QTest::qWait(100);
        QStringList notices;
        for (const auto &shown : s.Prompts().shown) {
            if (shown.kind == QLatin1String("balloon") && shown.text.startsWith(QLatin1String("Queue finished")))
                notices.append(shown.text);
        }
        QCOMPARE(notices, notice.isEmpty() ? QStringList() : QStringList{notice});
    }

    void negotiationErrorEndsTheRowAndTheNextStarts()
    {
        QueueSession s;
        QVERIFY(s.Started());
        const qint64 failing = s.Queue("5_dlerror", "refused.bin", 1024);
        const qint64 next = s.Queue("6_s2k", "next.bin", 2048);
        s.Controller().StartDownload();
        QTRY_COMPARE_WITH_TIMEOUT(s.Status(next), QStringLiteral("Complete"), kTimeout);
        QCOMPARE(s.Status(failing), QStringLiteral("Error"));
        QVERIFY(s.Field(failing, u"Error_Desc").startsWith(QLatin1String("ERROR: Download not possible")));
        QCOMPARE(s.Controller().Scheduler().ActiveCount(), qint16(0));
    }

    void stopAllThenStartAll()
    {
        QueueSession s;
        QVERIFY(s.Started());
        const qint64 complete = s.Queue("11_s1k", "complete.bin", 1024);
        const qint64 error = s.Queue("12_s1k", "error.bin", 1024);
        const qint64 stopped = s.Queue("13_s1k", "stopped.bin", 1024);
        const qint64 transferring = s.Queue("14_s8m_rate256", "slow.bin", 8 << 20);
        const qint64 queued = s.Queue("15_s1k", "queued.bin", 1024);
        s.SetField(complete, u"Download_Status", QStringLiteral("Complete"));
        s.SetField(error, u"Download_Status", QStringLiteral("Error"));
        s.SetField(stopped, u"Download_Status", QStringLiteral("Stopped"));
        s.Controller().StartDownload();
        QTRY_VERIFY_WITH_TIMEOUT(IsPercentage(s.Status(transferring)), kTimeout);
        const QString partial = QDir(s.DownloadFolder()).filePath(QStringLiteral("slow.bin.part"));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(partial).size() > 0, kTimeout);
        QCOMPARE(s.Field(transferring, u"Partial_File"), partial);

        s.Controller().Commands().StopAllDownloads();
        QCOMPARE(s.Status(complete), QStringLiteral("Complete"));
        QCOMPARE(s.Status(error), QStringLiteral("Error"));
        QCOMPARE(s.Status(stopped), QStringLiteral("Stopped"));
        QCOMPARE(s.Status(transferring), QStringLiteral("Stopped"));
        QCOMPARE(s.Status(queued), QStringLiteral("Stopped"));
        // Stop is a pause: the partial file stays for the next start.
        QVERIFY(QFile::exists(partial));
        QVERIFY(!QFile::exists(QDir(s.DownloadFolder()).filePath(QStringLiteral("slow.bin"))));
        QCOMPARE(s.Controller().Scheduler().ActiveCount(), qint16(0));
        // Nothing starts afterwards (a late "User Cancel" of a row the walk
        // stopped finds nothing queued).
        const qsizetype started = s.downHistory.filter(":Requesting File").size();
        QTest::qWait(200);
        QCOMPARE(s.downHistory.filter(":Requesting File").size(), started);
        QCOMPARE(s.Status(queued), QStringLiteral("Stopped"));

        // Start all: every stopped and failed row is queued; the first in list order starts.
        s.Controller().Commands().QueueAllDownloads();
        QCOMPARE(s.Status(complete), QStringLiteral("Complete"));
        QCOMPARE(s.Status(stopped), QStringLiteral("Queued"));
        QCOMPARE(s.Status(transferring), QStringLiteral("Queued"));
        QCOMPARE(s.Status(queued), QStringLiteral("Queued"));
        QCOMPARE(s.Status(error), QStringLiteral("Requesting File"));
        QCOMPARE(s.Controller().Scheduler().ActiveCount(), qint16(1));
        QTRY_COMPARE_WITH_TIMEOUT(s.Status(stopped), QStringLiteral("Complete"), kTimeout);
        s.Controller().Commands().StopAllDownloads();
    }

    void stopOnlySelected_data()
    {
        QTest::addColumn<bool>("transferTicked");
        QTest::newRow("unticked transfer goes on") << false;
        QTest::newRow("ticked transfer stops, next starts") << true;
    }
    void stopOnlySelected()
    {
        QFETCH(bool, transferTicked);
        QueueSession s;
        QVERIFY(s.Started());
        const qint64 transfer = s.Queue("21_s8m_rate256", "slow.bin", 8 << 20);
        const qint64 ticked = s.Queue("22_s1k", "ticked.bin", 1024);
        const qint64 spare = s.Queue("23_s1k", "spare.bin", 1024);
        s.SetField(transfer, u"Check_Box", transferTicked ? 1 : 0);
        s.SetField(spare, u"Check_Box", 0);
        s.Controller().StartDownload();
        QTRY_VERIFY_WITH_TIMEOUT(IsPercentage(s.Status(transfer)), kTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(QDir(s.DownloadFolder()).filePath(QStringLiteral("slow.bin.part"))).size() > 0,
                                 kTimeout);

        s.Controller().Commands().StopSelectedDownloads();
        QCOMPARE(s.Status(ticked), QStringLiteral("Stopped"));
        QCOMPARE(s.Controller().Scheduler().ActiveCount(), qint16(1)); // never two rows at once
        if (transferTicked) {
            QCOMPARE(s.Status(transfer), QStringLiteral("Stopped"));
            QVERIFY(!QFile::exists(QDir(s.DownloadFolder()).filePath(QStringLiteral("slow.bin"))));
            QVERIFY(QFile::exists(QDir(s.DownloadFolder()).filePath(QStringLiteral("slow.bin.part"))));
            QTRY_COMPARE_WITH_TIMEOUT(s.Status(spare), QStringLiteral("Complete"), kTimeout);
        } else {
            QTest::qWait(200);
            QVERIFY(IsPercentage(s.Status(transfer)));
            QCOMPARE(s.Status(spare), QStringLiteral("Queued"));
            s.Controller().Commands().StopAllDownloads();
        }
    }

    void stoppingAnEndedTransferAgainStartsNothing()
    {
        QueueSession s;
        QVERIFY(s.Started());
        const qint64 stopped = s.Queue("81_s8m_rate256", "slow.bin", 8 << 20);
        const qint64 negotiating = s.Queue("82_s1k_slowdl3000", "negotiating.bin", 1024);
        const qint64 waiting = s.Queue("83_s1k", "waiting.bin", 1024);
        s.SetField(negotiating, u"Check_Box", 0);
        s.SetField(waiting, u"Check_Box", 0);
        s.Controller().StartDownload();
        QTRY_VERIFY_WITH_TIMEOUT(IsPercentage(s.Status(stopped)), kTimeout);
        s.Controller().Commands().StopSelectedDownloads();
        QCOMPARE(s.Status(negotiating), QStringLiteral("Requesting File"));

        // The stopped row is still the downloader's last row: stopping it again
        // must not end the negotiation's row in the scheduler's count.
        s.Controller().Commands().StopSelectedDownloads();
        QCOMPARE(s.Controller().Scheduler().ActiveCount(), qint16(1));
        QCOMPARE(s.Status(waiting), QStringLiteral("Queued"));
        s.Controller().Commands().StopAllDownloads();
    }

    void clearAllIsRefusedDuringATransfer()
    {
        QueueSession s;
        QVERIFY(s.Started());
        const qint64 transfer = s.Queue("31_s8m_rate256", "slow.bin", 8 << 20);
        s.Queue("32_s1k", "other.bin", 1024);
        s.Controller().StartDownload();
        QTRY_VERIFY_WITH_TIMEOUT(IsPercentage(s.Status(transfer)), kTimeout);

        s.Controller().Commands().ClearAllItems();
        QCOMPARE(s.Prompts().messages(), QStringList{QStringLiteral("Download In Progress, Please Stop first.")});
        QCOMPARE(s.DownIds().size(), 2);

        // The downloader's own row cannot be removed; the others can.
        s.Controller().Commands().RemoveSelectedDownloads();
        QCOMPARE(s.Prompts().messages().last(),
                 QStringLiteral("Can not remove item. Download In Progress, Please Stop first."));
        QCOMPARE(s.DownIds(), QList<qint64>{transfer});

        s.Controller().Commands().StopAllDownloads();
        s.Controller().Commands().ClearAllItems();
        QCOMPARE(s.DownIds().size(), 0);
        // A removed row is never resumed: its partial file goes with it.
        QCOMPARE(QDir(s.DownloadFolder()).entryList(QDir::Files), QStringList());
    }

    void removingAnEndedRowDeletesOnlyItsPartialFile()
    {
        QueueSession s;
        QVERIFY(s.Started());
        const qint64 done = s.Queue("91_s2k", "done.bin", 2048);
        const qint64 slow = s.Queue("92_s8m_rate256", "slow.bin", 8 << 20);
        s.SetField(done, u"Check_Box", 0);
        s.Controller().StartDownload();
        const QDir folder(s.DownloadFolder());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(folder.filePath(QStringLiteral("slow.bin.part"))).size() > 0, kTimeout);
        s.Controller().Commands().StopAllDownloads();
        QCOMPARE(s.Status(slow), QStringLiteral("Stopped"));
        QCOMPARE(folder.entryList(QDir::Files), (QStringList{QStringLiteral("done.bin"), QStringLiteral("slow.bin.part")}));

        // The downloader's last row is stopped, not in progress: it may go.
        s.Controller().Commands().RemoveSelectedDownloads();
        QCOMPARE(s.Prompts().messages(), QStringList());
        QCOMPARE(s.DownIds(), QList<qint64>{done});
        QCOMPARE(folder.entryList(QDir::Files), QStringList{QStringLiteral("done.bin")});
        // Clearing a complete row leaves its file.
        s.Controller().Commands().ClearCompleteItems();
        QCOMPARE(s.DownIds(), QList<qint64>());
        QCOMPARE(folder.entryList(QDir::Files), QStringList{QStringLiteral("done.bin")});
    }

    void clearCommandsDeleteByStatus()
    {
        QueueSession s;
        QVERIFY(s.Started());
        const QStringList statuses = {"Complete", "Error", "Stopped", "Queued", "Complete"};
        QList<qint64> rows;
        for (int i = 0; i < statuses.size(); ++i) {
            rows.append(s.Queue(QStringLiteral("%1_s1k").arg(40 + i), QStringLiteral("f%1").arg(i), 1024));
            s.SetField(rows.last(), u"Download_Status", statuses[i]);
        }
        s.Controller().Commands().ClearCompleteItems();
        QCOMPARE(s.DownIds(), (QList<qint64>{rows[1], rows[2], rows[3]}));
        s.Controller().Commands().ClearStoppedItems();
        QCOMPARE(s.DownIds(), (QList<qint64>{rows[1], rows[3]}));
        s.Controller().Commands().ClearErrorItems();
        QCOMPARE(s.DownIds(), (QList<qint64>{rows[3]}));
        QVERIFY(s.Prompts().shown.isEmpty());
    }

    void movingAvailableLinksRefusesQueuedOnes()
    {
        QueueSession s;
        QVERIFY(s.Started());
        LinkStore &store = s.Controller().Store();
        for (int i = 0; i < 5; ++i) {
            const QString id = QStringLiteral("%1_s1k").arg(50 + i);
            store.rsCheckList.AddNew({{u"Sharing_Link", QueueSession::Link(id, "f.bin")},
                                      {u"Status", QStringLiteral("Available")},
                                      {u"Rapid_File_ID", id},
                                      {u"Rapid_File_Name", QStringLiteral("f%1.bin").arg(i)},
                                      {u"File_Size", QStringLiteral("1 KB")},
                                      {u"File_Size_Bytes", 1024}});
            if (i % 2 == 1)
                s.Queue(id, "f.bin", 1024);
        }
        s.Controller().cmdDownloadLinks_Click();
        QCOMPARE(s.Prompts().messages(),
                 (QStringList{QStringLiteral("Link is already exist"), QStringLiteral("Link is already exist")}));
        QCOMPARE(s.DownIds().size(), 5);
        QCOMPARE(store.rsCheckList.RecordCount(), 0);
        s.Controller().Commands().StopAllDownloads();
    }

    void hostileFileNameStaysInsideTheFolder()
    {
        QueueSession s;
        QVERIFY(s.Started());
        QTemporaryDir outside;
        const qint64 row = s.Queue("61_s2k", "../../escape.bin", 2048);
        s.Controller().StartDownload();
        QTRY_COMPARE_WITH_TIMEOUT(s.Status(row), QStringLiteral("Complete"), kTimeout);
        const QStringList written = QDir(s.DownloadFolder()).entryList(QDir::Files);
        QCOMPARE(written, QStringList{QStringLiteral("_.._escape.bin")});
        QVERIFY(!QFile::exists(QDir(s.DownloadFolder()).filePath(QStringLiteral("../../escape.bin"))));
    }

    void clearingTheCheckListDuringACheckGoesOn()
    {
        QueueSession s;
        QVERIFY(s.Started());
        s.Controller().cmdCheckLinks_Click(QueueSession::Link("71_slowcheck400", "slow.zip"));
        QTRY_VERIFY_WITH_TIMEOUT(s.checkHistory.contains(QStringLiteral("1:Checking")), kTimeout);
        s.Controller().cmdClearCheckList_Click();
        QCOMPARE(s.Controller().Store().rsCheckList.RecordCount(), 0);
        s.Controller().cmdCheckLinks_Click(QueueSession::Link("72_s1k", "next.zip"));
        QTRY_VERIFY_WITH_TIMEOUT(s.checkHistory.contains(QStringLiteral("2:Available")), kTimeout);
        QVERIFY(!s.Controller().Checker().IsChecking());
    }
};

QTEST_GUILESS_MAIN(tst_Queue)
#include "tst_queue.moc"
