#include "ui/WidgetPrompter.h"

#include "ui/DesktopNotifier.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>
#include <QSystemTrayIcon>

namespace {

QMessageBox::Icon MessageBoxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Exclamation:
        return QMessageBox::Warning;
    case Prompter::Icon::Critical:
        return QMessageBox::Critical;
    case Prompter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QSystemTrayIcon::MessageIcon TrayIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information:
        return QSystemTrayIcon::Information;
    case Prompter::Icon::Exclamation:
        return QSystemTrayIcon::Warning;
    case Prompter::Icon::Critical:
        return QSystemTrayIcon::Critical;
    case Prompter::Icon::None:
        break;
    }
    return QSystemTrayIcon::NoIcon;
}

} // namespace

WidgetPrompter::WidgetPrompter(QObject *parent)
    : QObject(parent)
{
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &WidgetPrompter::Clipboard_DataChanged);
    Clipboard_DataChanged();
}

void WidgetPrompter::Clipboard_DataChanged()
{
    m_clipboardText = QApplication::clipboard()->text();
}

void WidgetPrompter::showMessage(Icon icon, const QString &title, const QString &text, std::function<void()> onClosed)
{
    m_pending.enqueue({icon, title, text, std::move(onClosed)});
    if (!m_messageOpen)
        ShowNextMessage();
}

void WidgetPrompter::ShowNextMessage()
{
    if (m_pending.isEmpty()) {
        m_messageOpen = false;
        return;
    }
    m_messageOpen = true;
    PendingMessage message = m_pending.dequeue();
    auto *box = new QMessageBox(MessageBoxIcon(message.icon), message.title, message.text, QMessageBox::Ok, m_window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [this, onClosed = std::move(message.onClosed)] {
        if (onClosed)
            onClosed();
        ShowNextMessage();
    });
    box->open();
}

void WidgetPrompter::SetNotifier(DesktopNotifier *notifier)
{
    m_notifier = notifier;
}

void WidgetPrompter::showBalloon(Icon icon, const QString &message, const QString &title, int milliseconds)
{
    if (m_trayIcon && m_trayIcon->isVisible() && QSystemTrayIcon::supportsMessages()) {
        m_trayIcon->showMessage(title, message, TrayIcon(icon), milliseconds);
        return;
    }
    if (m_notifier)
        m_notifier->Notify(title, message, milliseconds);
    Q_EMIT NoticeWithoutTray(message, milliseconds);
}

void WidgetPrompter::chooseFolder(const QString &title, std::function<void(const QString &)> onChosen)
{
    auto *dialog = new QFileDialog(m_window, title);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::finished, this, [dialog, onChosen = std::move(onChosen)](int result) {
        const QStringList chosen = dialog->selectedFiles();
        onChosen(result == QDialog::Accepted && !chosen.isEmpty() ? chosen.first() : QString());
    });
    dialog->open();
}

QString WidgetPrompter::clipboardText()
{
    return m_clipboardText;
}

void WidgetPrompter::setClipboardText(const QString &text)
{
    m_clipboardText = text;
    QApplication::clipboard()->setText(text);
}

void WidgetPrompter::clearClipboard()
{
    m_clipboardText.clear();
    QApplication::clipboard()->clear();
}
