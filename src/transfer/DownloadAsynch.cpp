#include "transfer/DownloadAsynch.h"

#include "transfer/ConnectionEnd.h"
#include "transfer/ContentRange.h"
#include "transfer/PartialFile.h"
#include "transfer/TlsTrust.h"
#include "transfer/TransferLog.h"
#include "util/FileFolder.h"
#include "util/Formatting.h"
#include "util/Prompter.h"

#include <QFileInfo>
#include <QSslSocket>
#include <QTimer>

namespace {

const QString kConnectionError = QStringLiteral("Connection Error");

// Reads per socket notification before the event loop gets its turn again, so
// timers and user commands stay responsive on a fast link.
constexpr int kReadsPerEvent = 8;

// What QSslSocket reads from the kernel and decrypts ahead of us. Unlimited, it
// takes in megabytes at a time and allocates and frees them per read; much less
// and the writes to the file get small. Measured on loopback against curl.
constexpr qint64 kTlsReadBuffer = 128 * 1024;
static_assert(kTlsReadBuffer <= DownloadAsynch::BlockSize, "one read takes what the socket holds");

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
    m_direct = m_directLink;
    m_createdFile = false;
    m_rangeStart = 0;
    m_finalPath.clear();
    // Only a size the host gave for this transfer is held against the body.
    m_expectedSize = m_presetSize;
    m_presetSize = 0;
    if (m_url.isEmpty() || m_localFilePath.isEmpty()) {
        Fail(QStringLiteral("URL is empty or LocalFile is not set, Download can not be started"));
        return;
    }
    HttpAddress address;
    QString error;
    const bool parsed = m_direct ? HttpAddress::FromWebUrl(m_url, &address, &error)
                                 : HttpAddress::FromUrl(m_url, &address, &error);
    if (!parsed) {
        Prompter *prompter = m_prompter;
        Fail(error);
        if (prompter)
            prompter->showMessage(Prompter::Icon::Critical, QStringLiteral("Tidefetch"), error);
        return;
    }
    if (m_partialPath.isEmpty())
        m_partialPath = PartialFile::ChooseFor(m_localFilePath);
    // Bytes already in the partial file are asked for no more; a file as large as
    // the whole is not trusted and comes again from the start.
    const QFileInfo partial(m_partialPath);
    if (partial.isFile() && partial.size() > 0 && (m_expectedSize <= 0 || partial.size() < m_expectedSize))
        m_rangeStart = partial.size();
    qCDebug(lcTransfer) << "row" << m_downID << "from" << m_url << "into" << m_partialPath << "at byte" << m_rangeStart;
    Connect(address);
}

void DownloadAsynch::StopDownload(int iID)
{
    if (iID != m_downID)
        return;
    Finish(Phase::Stopped);
    DropEmptyPartial();
    Q_EMIT Stopped(iID);
}

void DownloadAsynch::Connect(const HttpAddress &address)
{
    DropSocket();
    m_address = address;
    m_phase = Phase::Connecting;
    m_head.Reset();
    m_drainQueued = false;
    m_certificateProblem.clear();
    // A new socket per connection: the old one may still be inside its own signal.
    if (!IsTls()) {
        m_socket = new QTcpSocket(this);
        connect(m_socket, &QTcpSocket::connected, this, &DownloadAsynch::WS_Connect);
    } else {
        auto *socket = new QSslSocket(this);
        socket->setSslConfiguration(TlsTrust::Configuration());
        socket->setPeerVerifyMode(QSslSocket::VerifyPeer);
        socket->setReadBufferSize(kTlsReadBuffer);
        connect(socket, &QSslSocket::encrypted, this, &DownloadAsynch::WS_Connect);
        connect(socket, &QSslSocket::sslErrors, this, &DownloadAsynch::WS_SslErrors);
        m_socket = socket;
    }
    connect(m_socket, &QTcpSocket::readyRead, this, &DownloadAsynch::WS_DataArrival);
    connect(m_socket, &QTcpSocket::disconnected, this, &DownloadAsynch::WS_Close);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &DownloadAsynch::WS_Error);
    // The watchdog covers the connection and the handshake too.
    m_lastArrival.restart();
    if (!m_tmrWiat->isActive())
        m_tmrWiat->start(m_wiatInterval);
    // Unbuffered: each read goes from the kernel straight into our block. TLS
    // decrypts into the socket's own buffer anyway, and an unbuffered QSslSocket
    // never reported the end of a stream cut by a reset: it stays buffered.
    if (IsTls())
        static_cast<QSslSocket *>(m_socket)->connectToHostEncrypted(address.host, address.port);
    else
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
    m_socket->write(m_address.Request(m_rangeStart));
    m_phase = Phase::AwaitingHead;
    m_lastArrival.restart();
}

