#pragma once

#include "util/Prompter.h"

#include <QList>
#include <QStringList>

// A Prompter that remembers what it was asked to show and answers from a script:
// folder choices come from `folderAnswers` in order (empty text once they run out).
class RecordingPrompter final : public Prompter
{
public:
    struct Shown {
        QString kind; // "message", "balloon" or "folder"
        Icon icon = Icon::None;
        QString title;
        QString text;
        int milliseconds = 0;
    };

    void showMessage(Icon icon, const QString &title, const QString &text,
                     std::function<void()> onClosed = {}) override;
    void showBalloon(Icon icon, const QString &message, const QString &title, int milliseconds) override;
    void chooseFolder(const QString &title, std::function<void(const QString &)> onChosen) override;

    QString clipboardText() override;
    void setClipboardText(const QString &text) override;
    void clearClipboard() override;

    QList<Shown> shown;
    QStringList folderAnswers;
    QString clipboard;
    int clipboardClears = 0;

    // The texts of every message box shown so far, in order.
    QStringList messages() const;
};
