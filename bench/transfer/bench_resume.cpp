// What a resume costs: a 1 GiB file from the service emulator is stopped at 50 %
// and started again. The emulator counts the body bytes it sent, so the second
// start's share of the file is measured where it is paid, on the wire. The peer
// is the same file from a server that ignores Range, as every retry was before
// partial files were kept.
//   bench_resume    prints both shares; the target for the resume is at most 52 %
#include "transfer/DownloadAsynch.h"
#include "transfer/PartialFile.h"

#include "EmulatedContent.h"
#include "ServiceEmulator.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <functional>

namespace {

constexpr qint64 kSize = qint64(1) << 30;

struct Run {
    qint64 firstSent = 0;
    qint64 secondSent = 0;
    bool whole = false;
};

// The file's bytes at a few places, against the emulator's own.
bool SpotCheck(const QString &path, const QString &fileId)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() != kSize)
        return false;
    for (const qint64 offset : {qint64(0), kSize / 2 - 4096, kSize / 2 + 12345, kSize - 65536}) {
        file.seek(offset);
        if (file.read(65536) != EmulatedContent::Bytes(fileId, offset, 65536))
            return false;
    }
    return true;
}

// Downloads one emulated file, stops it once half of it is in the partial file,
// starts it again and hands the counts to `done`; driven by the downloader's
// events on the one event loop.
class StopAndResume final
{
    Q_DISABLE_COPY_MOVE(StopAndResume)

public:
    StopAndResume(ServiceEmulator &emulator, const QString &fileId, const QString &folder,
                  std::function<void(const Run &)> done)
        : m_emulator(emulator)
        , m_fileId(fileId)
        , m_path(folder + QLatin1Char('/') + fileId + QLatin1String(".bin"))
        , m_done(std::move(done))
    {
        m_downloader.setDownID(1);
        m_downloader.setURL(QLatin1String("http://") + emulator.Host() + QLatin1String("/get/") + fileId
                            + QLatin1String("/big.bin"));
        m_watch.setInterval(5);
        QObject::connect(&m_watch, &QTimer::timeout, &m_downloader, [this] {
            if (QFileInfo(Partial()).size() >= kSize / 2)
                m_downloader.StopDownload(1);
        });
        // The next step runs after the event's own handling has returned.
        QObject::connect(&m_downloader, &DownloadAsynch::Stopped, &m_downloader, [this] { StartAgain(); },
                         Qt::QueuedConnection);
        QObject::connect(&m_downloader, &DownloadAsynch::Complete, &m_downloader, [this] { End(true); },
                         Qt::QueuedConnection);
        QObject::connect(&m_downloader, &DownloadAsynch::Error, &m_downloader, [this] { End(false); },
                         Qt::QueuedConnection);
    }

    void Start()
    {
        m_downloader.setLocalFilePath(m_path);
        m_downloader.setFileSize(kSize);
        m_downloader.StartDownload(1);
        m_watch.start();
    }

private:
    QString Partial() const { return m_path + PartialFile::Suffix; }

    void StartAgain()
    {
        m_watch.stop();
        m_run.firstSent = m_emulator.BodyBytesSent(m_fileId);
        m_downloader.setLocalFilePath(m_path);
        m_downloader.setPartialFilePath(Partial());
        m_downloader.setFileSize(kSize);
        m_downloader.StartDownload(1);
    }

    void End(bool completed)
    {
        m_watch.stop();
        m_run.whole = completed && SpotCheck(m_path, m_fileId);
        m_run.secondSent = m_emulator.BodyBytesSent(m_fileId) - m_run.firstSent;
        QFile::remove(m_path);
        QFile::remove(Partial());
        m_done(m_run);
    }

    ServiceEmulator &m_emulator;
    QString m_fileId;
    QString m_path;
    std::function<void(const Run &)> m_done;
    DownloadAsynch m_downloader;
    QTimer m_watch;
    Run m_run;
};

QString Percent(qint64 part)
{
    return QString::number(100.0 * double(part) / double(kSize), 'f', 1) + QLatin1String(" %");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    ServiceEmulator emulator;
    QTemporaryDir folder;
    if (!emulator.Listen() || !folder.isValid()) {
        out << "bench_resume: cannot start the emulator or make a folder\n";
        return 1;
    }
    Run resumed;
    Run peer;
    // The peer runs after the resume, so the two never share the wire.
    StopAndResume peerRun(emulator, QStringLiteral("2_s1g_norange"), folder.path(), [&](const Run &run) {
        peer = run;
        QCoreApplication::quit();
    });
    StopAndResume resumeRun(emulator, QStringLiteral("1_s1g"), folder.path(), [&](const Run &run) {
        resumed = run;
        peerRun.Start();
    });
    resumeRun.Start();
    QCoreApplication::exec();

    out << "1 GiB file stopped at 50 % and started again; body bytes the server sent\n";
    out << QStringLiteral("%1 %2 %3 %4\n").arg(QString(), -36).arg(QStringLiteral("first start"), 14)
               .arg(QStringLiteral("second start"), 14).arg(QStringLiteral("file whole"), 11);
    for (const auto &[label, run] : {std::pair{QStringLiteral("resume (Range)"), resumed},
                                     std::pair{QStringLiteral("peer: server ignores Range"), peer}})
        out << QStringLiteral("%1 %2 %3 %4\n").arg(label, -36).arg(Percent(run.firstSent), 14)
                   .arg(Percent(run.secondSent), 14).arg(run.whole ? QStringLiteral("yes") : QStringLiteral("NO"), 11);
    out << "target: the second start of the resume sends at most 52 % of the file: "
        << (resumed.secondSent <= kSize * 52 / 100 && resumed.whole ? "met" : "MISSED") << '\n';
    return resumed.whole && peer.whole ? 0 : 1;
}
