#include "EmulatedContent.h"
#include "ServiceEmulator.h"

#include "store/LinkStore.h"
#include "support/TestListFile.h"
#include "util/AppSettings.h"
#include "util/Formatting.h"
#include "util/RecordingPrompter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct QueuedFile {
    QString fileId;
    QString fileName;
    qint64 id = -1;
    QString link;
    qint64 size = 0;
};

// Every way a body reaches the downloader, at 256 KiB/s: each row counts down
// a second or more, then transfers for one or two, so a kill lands in either.
// File id and name.
const QList<std::pair<QString, QString>> kQueue = {
    {QStringLiteral("101_s384k_rate256"), QStringLiteral("plain-notes.pdf")},
    {QStringLiteral("102_s256k_rate256_chunked"), QStringLiteral("chunked-audio.mp3")},
    {QStringLiteral("103_s320k_rate256_unsized"), QStringLiteral("unsized-photos.zip")},
    {QStringLiteral("104_s256k_rate256_r302"), QStringLiteral("found-elsewhere.rar")},
    {QStringLiteral("105_s224k_rate256_r303_chunked"), QStringLiteral("see-other.avi")},
    {QStringLiteral("106_s192k_rate256_dl1"), QStringLiteral("counted-down.iso")},
    {QStringLiteral("107_s192k_rate256_wait1_unsized"), QStringLiteral("asked-to-wait.zip")},
    {QStringLiteral("108_s448k_rate256"), QStringLiteral("plain-slides.ppt")},
};

constexpr int kKills = 12;
// A kill comes this long after the worker was started: during its start-up, a
// negotiation, a countdown or a transfer.
constexpr int kEarliestKillMs = 150;
constexpr int kLatestKillMs = 1800;
// The whole queue takes about 20 s without a kill; the kills take up to 22 s.
constexpr int kLastRunMs = 30000;

// "What went wrong" for a file that should hold `expected`.
QString ContentFault(const QByteArray &actual, const QByteArray &expected)
{
    if (actual == expected)
        return {};
    qsizetype same = 0;
    while (same < actual.size() && same < expected.size() && actual[same] == expected[same])
        ++same;
    if (same == actual.size())
        return QStringLiteral("truncated: %1 of %2 bytes").arg(actual.size()).arg(expected.size());
    return QStringLiteral("holds %1 of %2 bytes, wrong from byte %3").arg(actual.size()).arg(expected.size()).arg(same);
}

// The worker in a home of its own: the per-user store it reads lies there.
class Worker final
{
public:
    Worker(const QString &programFolder, const QString &home)
        : m_programFolder(programFolder)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const QDir dir(home);
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral(".config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral(".local/share")));
        environment.insert(QStringLiteral("XDG_STATE_HOME"), dir.filePath(QStringLiteral(".local/state")));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), dir.filePath(QStringLiteral(".cache")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home); // private to us, as a runtime folder must be
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        QObject::connect(&m_process, &QProcess::readyRead, &m_process, [this] { m_output += m_process.readAll(); });
    }
    Q_DISABLE_COPY_MOVE(Worker)

    ~Worker()
    {
        // A failed check may leave a life running.
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    static QString ConfigFile(const QString &home)
    {
        // Where QSettings(UserScope, "Velm Tidefetch") lives under XDG_CONFIG_HOME.
        return QDir(home).filePath(QStringLiteral(".config/Velm Tidefetch.conf"));
    }

    // Starts one life of the worker.
    bool Start()
    {
        ++m_lives;
        m_output += QStringLiteral("--- life %1\n").arg(m_lives).toUtf8();
        m_process.start(QStringLiteral(TIDEFETCH_QUEUE_WORKER), {m_programFolder});
        QSignalSpy started(&m_process, &QProcess::started);
        if (m_process.state() == QProcess::Running || started.wait(5000))
            return true;
        m_output += m_process.errorString().toUtf8();
        return false;
    }

    // Lets the event loop (and so the emulator) run until the worker ends or
    // `milliseconds` have passed; true when it ended.
    bool WaitForEnd(int milliseconds)
    {
        if (m_process.state() == QProcess::NotRunning)
            return true;
        QSignalSpy finished(&m_process, &QProcess::finished);
        return finished.wait(milliseconds) || m_process.state() == QProcess::NotRunning;
    }

    // SIGKILL: nothing of the worker runs after it, no handler, no flush. False
    // when the worker had ended by itself first.
    bool Kill()
    {
        m_process.kill();
        return WaitForEnd(5000) && m_process.exitStatus() == QProcess::CrashExit;
    }

    bool EndedWell() const
    {
        return m_process.state() == QProcess::NotRunning && m_process.exitStatus() == QProcess::NormalExit
            && m_process.exitCode() == 0;
    }

    QByteArray Output() const { return m_output; }

private:
    QString m_programFolder;
    QProcess m_process;
    QByteArray m_output;
    int m_lives = 0;
};

