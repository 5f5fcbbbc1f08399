#pragma once

#include "transfer/ChunkedDecoder.h"
#include "transfer/HttpAddress.h"
#include "transfer/HttpResponseHead.h"
#include "transfer/TransferMeter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QString>

#include <memory>

class Prompter;
class QTcpSocket;
class QTimer;

// The downloader: fetches one URL at a time over its own HTTP/1.1 request, follows
// "302" and "303" redirects, and streams the body into a free local file name.
// Every stage is reported through the five events, each carrying `DownID`.
//
// Events may be handled by direct connections that call back into the object
// (a `Stopped` handler starting the next transfer, say): every event is the last
// thing a step does with the transfer it reports.
class DownloadAsynch final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DownloadAsynch)

public:
    // `prompter` shows the start failures; it may be null (no message box).
    explicit DownloadAsynch(Prompter *prompter = nullptr, QObject *parent = nullptr);
    ~DownloadAsynch() override;

    int DownID() const { return m_downID; }
    void setDownID(int id) { m_downID = id; }
    QString URL() const { return m_url; }
    void setURL(const QString &url) { m_url = url; }
    // Write only: at connection time the path is replaced by the free file name.
    void setLocalFilePath(const QString &path) { m_localFilePath = path; }
    // Expected size in bytes, 0 = unknown; a Content-Length overwrites it.
    qint64 FileSize() const { return m_fileSize; }
    void setFileSize(qint64 size) { m_fileSize = size; }
    bool RemoteFileExist() const { return false; }

    // Periods of the metering tick (1000 ms) and of the inactivity watchdog
    // (60000 ms); a change applies from the next start of the timer.
    int tmrSpeedInterval() const { return m_speedInterval; }
    void setTmrSpeedInterval(int milliseconds) { m_speedInterval = milliseconds; }
    int tmrWiatInterval() const { return m_wiatInterval; }
    void setTmrWiatInterval(int milliseconds) { m_wiatInterval = milliseconds; }

    static constexpr int MaxRedirects = 10;
    static constexpr qint64 BlockSize = 256 * 1024;

public Q_SLOTS:
    // Starts fetching `URL` into `LocalFilePath`; `iIndex` is the slot, 0 to 8.
    void StartDownload(int iIndex);
    // When `iID` is `DownID`: ends the transfer, raises `Stopped` before returning
    // and then deletes the file the unfinished transfer was writing.
    void StopDownload(int iID);

Q_SIGNALS:
    void FileBegin(int iID, qint64 iFileSize);
    void Progress(int iID, double iValue, qint64 iBytesPerSecond, qint64 iDownloadedBytes, qint64 iRemainBytes,
                  double iRemainTimeInSeconds);
    void Complete(int iID);
    void Stopped(int iID);
    void Error(int iID, const QString &sDesc);

private:
    enum class Phase { Idle, Connecting, AwaitingHead, Body, Completed, Failed, Stopped };

    void Connect(const HttpAddress &address);
    void DropSocket();
    void WS_Connect();
    void WS_DataArrival();
    void WS_Close();
    void WS_Error();
    bool Drain();
    bool Consume(const char *data, qint64 size);
    bool TakeHead(const char *data, qint64 size);
    bool TakeBody(const char *data, qint64 size);
    bool WriteBody(const char *data, qint64 size);
    void EndOfStream();
    bool OpenTarget(QString *error);

    void Finish(Phase phase);
    void Succeed();
    void Fail(const QString &description);
    void tmrSpeed_Timer();
    void tmrWiat_Timer();

    Prompter *m_prompter;
    int m_downID = 0;
    QString m_url;
    QString m_localFilePath;
    qint64 m_fileSize = 0;
    int m_speedInterval = 1000;
    int m_wiatInterval = 60000;

    int m_slot = 0;
    Phase m_phase = Phase::Idle;
    quint64 m_serial = 0; // changes whenever a transfer starts or ends
    int m_redirects = 0;
    HttpAddress m_address;
    QTcpSocket *m_socket = nullptr;
    HttpResponseHead m_head;
    HttpResponseHead::Framing m_framing = HttpResponseHead::Framing::UntilClose;
    qint64 m_bodyRemaining = 0;
    ChunkedDecoder m_chunks;
    QFile m_file;
    QString m_partialPath; // the file of this transfer while it is unfinished
    bool m_createdFile = false;
    std::unique_ptr<char[]> m_block;
    TransferMeter m_meter;
    QTimer *m_tmrSpeed;
    QTimer *m_tmrWiat;
    QElapsedTimer m_lastArrival;
};
