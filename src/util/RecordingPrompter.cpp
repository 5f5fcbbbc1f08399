#include "util/RecordingPrompter.h"

void RecordingPrompter::showMessage(Icon icon, const QString &title, const QString &text,
                                    std::function<void()> onClosed)
{
    shown.append({QStringLiteral("message"), icon, title, text, 0});
    if (onClosed)
        onClosed();
}

void RecordingPrompter::showBalloon(Icon icon, const QString &message, const QString &title, int milliseconds)
{
    shown.append({QStringLiteral("balloon"), icon, title, message, milliseconds});
}

void RecordingPrompter::chooseFolder(const QString &title, std::function<void(const QString &)> onChosen)
{
    shown.append({QStringLiteral("folder"), Icon::None, title, {}, 0});
    onChosen(folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst());
}

QString RecordingPrompter::clipboardText()
{
    return clipboard;
}

void RecordingPrompter::setClipboardText(const QString &text)
{
    clipboard = text;
}

void RecordingPrompter::clearClipboard()
{
    clipboard.clear();
    ++clipboardClears;
}

QStringList RecordingPrompter::messages() const
{
    QStringList texts;
    for (const Shown &entry : shown) {
        if (entry.kind == QLatin1String("message"))
            texts.append(entry.text);
    }
    return texts;
}
