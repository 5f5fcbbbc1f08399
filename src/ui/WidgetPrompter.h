#pragma once

#include "util/Prompter.h"

#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QSystemTrayIcon>

class DesktopNotifier;
class QWidget;

// Prompts as widgets. Message boxes are window-modal and shown one at a time in
// the order they were asked for; none of them blocks the event loop. The
// clipboard's text is read when the clipboard changes, not when it is asked for:
// on X11 a read waits for the program that owns the clipboard, which may take
// seconds, and the clipboard watch asks every second.
class WidgetPrompter final : public QObject, public Prompter
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WidgetPrompter)

public:
    explicit WidgetPrompter(QObject *parent = nullptr);

    void SetWindow(QWidget *window) { m_window = window; }
    void SetTrayIcon(QSystemTrayIcon *trayIcon) { m_trayIcon = trayIcon; }
    // Where notices go without a tray, besides the window's status bar.
    void SetNotifier(DesktopNotifier *notifier);

    void showMessage(Icon icon, const QString &title, const QString &text,
                     std::function<void()> onClosed = {}) override;
    void showBalloon(Icon icon, const QString &message, const QString &title, int milliseconds) override;
    void chooseFolder(const QString &title, std::function<void(const QString &)> onChosen) override;

    QString clipboardText() override;
    void setClipboardText(const QString &text) override;
    void clearClipboard() override;

Q_SIGNALS:
    // A notice for a desktop without a tray: the window shows it in its status
    // bar; the desktop's notification service gets it too.
    void NoticeWithoutTray(const QString &text, int milliseconds);

private:
    struct PendingMessage {
        Icon icon;
        QString title;
        QString text;
        std::function<void()> onClosed;
    };

    void ShowNextMessage();
    void Clipboard_DataChanged();

    QPointer<QWidget> m_window;
    QPointer<QSystemTrayIcon> m_trayIcon;
    QPointer<DesktopNotifier> m_notifier;
    QQueue<PendingMessage> m_pending;
    bool m_messageOpen = false;
    QString m_clipboardText;
};