struct StoredRow {
    qint64 id = -1;
    QString link;
    QString status;
    QString localName;
    qint64 downloaded = -1;
    qint64 size = -1;
};

// The download list as the file holds it, in ID order, and the file's own
// verdict on its pages and indexes.
QList<StoredRow> ReadDownList(const QString &path, QString *integrity)
{
    QList<StoredRow> rows;
    const QString connection = QStringLiteral("killrestart-check");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("PRAGMA integrity_check")) && query.next())
                *integrity = query.value(0).toString();
            query.exec(QStringLiteral("Select ID, Sharing_Link, Download_Status, Local_File_Name, Downloaded_Bytes, "
                                      "File_Size_Bytes From DownList Order By ID"));
            while (query.next())
                rows.append({query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString(),
                             query.value(3).toString(), query.value(4).toLongLong(), query.value(5).toLongLong()});
        } else {
            *integrity = db.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return rows;
}

// Every fault of every row and of the download folder, one line each: the
// list tells all that the kills broke. `rows` are `queue`'s, in its order.
QStringList DownloadFaults(const QList<QueuedFile> &queue, const QList<StoredRow> &rows, const QDir &folder)
{
    QStringList faults;
    QStringList claimed;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const StoredRow &row = rows.at(i);
        const QueuedFile &file = queue.at(i);
        const auto fault = [&faults, &file](const QString &text) {
            faults.append(file.fileId + QLatin1String(": ") + text);
        };
        if (row.status != QLatin1String("Complete"))
            fault(QStringLiteral("status \"%1\"").arg(row.status));
        if (row.downloaded != file.size)
            fault(QStringLiteral("Downloaded_Bytes %1 of %2").arg(row.downloaded).arg(file.size));
        if (row.size != file.size)
            fault(QStringLiteral("File_Size_Bytes %1 of %2").arg(row.size).arg(file.size));
        // The folder started empty and the names differ: each keeps its own name.
        if (row.localName != file.fileName)
            fault(QStringLiteral("Local_File_Name \"%1\"").arg(row.localName));
        if (row.localName.isEmpty() || row.localName.contains(QLatin1Char('/')))
            continue;
        if (claimed.contains(row.localName)) {
            fault(QStringLiteral("\"%1\" is another row's file too").arg(row.localName));
            continue;
        }
        claimed.append(row.localName);
        QFile written(folder.filePath(row.localName));
        if (!written.open(QIODevice::ReadOnly)) {
            fault(QStringLiteral("no file \"%1\"").arg(row.localName));
            continue;
        }
        const QString content = ContentFault(written.readAll(), EmulatedContent::Bytes(file.fileId, 0, file.size));
        if (!content.isEmpty())
            fault(QStringLiteral("\"%1\" %2").arg(row.localName, content));
    }
    const QStringList present =
        folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : present) {
        if (!claimed.contains(name))
            faults.append(QStringLiteral("left in the download folder: \"%1\"").arg(name));
    }
    return faults;
}

} // namespace

