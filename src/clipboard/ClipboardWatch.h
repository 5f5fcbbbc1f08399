#pragma once

#include <QObject>
#include <QTimer>

class LinkReader;
class Prompter;

// Looks at the clipboard once a second while capture is on; text that mentions
// the service goes to the link reader quietly, and the clipboard is cleared
// once a link from it was added.
class ClipboardWatch final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClipboardWatch)

public:
    ClipboardWatch(LinkReader &reader, Prompter &prompter, QObject *parent = nullptr);

    // The "Catch RapidShare Links in the clipboard" box; on at start.
    bool CatchEnabled() const { return m_catchEnabled; }
    void SetCatchEnabled(bool enabled) { m_catchEnabled = enabled; }

    void SetInterval(int milliseconds) { tmrClipboard.setInterval(milliseconds); }
    void tmrClipboard_Timer();

private:
    LinkReader &m_reader;
    Prompter &m_prompter;
    QTimer tmrClipboard;
    bool m_catchEnabled = true;
};
