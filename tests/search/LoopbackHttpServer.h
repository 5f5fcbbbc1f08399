#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QTcpServer;
class QTcpSocket;

// A scripted HTTP server on 127.0.0.1, port chosen by the system. Each request
// is answered (or not) by the script from its request target; every connection
// carries one request and is closed after the answer.
class LoopbackHttpServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LoopbackHttpServer)

public:
    struct Answer {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "text/html; charset=utf-8";
        int delayMs = 0;      // answer this much later
        bool answer = true;   // false: keep the connection open and never answer
    };
    using Script = std::function<Answer(const QByteArray &target)>;

    explicit LoopbackHttpServer(Script script, QObject *parent = nullptr);
    ~LoopbackHttpServer() override;

    bool Listen();
    void Close();
    // "127.0.0.1:" + port.
    QString Host() const;
    // The request targets received so far, in order.
    const QList<QByteArray> &Targets() const { return m_targets; }

Q_SIGNALS:
    void RequestReceived(const QByteArray &target);

private:
    void Serve(QTcpSocket *socket);

    Script m_script;
    QTcpServer *m_server;
    QList<QByteArray> m_targets;
};