class tst_KillRestart final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
    }

    void queueSurvivesKillsAndRestarts()
    {
        ServiceEmulator emulator;
        QVERIFY(emulator.Listen());
        TestListFile program;
        QVERIFY(program.IsValid());
        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QString downloads = home.filePath(QStringLiteral("downloads"));
        QVERIFY(QDir().mkpath(downloads));
        {
            AppSettings settings(Worker::ConfigFile(home.path()));
            settings.SetValue(QStringLiteral("Services"), QStringLiteral("ApiHost"), emulator.Host());
            settings.SetValue(QStringLiteral("Services"), QStringLiteral("FileServerHost"), emulator.Host());
            settings.SetDownPath(downloads);
        }

        // Added as "Download Available Links" would, with the size the check reports.
        QList<QueuedFile> queue;
        {
            RecordingPrompter prompter;
            LinkStore store(program.Path(), prompter);
            QVERIFY(store.LoadTable(QStringLiteral("Select * From DownList"), &store.rsDownList));
            for (const auto &[fileId, fileName] : kQueue) {
                QueuedFile &file = queue.emplace_back();
                file.fileId = fileId;
                file.fileName = fileName;
                file.link = QStringLiteral("http://rapidshare.com/files/%1/%2").arg(fileId, fileName);
                file.size = emulator.FindFile(file.fileId).value().size;
                const QString sizeText = Formatting::FormatFileSize(file.size);
                QVERIFY(store.AddToDownList(file.link, fileId, fileName, sizeText, file.size));
                file.id = store.rsDownList.ID();
            }
        }

        const QByteArray seedText = qgetenv("TIDEFETCH_KILL_SEED");
        const quint32 seed = seedText.isEmpty() ? QRandomGenerator::global()->generate() : seedText.toUInt();
        qInfo("kill seed %u (TIDEFETCH_KILL_SEED=%u repeats it)", seed, seed);
        QRandomGenerator random(seed);

        Worker worker(program.Folder(), home.path());
        QStringList killedAfter;
        for (int kill = 0; kill < kKills; ++kill) {
            const int lifeMs = int(random.bounded(kEarliestKillMs, kLatestKillMs + 1));
            QVERIFY2(worker.Start(), worker.Output().constData());
            if (!worker.WaitForEnd(lifeMs) && worker.Kill()) {
                killedAfter.append(QString::number(lifeMs));
                continue;
            }
            // The worker ended by itself: the queue ran dry before this kill.
            QVERIFY2(worker.EndedWell(), worker.Output().constData());
            break;
        }
        qInfo("killed %lld times, after (ms): %s", qlonglong(killedAfter.size()), qPrintable(killedAfter.join(' ')));

        QElapsedTimer lastRun;
        lastRun.start();
        QVERIFY2(worker.Start(), worker.Output().constData());
        QVERIFY2(worker.WaitForEnd(kLastRunMs),
                 qPrintable(QStringLiteral("not ended after %1 ms\n").arg(kLastRunMs) + worker.Output()));
        QVERIFY2(worker.EndedWell(), worker.Output().constData());
        qInfo("the last run took %lld ms", qlonglong(lastRun.elapsed()));
        // Without its settings the worker would have asked the real service.
        QVERIFY2(!emulator.Requests().isEmpty(), worker.Output().constData());

        QString integrity;
        const QList<StoredRow> rows = ReadDownList(program.Path(), &integrity);
        QCOMPARE(integrity, QStringLiteral("ok"));

        // No row lost, doubled or changed into another.
        QStringList stored;
        for (const StoredRow &row : rows)
            stored.append(QString::number(row.id) + QLatin1Char(' ') + row.link);
        QStringList inserted;
        for (const QueuedFile &file : queue)
            inserted.append(QString::number(file.id) + QLatin1Char(' ') + file.link);
        QCOMPARE(stored, inserted);

        // One line each: a failure message would be cut short.
        const QStringList faults = DownloadFaults(queue, rows, QDir(downloads));
        for (const QString &text : faults)
            qWarning("%s", qPrintable(text));
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 faults, listed above").arg(faults.size())));
    }
};

QTEST_GUILESS_MAIN(tst_KillRestart)
#include "tst_killrestart.moc"