bool DownloadAsynch::OpenTarget(QString *error)
{
    FileFolder::CreateFolderPath(QFileInfo(m_partialPath).absolutePath());
    m_createdFile = !QFileInfo::exists(m_partialPath);
    m_file.setFileName(m_partialPath);
    // ReadWrite keeps what is there for a resume; the accepted reply decides
    // whether it is appended to or emptied. Unbuffered: one write per block.
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        *error = m_file.errorString();
        m_createdFile = false;
        return false;
    }
    return true;
}

void DownloadAsynch::WS_DataArrival()
{
    if (IsTls())
        QueueDrain();
    else
        Drain();
}

void DownloadAsynch::QueueDrain()
{
    // QSslSocket tells of every 4 KiB it decrypts: reading once per turn of the
    // event loop takes what it decrypted meanwhile in large blocks.
    if (m_drainQueued)
        return;
    m_drainQueued = true;
    QTimer::singleShot(0, m_socket, [this, socket = m_socket] {
        m_drainQueued = false;
        if (socket == m_socket)
            Drain();
    });
}

void DownloadAsynch::WS_Close()
{
    if (Drain())
        EndOfStream(false);
}

void DownloadAsynch::WS_Error()
{
    if (m_socket->error() == QAbstractSocket::RemoteHostClosedError) {
        if (Drain())
            EndOfStream(false);
        return;
    }
    // The handshake fails right after its errors were reported, which name the reason.
    if (m_socket->error() == QAbstractSocket::SslHandshakeFailedError && !m_certificateProblem.isEmpty()) {
        Fail(kConnectionError + QLatin1String(": certificate problem: ") + m_certificateProblem);
        return;
    }
    Fail(m_socket->errorString());
}

void DownloadAsynch::WS_SslErrors(const QList<QSslError> &errors)
{
    QStringList texts;
    for (const QSslError &error : errors)
        texts << error.errorString();
    m_certificateProblem = texts.join(QLatin1String("; "));
}

bool DownloadAsynch::Drain()
{
    m_lastArrival.restart();
    return IsTls() ? DrainTls() : DrainPlain();
}

bool DownloadAsynch::DrainPlain()
{
    for (int i = 0; i < kReadsPerEvent; ++i) {
        // Qt reads a reset as an orderly close: look first, while the difference
        // is still there to see.
        const ConnectionEnd::State next = ConnectionEnd::Peek(m_socket->socketDescriptor());
        if (next == ConnectionEnd::State::NothingYet)
            return true;
        if (next == ConnectionEnd::State::Reset) {
            EndOfStream(true);
            return false;
        }
        if (!ReadBlock())
            return false;
    }
    return true;
}

bool DownloadAsynch::DrainTls()
{
    // The socket holds decrypted bytes the descriptor no longer shows: they go
    // first, one block per turn (the socket's buffer is no larger than a block).
    if (m_socket->bytesAvailable() > 0) {
        if (!ReadBlock())
            return false;
        // A buffered socket tells of new bytes only: what is left is taken on the next turn.
        if (m_socket->bytesAvailable() > 0)
            QueueDrain();
        return true;
    }
    // Bytes or a close on the descriptor are Qt's to read. An orderly end is the
    // peer's TLS close, which comes while the descriptor is still open; a
    // descriptor Qt already closed saw the connection end under the TLS stream,
    // by a reset or a bare close.
    const ConnectionEnd::State next = ConnectionEnd::Peek(m_socket->socketDescriptor());
    if (next == ConnectionEnd::State::Reset || next == ConnectionEnd::State::Failed) {
        EndOfStream(true);
        return false;
    }
    return true;
}

