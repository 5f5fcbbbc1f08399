#include "ScriptedHttpServer.h"

#include <QSslServer>
#include <QSslSocket>
#include <QTimer>

#include <sys/socket.h>

namespace {

constexpr qint64 kPatternPeriod = 251;
constexpr qint64 kPieceSize = 1024 * 1024;
constexpr qint64 kMaxQueued = 4 * kPieceSize;

// All the bytes Qt still holds for the socket: a QSslSocket counts the ones it
// has encrypted apart from those it has not.
qint64 Queued(const QTcpSocket *socket)
{
    const auto *tls = qobject_cast<const QSslSocket *>(socket);
    return socket->bytesToWrite() + (tls ? tls->encryptedBytesToWrite() : 0);
}

} // namespace

struct ScriptedHttpServer::Connection {
    QTcpSocket *socket = nullptr;
    QByteArray received;
    bool answering = false;
    bool pausing = false;
    Script script;
    qsizetype step = 0;
    qint64 patternSent = 0;
};

QByteArray ScriptedHttpServer::Pattern(qint64 offset, qint64 count)
{
    QByteArray bytes(count, Qt::Uninitialized);
    for (qint64 i = 0; i < count; ++i)
        bytes[i] = char((offset + i) % kPatternPeriod);
    return bytes;
}

ScriptedHttpServer::ScriptedHttpServer(QObject *parent)
    : ScriptedHttpServer(std::make_unique<QTcpServer>(), false, parent)
{
}

ScriptedHttpServer::ScriptedHttpServer(const QSslConfiguration &tls, QObject *parent)
    : ScriptedHttpServer(std::make_unique<QSslServer>(), true, parent)
{
    static_cast<QSslServer *>(m_server.get())->setSslConfiguration(tls);
}

ScriptedHttpServer::ScriptedHttpServer(std::unique_ptr<QTcpServer> server, bool tls, QObject *parent)
    : QObject(parent)
    , m_server(std::move(server))
    , m_tls(tls)
    , m_patternBlock(Pattern(0, kPieceSize + kPatternPeriod))
{
    // A TLS connection becomes pending once its handshake is done.
    connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this, &ScriptedHttpServer::Accept);
    m_server->listen(QHostAddress::LocalHost, 0);
}

ScriptedHttpServer::~ScriptedHttpServer()
{
    for (const auto &connection : m_connections)
        connection->socket->disconnect(this);
}

QString ScriptedHttpServer::base() const
{
    return QLatin1String(m_tls ? "https://" : "http://") + authority();
}

QString ScriptedHttpServer::authority() const
{
    return QStringLiteral("127.0.0.1:%1").arg(port());
}

void ScriptedHttpServer::route(const QByteArray &target, const Script &script)
{
    route(target, QList<Script>{script});
}

void ScriptedHttpServer::route(const QByteArray &target, const QList<Script> &scripts)
{
    m_scripts.insert(target, scripts);
}

void ScriptedHttpServer::Accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        auto connection = std::make_unique<Connection>();
        connection->socket = socket;
        Connection *raw = connection.get();
        m_connections.push_back(std::move(connection));
        connect(socket, &QTcpSocket::readyRead, this, [this, raw] { Read(raw); });
        connect(socket, &QTcpSocket::bytesWritten, this, [this, raw] { Advance(raw); });
        // Over TLS `bytesWritten` comes once bytes are encrypted, not once they left.
        if (auto *tls = qobject_cast<QSslSocket *>(socket))
            connect(tls, &QSslSocket::encryptedBytesWritten, this, [this, raw] { Advance(raw); });
        Read(raw);
    }
}

void ScriptedHttpServer::Read(Connection *connection)
{
    connection->received += connection->socket->readAll();
    if (connection->answering)
        return;
    const qsizetype end = connection->received.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    const QByteArray head = connection->received.left(end + 4);
    const QByteArray requestLine = head.left(head.indexOf("\r\n"));
    const QByteArray target = requestLine.split(' ').value(1);
    requests.append(head);
    targets.append(target);
    connection->answering = true;
    const QList<Script> scripts = m_scripts.value(target);
    const int served = m_served[target]++;
    connection->script = scripts.isEmpty()
        ? Script{Send("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"), Close()}
        : scripts.at(qMin<qsizetype>(served, scripts.size() - 1));
    Advance(connection);
}

void ScriptedHttpServer::Advance(Connection *connection)
{
    QTcpSocket *socket = connection->socket;
    if (connection->pausing)
        return;
    while (connection->answering && connection->step < connection->script.size()) {
        const Step &step = connection->script.at(connection->step);
        switch (step.kind) {
        case Step::Kind::Send:
            socket->write(step.bytes);
            break;
        case Step::Kind::Pattern:
            // Streamed a piece at a time as the client takes it, never held whole.
            while (connection->patternSent < step.count && Queued(socket) < kMaxQueued) {
                const qint64 position = step.offset + connection->patternSent;
                const qint64 piece = qMin(kPieceSize, step.count - connection->patternSent);
                socket->write(m_patternBlock.constData() + position % kPatternPeriod, piece);
                connection->patternSent += piece;
            }
            if (connection->patternSent < step.count)
                return;
            connection->patternSent = 0;
            break;
        case Step::Kind::Pause:
            ++connection->step;
            connection->pausing = true;
            QTimer::singleShot(step.milliseconds, socket, [this, connection] {
                connection->pausing = false;
                Advance(connection);
            });
            return;
        case Step::Kind::Close:
            connection->answering = false;
            socket->disconnectFromHost();
            return;
        case Step::Kind::Reset: {
            if (Queued(socket) > 0)
                return; // bytesWritten or encryptedBytesWritten brings us back
            // A zero linger time makes the close a reset.
            const linger abortive{1, 0};
            ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
            connection->answering = false;
            socket->abort();
            return;
        }
        }
        ++connection->step;
    }
}
