#include "transfer/DownloadAsynch.h"

#include "ScriptedHttpServer.h"

#include <QFile>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

class tst_downloadasynch_large final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void overFourGiB();
};

void tst_downloadasynch_large::overFourGiB()
{
    const qint64 size = (qint64(4) << 30) + 4099;
    QTemporaryDir dir;
    if (QStorageInfo(dir.path()).bytesAvailable() < size + (qint64(1) << 30))
        QSKIP("not enough free space for a file over 4 GiB");
    ScriptedHttpServer server;
    server.route("/big", {ScriptedHttpServer::Send("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(size) + "\r\n\r\n"),
                          ScriptedHttpServer::SendPattern(0, size)});
    DownloadAsynch downloader;
    QSignalSpy fileBegin(&downloader, &DownloadAsynch::FileBegin);
    QSignalSpy progress(&downloader, &DownloadAsynch::Progress);
    QSignalSpy complete(&downloader, &DownloadAsynch::Complete);
    QSignalSpy error(&downloader, &DownloadAsynch::Error);
    downloader.setTmrSpeedInterval(100);
    downloader.setURL(server.base() + QLatin1String("/big"));
    const QString path = dir.filePath(QStringLiteral("big.bin"));
    downloader.setLocalFilePath(path);
    downloader.StartDownload(1);
    QTRY_VERIFY_WITH_TIMEOUT(!complete.isEmpty() || !error.isEmpty(), 240000);
    QCOMPARE(error.count(), 0);
    QCOMPARE(complete.count(), 1);
    QCOMPARE(fileBegin.first().at(1).toLongLong(), size);
    QFile file(path);
    QCOMPARE(file.size(), size);
    for (const QList<QVariant> &event : std::as_const(progress))
        QCOMPARE(event.at(3).toLongLong() + event.at(4).toLongLong(), size);
    // Bytes on both sides of the 4 GiB mark are where they belong.
    QVERIFY(file.open(QIODevice::ReadOnly));
    for (const qint64 at : {qint64(0), (qint64(4) << 30) - 8, size - 16}) {
        QVERIFY(file.seek(at));
        QCOMPARE(file.read(16), ScriptedHttpServer::Pattern(at, qMin<qint64>(16, size - at)));
    }
}

QTEST_GUILESS_MAIN(tst_downloadasynch_large)
#include "tst_downloadasynch_large.moc"
