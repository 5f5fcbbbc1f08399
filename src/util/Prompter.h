#pragma once

#include <QString>

#include <functional>

// Everything the program shows to, or asks of, the person in front of it: message
// boxes, tray notices, the folder picker and the clipboard. The window supplies a
// widget implementation; tests use RecordingPrompter. Nothing here waits: a
// message box reports its closing through `onClosed`, the folder picker its
// answer through `onChosen` (empty text when cancelled).
class Prompter
{
public:
    enum class Icon { None, Information, Exclamation, Critical };

    virtual ~Prompter() = default;

    virtual void showMessage(Icon icon, const QString &title, const QString &text,
                             std::function<void()> onClosed = {}) = 0;
    virtual void showBalloon(Icon icon, const QString &message, const QString &title, int milliseconds) = 0;
    virtual void chooseFolder(const QString &title, std::function<void(const QString &)> onChosen) = 0;

    virtual QString clipboardText() = 0;
    virtual void setClipboardText(const QString &text) = 0;
    virtual void clearClipboard() = 0;
};
