#pragma once

#include <QLockFile>
#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// The running copy's side of the hand-off (HandOffChannel). The first copy of
// the program for a user takes the lock and listens; a later copy finds the lock
// taken and does not. Every connection carries one message, which is
// acknowledged and reported as LinksReceived. All of it runs on the event loop.
class LinkInbox final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LinkInbox)

public:
    explicit LinkInbox(QObject *parent = nullptr);
    ~LinkInbox() override;

    // Listens unless another copy holds the lock. A socket left behind by a copy
    // that ended without closing it is removed first. True when listening.
    bool Listen();
    bool IsListening() const;

Q_SIGNALS:
    void LinksReceived(const QStringList &links);

private:
    void AcceptConnections();
    void ReadMessage(QLocalSocket &socket);

    QString m_socketPath;
    QLockFile m_lock;
    QLocalServer *m_server;
};
