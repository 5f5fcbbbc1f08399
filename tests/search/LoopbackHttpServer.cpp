#include "LoopbackHttpServer.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

LoopbackHttpServer::LoopbackHttpServer(Script script, QObject *parent)
    : QObject(parent)
    , m_script(std::move(script))
    , m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server->nextPendingConnection())
            Serve(socket);
    });
}

LoopbackHttpServer::~LoopbackHttpServer() = default;

bool LoopbackHttpServer::Listen()
{
    return m_server->listen(QHostAddress::LocalHost, 0);
}

void LoopbackHttpServer::Close()
{
    m_server->close();
}

QString LoopbackHttpServer::Host() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_server->serverPort());
}

void LoopbackHttpServer::Serve(QTcpSocket *socket)
{
    socket->setParent(this);
    struct Request {
        QByteArray head;
        bool complete = false;
    };
    auto request = std::make_shared<Request>();
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, request] {
        const QByteArray data = socket->readAll();
        if (request->complete)
            return;
        request->head += data;
        if (!request->head.contains("\r\n\r\n"))
            return;
        request->complete = true;
        const QByteArray requestLine = request->head.left(request->head.indexOf("\r\n"));
        const QByteArray target = requestLine.split(' ').value(1);
        m_targets.append(target);
        const Answer answer = m_script(target);
        Q_EMIT RequestReceived(target);
        if (!answer.answer)
            return;
        auto write = [socket, answer] {
            QByteArray response = "HTTP/1.1 " + QByteArray::number(answer.status) + " Scripted\r\n";
            response += "Content-Type: " + answer.contentType + "\r\n";
            response += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
            response += "Connection: close\r\n\r\n";
            socket->write(response + answer.body);
            socket->disconnectFromHost();
        };
        if (answer.delayMs > 0)
            QTimer::singleShot(answer.delayMs, socket, write);
        else
            write();
    });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
}
