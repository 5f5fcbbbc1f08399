#include "ui/DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

DesktopNotifier::DesktopNotifier(QString desktopId, QObject *parent)
    : QObject(parent)
    , m_desktopId(std::move(desktopId))
{
}

bool DesktopNotifier::Notify(const QString &title, const QString &message, int milliseconds)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout
    call << title << uint(0) << m_desktopId << title << message << QStringList()
         << QVariantMap{{QStringLiteral("desktop-entry"), m_desktopId}} << milliseconds;
    // The answer (the notice's id, or that there is no service) is not needed.
    return bus.send(call);
}