bool DownloadAsynch::ReadBlock()
{
    const qint64 count = m_socket->read(m_block.get(), BlockSize);
    if (count < 0) {
        if (m_socket->error() == QAbstractSocket::RemoteHostClosedError)
            EndOfStream(false);
        else
            Fail(m_socket->errorString());
        return false;
    }
    return count == 0 || Consume(m_block.get(), count);
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
        Fail(kConnectionError + QLatin1String(": malformed reply head"));
        return false;
    }
    const int code = m_head.StatusCode();
    qCDebug(lcTransfer) << "row" << m_downID << "reply" << code << m_head.ReasonPhrase();
    const QByteArray location = m_head.Value("Location");
    if (IsRedirect(code) && !location.isEmpty())
        return FollowRedirect(location);
    // The server cannot go on from the offset asked for: the whole file comes again.
    if (m_rangeStart > 0 && (code == 416 || (code == 206 && !AcceptPartialContent())))
        return RestartFromZero();
    // Only a 200 reply, or the 206 of an agreed resume, has a body for the file;
    // an error page never lands there.
    const bool resumed = code == 206 && m_rangeStart > 0;
    if (code != 200 && !resumed) {
        Fail(kConnectionError + QLatin1String(": HTTP ") + QString::number(code) + QLatin1Char(' ')
             + QString::fromLatin1(m_head.ReasonPhrase()));
        return false;
    }
    if (!resumed) {
        m_rangeStart = 0;
        if (m_file.size() > 0 && !EmptyPartialFile())
            return false;
    }
    if (!m_file.seek(m_rangeStart)) {
        Fail(m_file.errorString());
        return false;
    }
    m_meter.SetBase(m_rangeStart);
    m_framing = m_head.BodyFraming();
    m_bodyRemaining = m_head.ContentLength();
    m_chunks.Reset();
    m_phase = Phase::Body;
    m_tmrSpeed->start(m_speedInterval);
    if (m_framing == HttpResponseHead::Framing::Length || resumed) {
        if (!resumed)
            m_fileSize = m_bodyRemaining;
        const quint64 serial = m_serial;
        Q_EMIT FileBegin(m_downID, m_fileSize);
        if (serial != m_serial)
            return false;
        if (m_framing == HttpResponseHead::Framing::Length && m_bodyRemaining == 0) {
            Succeed();
            return false;
        }
    }
    return TakeBody(data + consumed, size - consumed);
}

bool DownloadAsynch::IsRedirect(int code) const
{
    if (m_direct)
        return code == 301 || code == 302 || code == 303 || code == 307 || code == 308;
    return code == 302 || code == 303;
}

bool DownloadAsynch::FollowRedirect(const QByteArray &location)
{
    if (++m_redirects > MaxRedirects) {
        Fail(kConnectionError + QLatin1String(": too many redirects"));
        return false;
    }
    HttpAddress next;
    QString error;
    const bool resolved = m_direct ? HttpAddress::ResolveReference(m_address, location, &next, &error)
                                       : HttpAddress::Resolve(m_address, location, &next, &error);
    if (!resolved) {
        Fail(error);
        return false;
    }
    Connect(next);
    return false;
}

bool DownloadAsynch::AcceptPartialContent()
{
    const std::optional<ContentRange> range = ContentRange::Parse(m_head.Value("Content-Range"));
    if (!range || range->first != m_rangeStart || range->total < 0 || range->last != range->total - 1)
        return false;
    if (m_expectedSize > 0 && range->total != m_expectedSize)
        return false;
    // A body framed by its length must be exactly the rest of the file.
    const qint64 length = m_head.ContentLength();
    if (m_head.BodyFraming() == HttpResponseHead::Framing::Length && length != range->total - range->first)
        return false;
    m_fileSize = range->total;
    return true;
}

bool DownloadAsynch::RestartFromZero()
{
    if (++m_redirects > MaxRedirects) {
        Fail(kConnectionError + QLatin1String(": too many redirects"));
        return false;
    }
    m_rangeStart = 0;
    if (!EmptyPartialFile())
        return false;
    Connect(m_address);
    return false;
}

