#include "transfer/DownloadAsynch.h"

#include "util/FileFolder.h"
#include "util/Prompter.h"

#include <QFileInfo>
#include <QTcpSocket>
#include <QTimer>

namespace {

const QString kConnectionError = QStringLiteral("Connection Error");

// Reads per socket notification before the event loop gets its turn again, so
// timers and user commands stay responsive on a fast link.
constexpr int kReadsPerEvent = 8;

} // namespace

DownloadAsynch::DownloadAsynch(Prompter *prompter, QObject *parent)
    : QObject(parent)
    , m_prompter(prompter)
    , m_block(new char[BlockSize])
    , m_tmrSpeed(new QTimer(this))
    , m_tmrWiat(new QTimer(this))
{
    m_tmrWiat->setSingleShot(true);
    connect(m_tmrSpeed, &QTimer::timeout, this, &DownloadAsynch::tmrSpeed_Timer);
    connect(m_tmrWiat, &QTimer::timeout, this, &DownloadAsynch::tmrWiat_Timer);
}

DownloadAsynch::~DownloadAsynch()
{
    DropSocket();
}

void DownloadAsynch::StartDownload(int iIndex)
{
    // A transfer still running is given up without an event; its file stays.
    Finish(Phase::Idle);
    m_slot = iIndex;
    m_meter.Restart();
    m_redirects = 0;
    m_partialPath.clear();
    m_createdFile = false;
    if (m_url.isEmpty() || m_localFilePath.isEmpty()) {
        Fail(QStringLiteral("URL is empty or LocalFile is not set, Download can not be started"));
        return;
    }
    HttpAddress address;
    QString error;
    if (!HttpAddress::FromUrl(m_url, &address, &error)) {
        Prompter *prompter = m_prompter;
        Fail(error);
        if (prompter)
            prompter->showMessage(Prompter::Icon::Critical, QStringLiteral("Tidefetch"), error);
        return;
    }
    Connect(address);
}

void DownloadAsynch::StopDownload(int iID)
{
    if (iID != m_downID)
        return;
    const QString partial = m_partialPath;
    Finish(Phase::Stopped);
    m_partialPath.clear();
    Q_EMIT Stopped(iID);
    // Only the file this transfer was writing goes, never a finished download or
    // a file that was there before; the handler above may have started the next
    // transfer, which has not opened its file yet.
    if (!partial.isEmpty()) {
        QFile file(partial);
        file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
        file.remove();
    }
}

void DownloadAsynch::Connect(const HttpAddress &address)
{
    DropSocket();
    m_address = address;
    m_phase = Phase::Connecting;
    m_head.Reset();
    // A new socket per connection: the old one may still be inside its own signal.
    m_socket = new QTcpSocket(this);
    connect(m_socket, &QTcpSocket::connected, this, &DownloadAsynch::WS_Connect);
    connect(m_socket, &QTcpSocket::readyRead, this, &DownloadAsynch::WS_DataArrival);
    connect(m_socket, &QTcpSocket::disconnected, this, &DownloadAsynch::WS_Close);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &DownloadAsynch::WS_Error);
    // Unbuffered: each read goes from the kernel straight into our block.
    m_socket->connectToHost(address.host, address.port, QIODevice::ReadWrite | QIODevice::Unbuffered);
}

void DownloadAsynch::DropSocket()
{
    if (!m_socket)
        return;
    m_socket->disconnect(this);
    m_socket->abort();
    m_socket->deleteLater();
    m_socket = nullptr;
}

void DownloadAsynch::WS_Connect()
{
    if (m_slot < 0 || m_slot > 8) {
        Fail(QStringLiteral("Download slot %1 is out of range (0 to 8)").arg(m_slot));
        return;
    }
    if (!m_file.isOpen()) {
        QString error;
        if (!OpenTarget(&error)) {
            Fail(error);
            return;
        }
    }
    m_socket->write(m_address.Request());
    m_phase = Phase::AwaitingHead;
    m_lastArrival.restart();
    if (!m_tmrWiat->isActive())
        m_tmrWiat->start(m_wiatInterval);
}

bool DownloadAsynch::OpenTarget(QString *error)
{
    FileFolder::CreateFolderPath(QFileInfo(m_localFilePath).absolutePath());
    FileFolder::GetUniqueFileName(m_localFilePath);
    m_createdFile = !QFileInfo::exists(m_localFilePath);
    m_file.setFileName(m_localFilePath);
    // Unbuffered: every block goes to the file in one write, no copy on the way.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *error = m_file.errorString();
        m_createdFile = false;
        return false;
    }
    m_partialPath = m_localFilePath;
    return true;
}

void DownloadAsynch::WS_DataArrival()
{
    Drain();
}

void DownloadAsynch::WS_Close()
{
    if (Drain())
        EndOfStream();
}

void DownloadAsynch::WS_Error()
{
    if (m_socket->error() == QAbstractSocket::RemoteHostClosedError) {
        if (Drain())
            EndOfStream();
        return;
    }
    Fail(m_socket->errorString());
}

bool DownloadAsynch::Drain()
{
    QTcpSocket *socket = m_socket;
    m_lastArrival.restart();
    for (int i = 0; i < kReadsPerEvent; ++i) {
        const qint64 count = socket->read(m_block.get(), BlockSize);
        if (count == 0)
            return true;
        if (count < 0) {
            if (socket->error() == QAbstractSocket::RemoteHostClosedError)
                EndOfStream();
            else
                Fail(socket->errorString());
            return false;
        }
        if (!Consume(m_block.get(), count))
            return false;
    }
    return true;
}

