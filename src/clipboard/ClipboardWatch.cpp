#include "clipboard/ClipboardWatch.h"

#include "clipboard/LinkReader.h"
#include "util/Prompter.h"

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
        const QString text = LinkReader::WithCrLfLineBreaks(m_prompter.clipboardText());
        if (!text.contains(m_reader.ServiceDomain(), Qt::CaseInsensitive))
            return;
        if (m_reader.AddLinksFromText(text, true) > 0)
            m_prompter.clearClipboard();
    } catch (const std::exception &) {
        m_prompter.showMessage(Prompter::Icon::Critical, QStringLiteral("Tidefetch"),
                               QStringLiteral("Error occured while processing clipboard for RapidShare links"));
    }
}
