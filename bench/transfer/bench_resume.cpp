// What a resume costs: a 1 GiB file from the service emulator is stopped at 50 %
// and started again. The emulator counts the body bytes it sent, so the second
// start's share of the file is measured where it is paid, on the wire. The peer
// is the same file from a server that ignores Range, as every retry was before
// partial files were kept.
//   bench_resume    prints both shares; the target for the resume is at most 52 %
#include "transfer/DownloadAsynch.h"

#include "EmulatedContent.h"
#include "ServiceEmulator.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

namespace {

constexpr qint64 kSize = qint64(1) << 30;

struct Run {
    qint64 firstSent = 0;
    qint64 secondSent = 0;
    bool whole = false;
};

// Ends when the transfer reports its end; true for Complete.
bool WaitForEnd(DownloadAsynch &downloader)
{
    bool completed = false;
    QEventLoop loop;
    const auto done = QObject::connect(&downloader, &DownloadAsynch::Complete, &loop, [&] {
        completed = true;
        loop.quit();
    });
    const auto failed = QObject::connect(&downloader, &DownloadAsynch::Error, &loop, [&] { loop.quit(); });
    const auto stopped = QObject::connect(&downloader, &DownloadAsynch::Stopped, &loop, [&] { loop.quit(); });
    loop.exec();
    QObject::disconnect(done);
    QObject::disconnect(failed);
    QObject::disconnect(stopped);
    return completed;
}

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

Run StopAtHalfAndStartAgain(ServiceEmulator &emulator, const QString &fileId, const QString &folder)
{
    Run run;
    const QString path = folder + QLatin1String("/") + fileId + QLatin1String(".bin");
    const QString partial = path + QLatin1String(".part");
    DownloadAsynch downloader;
    downloader.setDownID(1);
    downloader.setURL(emulator.Host().prepend(QLatin1String("http://")) + QLatin1String("/get/") + fileId
                      + QLatin1String("/big.bin"));
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, &downloader, [&] {
        if (QFileInfo(partial).size() >= kSize / 2)
            downloader.StopDownload(1);
    });

    downloader.setLocalFilePath(path);
    downloader.setFileSize(kSize);
    downloader.StartDownload(1);
    watch.start();
    WaitForEnd(downloader);
    watch.stop();
    run.firstSent = emulator.BodyBytesSent(fileId);

    downloader.setLocalFilePath(path);
    downloader.setPartialFilePath(partial);
    downloader.setFileSize(kSize);
    downloader.StartDownload(1);
    run.whole = WaitForEnd(downloader) && SpotCheck(path, fileId);
    run.secondSent = emulator.BodyBytesSent(fileId) - run.firstSent;
    QFile::remove(path);
    QFile::remove(partial);
    return run;
}

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
    const Run resumed = StopAtHalfAndStartAgain(emulator, QStringLiteral("1_s1g"), folder.path());
    const Run peer = StopAtHalfAndStartAgain(emulator, QStringLiteral("2_s1g_norange"), folder.path());
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