bool DownloadAsynch::Consume(const char *data, qint64 size)
{
    return m_phase == Phase::AwaitingHead ? TakeHead(data, size) : TakeBody(data, size);
}

bool DownloadAsynch::TakeHead(const char *data, qint64 size)
{
    qint64 consumed = 0;
    const HttpResponseHead::Status status = m_head.Feed(data, size, &consumed);
    if (status == HttpResponseHead::Status::NeedMore)
        return true;
    if (status == HttpResponseHead::Status::Error) {
        Fail(kConnectionError);
        return false;
    }
    const int code = m_head.StatusCode();
    const QByteArray location = m_head.Value("Location");
    if ((code == 302 || code == 303) && !location.isEmpty()) {
        if (++m_redirects > MaxRedirects) {
            Fail(kConnectionError);
            return false;
        }
        HttpAddress next;
        QString error;
        if (!HttpAddress::Resolve(m_address, location, &next, &error)) {
            Fail(error);
            return false;
        }
        Connect(next);
        return false;
    }
    // Only a 200 reply has a body for the file; an error page never lands there.
    if (code != 200) {
        Fail(kConnectionError);
        return false;
    }
    m_framing = m_head.BodyFraming();
    m_bodyRemaining = m_head.ContentLength();
    m_chunks.Reset();
    m_phase = Phase::Body;
    m_tmrSpeed->start(m_speedInterval);
    if (m_framing == HttpResponseHead::Framing::Length) {
        m_fileSize = m_bodyRemaining;
        const quint64 serial = m_serial;
        Q_EMIT FileBegin(m_downID, m_fileSize);
        if (serial != m_serial)
            return false;
        if (m_bodyRemaining == 0) {
            Succeed();
            return false;
        }
    }
    return TakeBody(data + consumed, size - consumed);
}

bool DownloadAsynch::TakeBody(const char *data, qint64 size)
{
    switch (m_framing) {
    case HttpResponseHead::Framing::Length: {
        // Bytes past the announced length are not part of the file.
        const qint64 take = qMin(size, m_bodyRemaining);
        if (!WriteBody(data, take))
            return false;
        m_bodyRemaining -= take;
        if (m_bodyRemaining == 0) {
            Succeed();
            return false;
        }
        return true;
    }
    case HttpResponseHead::Framing::UntilClose:
        return WriteBody(data, size);
    case HttpResponseHead::Framing::Chunked:
        while (size > 0) {
            const ChunkedDecoder::Step step = m_chunks.Next(data, size);
            if (step.dataSize > 0 && !WriteBody(data + step.dataOffset, step.dataSize))
                return false;
            if (step.status == ChunkedDecoder::Status::Done) {
                Succeed();
                return false;
            }
            if (step.status == ChunkedDecoder::Status::Error) {
                Fail(kConnectionError);
                return false;
            }
            data += step.consumed;
            size -= step.consumed;
        }
        return true;
    }
    return false;
}

bool DownloadAsynch::WriteBody(const char *data, qint64 size)
{
    if (size == 0)
        return true;
    if (m_file.write(data, size) != size) {
        Fail(m_file.errorString());
        return false;
    }
    m_meter.AddBytes(size);
    return true;
}

void DownloadAsynch::EndOfStream()
{
    // The server closed the connection: the body is whole only when its own
    // framing says so.
    const bool whole = m_phase == Phase::Body
        && (m_framing == HttpResponseHead::Framing::UntilClose
            || (m_framing == HttpResponseHead::Framing::Chunked && m_chunks.LastChunkSeen()));
    if (whole)
        Succeed();
    else
        Fail(kConnectionError);
}

void DownloadAsynch::Finish(Phase phase)
{
    m_tmrSpeed->stop();
    m_tmrWiat->stop();
    DropSocket();
    if (m_file.isOpen())
        m_file.close();
    m_phase = phase;
    ++m_serial;
}

void DownloadAsynch::Succeed()
{
    m_file.close();
    if (m_file.error() != QFileDevice::NoError) {
        Fail(m_file.errorString());
        return;
    }
    Finish(Phase::Completed);
    m_partialPath.clear();
    Q_EMIT Complete(m_downID);
}

void DownloadAsynch::Fail(const QString &description)
{
    const QString text = description;
    const bool bodyStarted = m_phase == Phase::Body;
    Finish(Phase::Failed);
    if (!bodyStarted) {
        // No body byte was written: the empty file made for it goes again.
        if (m_createdFile)
            QFile::remove(m_partialPath);
        m_partialPath.clear();
    }
    Q_EMIT Error(m_downID, text);
}

void DownloadAsynch::tmrSpeed_Timer()
{
    const TransferMeter::Reading reading = m_meter.Tick(m_fileSize);
    Q_EMIT Progress(m_downID, reading.percent, reading.bytesPerSecond, reading.downloaded, reading.remainBytes,
                    reading.remainSeconds);
}

void DownloadAsynch::tmrWiat_Timer()
{
    // Armed once per connection; data arrivals only note their time, so a busy
    // transfer pays nothing per block for the watchdog.
    const qint64 quiet = m_lastArrival.elapsed();
    if (quiet < m_wiatInterval) {
        m_tmrWiat->start(int(m_wiatInterval - quiet));
        return;
    }
    Fail(kConnectionError);
}
