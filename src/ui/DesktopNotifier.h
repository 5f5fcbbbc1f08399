#pragma once

#include <QObject>
#include <QString>

// Notices through the desktop's notification service
// (org.freedesktop.Notifications on the session bus), for desktops without a
// tray. The call is asynchronous and never waits for the service, which the bus
// may start on the first call; without a session bus nothing is sent.
class DesktopNotifier final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopNotifier)

public:
    explicit DesktopNotifier(QString desktopId, QObject *parent = nullptr);

    // False when there is no session bus to send to.
    bool Notify(const QString &title, const QString &message, int milliseconds);

private:
    QString m_desktopId;
};
