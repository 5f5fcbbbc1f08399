#include "launch/LinkInbox.h"

#include "launch/HandOffChannel.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QtDebug>

namespace {
// A peer that has not sent its whole message by then is dropped.
constexpr int kMessageMilliseconds = 10000;
} // namespace

LinkInbox::LinkInbox(QObject *parent)
    : QObject(parent)
    , m_socketPath(HandOffChannel::SocketPath())
    , m_lock(HandOffChannel::LockPath())
    , m_server(new QLocalServer(this))
{
    // Only a lock whose process has ended is stale, however long the program runs.
    m_lock.setStaleLockTime(0);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &LinkInbox::AcceptConnections);
}

LinkInbox::~LinkInbox() = default;

bool LinkInbox::Listen()
{
    if (m_socketPath.isEmpty() || !m_lock.tryLock(0))
        return false;
    // Only the holder of the lock listens, so a socket already there is stale.
    // (listen() with an access option would replace it without saying so.)
    QLocalServer::removeServer(m_socketPath);
    if (!m_server->listen(m_socketPath)) {
        qWarning().noquote() << "Cannot listen for links at" << m_socketPath << m_server->errorString();
        m_lock.unlock();
        return false;
    }
    return true;
}

bool LinkInbox::IsListening() const
{
    return m_server->isListening();
}

void LinkInbox::AcceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        socket->setReadBufferSize(HandOffChannel::HeaderBytes + HandOffChannel::MaxTextBytes);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadMessage(*socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kMessageMilliseconds, socket, &QLocalSocket::abort);
    }
}

void LinkInbox::ReadMessage(QLocalSocket &socket)
{
    if (socket.state() != QLocalSocket::ConnectedState || socket.bytesAvailable() < HandOffChannel::HeaderBytes)
        return;
    const qint64 length = HandOffChannel::TextLength(socket.peek(HandOffChannel::HeaderBytes));
    if (length > HandOffChannel::MaxTextBytes) {
        socket.abort();
        return;
    }
    if (socket.bytesAvailable() < HandOffChannel::HeaderBytes + length)
        return;
    socket.skip(HandOffChannel::HeaderBytes);
    const QStringList links = HandOffChannel::DecodeLinks(socket.read(length));
    socket.write(HandOffChannel::Acknowledgement());
    socket.disconnectFromServer();
    if (!links.isEmpty())
        Q_EMIT LinksReceived(links);
}
