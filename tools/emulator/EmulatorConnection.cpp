#include "EmulatorConnection.h"

#include "EmulatedContent.h"

#include <QSslSocket>
#include <QTimer>

#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

namespace {

constexpr qsizetype kMaxRequestHead = 64 * 1024;
constexpr qint64 kBlock = 64 * 1024;
// Bytes queued in the socket before the body waits for the socket to write
// some: keeps a file of any size out of memory.
constexpr qint64 kHighWater = 1024 * 1024;
constexpr int kRateStepMs = 100;
constexpr int kHeadPieceGapMs = 30;
constexpr int kDeliveryPollMs = 5;

QByteArray RangeField(const QByteArray &requestHead)
{
    const QList<QByteArray> lines = requestHead.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare("Range", Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

// All the bytes Qt still holds for the socket: a QSslSocket counts the ones it
// has encrypted apart from those it has not.
qint64 Queued(const QTcpSocket *socket)
{
    const auto *tls = qobject_cast<const QSslSocket *>(socket);
    return socket->bytesToWrite() + (tls ? tls->encryptedBytesToWrite() : 0);
}

} // namespace

EmulatorConnection::EmulatorConnection(QTcpSocket *socket, Responder responder, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_responder(std::move(responder))
{
    m_socket->setParent(this);
    connect(m_socket, &QTcpSocket::readyRead, this, &EmulatorConnection::OnReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &EmulatorConnection::Pump);
    // Over TLS `bytesWritten` comes once bytes are encrypted, not once they left.
    if (auto *tls = qobject_cast<QSslSocket *>(m_socket))
        connect(tls, &QSslSocket::encryptedBytesWritten, this, &EmulatorConnection::Pump);
}

void EmulatorConnection::OnReadyRead()
{
    if (m_answered) {
        m_socket->readAll(); // one request per connection
        return;
    }
    m_request += m_socket->readAll();
    const qsizetype end = m_request.indexOf("\r\n\r\n");
    if (end < 0) {
        if (m_request.size() > kMaxRequestHead) {
            m_answered = true;
            m_socket->write("HTTP/1.1 431 Request Header Fields Too Large\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            m_socket->disconnectFromHost();
        }
        return;
    }
    m_answered = true;
    Answer(m_request.left(end + 2)); // with the last line's end, so the request line always has one
}

void EmulatorConnection::Answer(const QByteArray &requestHead)
{
    // "METHOD target HTTP/1.1": the target is all between the first and the last
    // blank, since clients that join texts unescaped send blanks inside it.
    const QByteArray requestLine = requestHead.left(requestHead.indexOf("\r\n"));
    const qsizetype methodEnd = requestLine.indexOf(' ');
    qsizetype targetEnd = requestLine.lastIndexOf(' ');
    if (targetEnd <= methodEnd || !requestLine.mid(targetEnd + 1).startsWith("HTTP/"))
        targetEnd = requestLine.size();
    const QByteArray method = methodEnd < 0 ? requestLine : requestLine.left(methodEnd);
    const QString target =
        methodEnd < 0 ? QString() : QString::fromUtf8(requestLine.mid(methodEnd + 1, targetEnd - methodEnd - 1));
    m_response = m_responder(method, target, RangeField(requestHead));
    m_position = m_response.bodyStart;
    if (m_response.delayMs > 0)
        QTimer::singleShot(m_response.delayMs, this, &EmulatorConnection::SendHead);
    else
        SendHead();
}

void EmulatorConnection::SendHead()
{
    if (!m_response.splitHead) {
        m_socket->write(m_response.head);
        m_bodyStarted = true;
        Pump();
        return;
    }
    // Cut inside the status line and inside the last header line (Content-Length
    // for a sized body), so neither arrives whole in the first read.
    const QByteArray &head = m_response.head;
    const qsizetype first = qMin<qsizetype>(10, head.size());
    const qsizetype second = qMax(first, head.size() - 6);
    m_headPieces = {head.left(first), head.mid(first, second - first), head.mid(second)};
    SendNextHeadPiece();
}

void EmulatorConnection::SendNextHeadPiece()
{
    m_socket->write(m_headPieces.takeFirst());
    m_socket->flush();
    if (!m_headPieces.isEmpty()) {
        QTimer::singleShot(kHeadPieceGapMs, this, &EmulatorConnection::SendNextHeadPiece);
        return;
    }
    m_bodyStarted = true;
    Pump();
}

void EmulatorConnection::Pump()
{
    if (!m_bodyStarted || m_bodyDone)
        return;
    const EmulatedResponse &r = m_response;
    const qint64 limit = r.fileId.isEmpty() ? r.bodyStart : (r.stopAt >= 0 ? qMin(r.stopAt, r.bodyEnd) : r.bodyEnd);
    if (r.bytesPerSecond > 0 && !m_rateTimer && m_position < limit) {
        m_rateTimer = new QTimer(this);
        connect(m_rateTimer, &QTimer::timeout, this, [this] {
            m_budget += qMax<qint64>(1, m_response.bytesPerSecond * kRateStepMs / 1000);
            Pump();
        });
        m_rateTimer->start(kRateStepMs);
    }
    while (m_position < limit && Queued(m_socket) < kHighWater) {
        qint64 length = qMin(kBlock, limit - m_position);
        if (r.bytesPerSecond > 0) {
            length = qMin(length, m_budget);
            if (length <= 0)
                return;
            m_budget -= length;
        }
        WriteBody(length);
    }
    if (m_position < limit)
        return;

    m_bodyDone = true;
    if (m_rateTimer)
        m_rateTimer->stop();
    const bool complete = r.stopAt < 0 || r.stopAt >= r.bodyEnd;
    if (r.chunked && complete)
        m_socket->write("0\r\n\r\n");
    if (!complete && r.stop == EmulatedResponse::Stop::Stall)
        return; // stays open and silent until the client gives up
    if (!complete && r.stop == EmulatedResponse::Stop::Reset)
        ResetWhenDelivered();
    else
        m_socket->disconnectFromHost();
}

void EmulatorConnection::WriteBody(qint64 length)
{
    m_block.resize(qsizetype(length));
    EmulatedContent::Fill(m_response.fileId, m_position, m_block.data(), length);
    if (m_response.chunked)
        m_socket->write(QByteArray::number(length, 16) + "\r\n");
    m_socket->write(m_block);
    if (m_response.chunked)
        m_socket->write("\r\n");
    m_position += length;
    Q_EMIT BodySent(m_response.fileId, length);
}

void EmulatorConnection::ResetWhenDelivered()
{
    // A reset drops whatever the kernel has not sent yet, so the body sent before
    // the stop must first leave Qt's buffers and then the kernel's send queue.
    const int descriptor = int(m_socket->socketDescriptor());
    if (descriptor < 0)
        return; // the client went first
    int unacknowledged = 0;
    if (Queued(m_socket) > 0 || (::ioctl(descriptor, SIOCOUTQ, &unacknowledged) == 0 && unacknowledged > 0)) {
        QTimer::singleShot(kDeliveryPollMs, this, &EmulatorConnection::ResetWhenDelivered);
        return;
    }
    // Lingering for zero seconds makes the close send RST instead of FIN.
    const linger hard{1, 0};
    ::setsockopt(descriptor, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    m_socket->abort();
    deleteLater();
}
