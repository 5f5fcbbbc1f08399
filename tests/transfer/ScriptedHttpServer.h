#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSslConfiguration>
#include <QTcpServer>

#include <memory>

class QTcpSocket;

// A loopback HTTP server that answers each request target with a script of
// steps: bytes to send (canned or a generated pattern of any length, streamed),
// pauses, a close and a reset. A script that ends without a close leaves the
// connection open and silent. Every request head it receives is kept for the test.
// Given a TLS configuration (a certificate and its key) it speaks https.
class ScriptedHttpServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScriptedHttpServer)

public:
    struct Step {
        enum class Kind { Send, Pattern, Pause, Close, Reset } kind = Kind::Send;
        QByteArray bytes;
        qint64 offset = 0; // Pattern: first position and length
        qint64 count = 0;
        int milliseconds = 0;
    };
    using Script = QList<Step>;

    static Step Send(const QByteArray &bytes) { return {Step::Kind::Send, bytes, 0, 0, 0}; }
    static Step SendPattern(qint64 offset, qint64 count) { return {Step::Kind::Pattern, {}, offset, count, 0}; }
    static Step Pause(int milliseconds) { return {Step::Kind::Pause, {}, 0, 0, milliseconds}; }
    static Step Close() { return {Step::Kind::Close, {}, 0, 0, 0}; }
    // Ends the connection with a TCP reset once the bytes before it are sent.
    static Step Reset() { return {Step::Kind::Reset, {}, 0, 0, 0}; }

    // The generated body: byte i of the pattern is i modulo 251.
    static QByteArray Pattern(qint64 offset, qint64 count);

    explicit ScriptedHttpServer(QObject *parent = nullptr);
    explicit ScriptedHttpServer(const QSslConfiguration &tls, QObject *parent = nullptr);
    ~ScriptedHttpServer() override;

    quint16 port() const { return m_server->serverPort(); }
    // "http://127.0.0.1:<port>", or "https://..."
    QString base() const;
    QString authority() const;

    // `target` as on the request line: "/path?query". Unknown targets get a 404.
    void route(const QByteArray &target, const Script &script);
    // The first request for `target` gets the first script, the next the second,
    // and so on; the last one answers every request after it.
    void route(const QByteArray &target, const QList<Script> &scripts);

    QList<QByteArray> requests; // every request head, in order of arrival
    QList<QByteArray> targets;  // their request targets

private:
    struct Connection;

    ScriptedHttpServer(std::unique_ptr<QTcpServer> server, bool tls, QObject *parent);
    void Accept();
    void Read(Connection *connection);
    void Advance(Connection *connection);

    std::unique_ptr<QTcpServer> m_server;
    bool m_tls;
    QHash<QByteArray, QList<Script>> m_scripts;
    QHash<QByteArray, int> m_served;
    std::vector<std::unique_ptr<Connection>> m_connections;
    QByteArray m_patternBlock;
};
