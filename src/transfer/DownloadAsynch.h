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
class QSslError;
class QTcpSocket;
class QTimer;

// The downloader: fetches one URL at a time over its own HTTP/1.1 request, plain
// or over TLS for https (trusting what TlsTrust trusts, never ignoring a
// certificate error), follows redirects, and streams the body into a partial file
// ("<free name>.part"). Only a body verified whole takes its final name, and the
// rename never replaces a file. A partial file that is already there is resumed
// with a Range request. Every stage is reported through the five events, each
// carrying `DownID`.
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
    // The file wanted; a taken name gives way to the next free one. A new path
    // forgets the partial file of the last one.
    void setLocalFilePath(const QString &path)
    {
        m_localFilePath = path;
        m_partialPath.clear();
    }
    // The partial file to write, resumed when it holds bytes; when empty at the
    // start, "<free name>.part" is chosen from `LocalFilePath`.
    QString PartialFilePath() const { return m_partialPath; }
    void setPartialFilePath(const QString &path) { m_partialPath = path; }
    // The name the last complete file was given (valid from `Complete` on).
    QString FinalFilePath() const { return m_finalPath; }
    // Expected size in bytes, 0 = unknown; a Content-Length overwrites it for the
    // percentages. A size set for the next transfer is also held against its
    // whole body: a body of another size is an error.
    qint64 FileSize() const { return m_fileSize; }
    void setFileSize(qint64 size)
    {
        m_fileSize = size;
        m_presetSize = size;
    }
    bool RemoteFileExist() const { return false; }
    // A direct link (any http or https address) follows 301, 302, 303, 307 and 308
    // to RFC 3986 references on either scheme; a service link only 302 and 303 to
    // http, as HttpAddress::Resolve reads them. Applies from the next start and
    // stays until it is set again.
    void setDirectLink(bool direct) { m_directLink = direct; }

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
    // When `iID` is `DownID`: ends the transfer and raises `Stopped` before
    // returning. The partial file stays, so a new start resumes it.
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
    void WS_SslErrors(const QList<QSslError> &errors);
    bool IsRedirect(int code) const;
    bool FollowRedirect(const QByteArray &location);
    void QueueDrain();
    bool IsTls() const { return m_address.scheme == HttpAddress::Scheme::Https; }
    // Reads what has arrived; false once the transfer ended (completed, failed or cut).
    bool Drain();
    bool DrainPlain();
    bool DrainTls();
    bool ReadBlock(); // one read into the block, handed on
    bool Consume(const char *data, qint64 size);
    bool TakeHead(const char *data, qint64 size);
    bool AcceptPartialContent();
    bool RestartFromZero();
    bool EmptyPartialFile(); // open and empty; false once failed
    bool TakeBody(const char *data, qint64 size);
    bool WriteBody(const char *data, qint64 size);
    void EndOfStream(bool reset);
    bool OpenTarget(QString *error);
    QString CutDescription(const QString &how) const;

    void Finish(Phase phase);
    // Drops the partial file when this attempt made it and wrote nothing into it.
    void DropEmptyPartial();
    void Succeed();
    void Fail(const QString &description);
    void tmrSpeed_Timer();
    void tmrWiat_Timer();

    Prompter *m_prompter;
    int m_downID = 0;
    QString m_url;
    QString m_localFilePath;
    QString m_partialPath;
    QString m_finalPath;
    qint64 m_fileSize = 0;
    qint64 m_presetSize = 0;   // set by the host for the next transfer
    qint64 m_expectedSize = 0; // the size known when the transfer started
    bool m_directLink = false;
    int m_speedInterval = 1000;
    int m_wiatInterval = 60000;

    int m_slot = 0;
    Phase m_phase = Phase::Idle;
    quint64 m_serial = 0; // changes whenever a transfer starts or ends
    int m_redirects = 0;
    bool m_direct = false; // the redirect rules of the transfer running
    HttpAddress m_address;
    QTcpSocket *m_socket = nullptr; // a QSslSocket for https
    bool m_drainQueued = false; // a TLS read waits for the next turn of the loop
    QString m_certificateProblem; // the errors of the last handshake
    HttpResponseHead m_head;
    HttpResponseHead::Framing m_framing = HttpResponseHead::Framing::UntilClose;
    qint64 m_bodyRemaining = 0;
    ChunkedDecoder m_chunks;
    QFile m_file;
    bool m_createdFile = false;
    qint64 m_rangeStart = 0; // the offset asked for with Range; 0 = the whole file
    std::unique_ptr<char[]> m_block;
    TransferMeter m_meter;
    QTimer *m_tmrSpeed;
    QTimer *m_tmrWiat;
    QElapsedTimer m_lastArrival;
};
