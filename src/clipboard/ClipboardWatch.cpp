#include "clipboard/ClipboardWatch.h"

#include "clipboard/LinkReader.h"
#include "util/Prompter.h"
#include "util/TextRules.h"

#include <exception>

ClipboardWatch::ClipboardWatch(LinkReader &reader, Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_reader(reader)
    , m_prompter(prompter)
{
    tmrClipboard.setInterval(1000);
    connect(&tmrClipboard, &QTimer::timeout, this, &ClipboardWatch::tmrClipboard_Timer);
    tmrClipboard.start();
}

void ClipboardWatch::tmrClipboard_Timer()
{
    if (!m_catchEnabled)
        return;
    try {
        // The reader's test of the whole text (which holds the domain test) comes
        // first, on the text as it is: CR LF breaks do not change it, except the
        // length of a text too short to hold a link. Only text that passes is read,
        // and only its lines that can hold a link.
        const QString text = m_prompter.clipboardText();
        if (!m_reader.IsSupportedLink(TextRules::TrimBlanks(text)))
            return;
        if (m_reader.AddLinksFromText(m_reader.LinkLinesWithCrLfLineBreaks(text), true) > 0)
            m_prompter.clearClipboard();
    } catch (const std::exception &) {
        m_prompter.showMessage(Prompter::Icon::Critical, QStringLiteral("Tidefetch"),
                               tr("Error occured while processing clipboard for RapidShare links"));
    }
}
