#include "ui/DesktopNotifier.h"
#include "ui/WidgetPrompter.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QVariantMap>

// The desktop's notification service as the session bus carries it: every
// Notify it receives is kept.
class NotificationService final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notice {
        QString appName;
        QString appIcon;
        QString summary;
        QString body;
        QVariantMap hints;
        int timeout = 0;
    };
    QList<Notice> received;

public Q_SLOTS:
    uint Notify(const QString &appName, uint, const QString &appIcon, const QString &summary, const QString &body,
                const QStringList &, const QVariantMap &hints, int timeout)
    {
        received.append({appName, appIcon, summary, body, hints, timeout});
        return uint(received.size());
    }
};

class tst_Notices final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("no session bus: run under dbus-run-session");
        QVERIFY(QDBusConnection::sessionBus().registerObject(QStringLiteral("/org/freedesktop/Notifications"),
                                                             &m_service, QDBusConnection::ExportAllSlots));
        QVERIFY(QDBusConnection::sessionBus().registerService(QStringLiteral("org.freedesktop.Notifications")));
    }

    // Without a tray a notice goes to the desktop's service and to the status bar.
    void withoutTrayTheDesktopIsTold_data()
    {
        QTest::addColumn<bool>("trayIcon"); // a tray icon is set but the desktop shows none
        QTest::newRow("no tray icon") << false;
        QTest::newRow("a tray icon without a tray") << true;
    }
    void withoutTrayTheDesktopIsTold()
    {
        QFETCH(bool, trayIcon);
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        m_service.received.clear();
        WidgetPrompter prompter;
        QSystemTrayIcon tray;
        if (trayIcon)
            prompter.SetTrayIcon(&tray);
        DesktopNotifier notifier(QStringLiteral("org.velm.tidefetch"));
        prompter.SetNotifier(&notifier);
        QSignalSpy statusBar(&prompter, &WidgetPrompter::NoticeWithoutTray);
        prompter.showBalloon(Prompter::Icon::Information, QStringLiteral("3 Links Added"), QStringLiteral("Tidefetch"),
                             5000);
        QCOMPARE(statusBar.count(), 1);
        QCOMPARE(statusBar.first().at(0).toString(), QStringLiteral("3 Links Added"));
        QTRY_COMPARE(m_service.received.size(), 1);
        const NotificationService::Notice &notice = m_service.received.first();
        QCOMPARE(notice.appName, QStringLiteral("Tidefetch"));
        QCOMPARE(notice.summary, QStringLiteral("Tidefetch"));
        QCOMPARE(notice.body, QStringLiteral("3 Links Added"));
        QCOMPARE(notice.timeout, 5000);
        QCOMPARE(notice.appIcon, QStringLiteral("org.velm.tidefetch"));
        QCOMPARE(notice.hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("org.velm.tidefetch"));
    }

private:
    NotificationService m_service;
};

QTEST_MAIN(tst_Notices)
#include "tst_notices.moc"