bool DownloadAsynch::EmptyPartialFile()
{
    // A new file rather than a truncated one: ext4 writes a file truncated to
    // zero out when it is closed, which held the window up for half a second at
    // the end of a large download. Truncating stays for a file that cannot go.
    m_file.close();
    const bool removed = PartialFile::Remove(m_partialPath);
    QString error;
    if (!OpenTarget(&error)) {
        Fail(error);
        return false;
    }
    if (!removed && !m_file.resize(0)) {
        Fail(m_file.errorString());
        return false;
    }
    return true;
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
                Fail(kConnectionError + QLatin1String(": malformed chunked body"));
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
    // A short write (a full disk, a file-size limit) is tried again for the rest,
    // so the second attempt reports the system's reason.
    for (qint64 done = 0; done < size;) {
        const qint64 written = m_file.write(data + done, size - done);
        if (written <= 0) {
            Fail(m_file.error() != QFileDevice::NoError ? m_file.errorString()
                                                        : QStringLiteral("The file could not be written"));
            return false;
        }
        done += written;
        m_meter.AddBytes(written);
    }
    return true;
}

void DownloadAsynch::EndOfStream(bool reset)
{
    // The server ended the connection: the body is whole only when its own
    // framing says so, and a body that runs until the close needs an orderly one.
    const bool whole = !reset && m_phase == Phase::Body
        && (m_framing == HttpResponseHead::Framing::UntilClose
            || (m_framing == HttpResponseHead::Framing::Chunked && m_chunks.LastChunkSeen()));
    if (whole)
        Succeed();
    else
        Fail(CutDescription(reset ? QStringLiteral("connection reset") : QStringLiteral("connection closed")));
}

QString DownloadAsynch::CutDescription(const QString &how) const
{
    if (m_phase != Phase::Body)
        return kConnectionError + QLatin1String(": ") + how + QLatin1String(" before the reply");
    QString text = kConnectionError + QLatin1String(": ") + how + QLatin1String(" after ")
        + QString::number(m_meter.Total());
    if (m_fileSize > 0)
        text += QLatin1String(" of ") + QString::number(m_fileSize);
    return text + QLatin1String(" bytes");
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

void DownloadAsynch::DropEmptyPartial()
{
    if (m_createdFile && QFileInfo(m_partialPath).size() == 0)
        PartialFile::Remove(m_partialPath);
    m_createdFile = false;
}

void DownloadAsynch::Succeed()
{
    m_file.close();
    if (m_file.error() != QFileDevice::NoError) {
        Fail(m_file.errorString());
        return;
    }
    const qint64 total = m_meter.Total();
    if (m_expectedSize > 0 && total != m_expectedSize) {
        Fail(kConnectionError + QStringLiteral(": received %1 bytes, expected %2 bytes").arg(total).arg(m_expectedSize));
        return;
    }
    const QFileInfo partial(m_partialPath);
    if (!partial.isFile() || partial.size() != total) {
        Fail(QStringLiteral("The partial file %1 was removed or changed during the transfer").arg(m_partialPath));
        return;
    }
    Finish(Phase::Completed);
    // The last count goes out before the end, as a tick would have sent it.
    const TransferMeter::Reading reading = m_meter.Current(m_fileSize);
    const quint64 serial = m_serial;
    Q_EMIT Progress(m_downID, reading.percent, reading.bytesPerSecond, reading.downloaded, reading.remainBytes,
                    reading.remainSeconds);
    if (serial != m_serial)
        return;
    QString error;
    if (!PartialFile::Commit(m_partialPath, &m_finalPath, &error)) {
        Fail(error);
        return;
    }
    m_partialPath.clear();
    qCDebug(lcTransfer) << "row" << m_downID << "complete:" << total << "bytes in" << m_finalPath;
    Q_EMIT Complete(m_downID);
}

void DownloadAsynch::Fail(const QString &description)
{
    const QString text = description;
    qCDebug(lcTransfer) << "row" << m_downID << "failed:" << text;
    Finish(Phase::Failed);
    DropEmptyPartial();
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
    Fail(CutDescription(QStringLiteral("no data for %1 seconds").arg(Formatting::NumberText(m_wiatInterval / 1000.0))));
}
