#include "clipboard/LinkReader.h"

#include "store/LinkStore.h"
#include "util/LinkKinds.h"
#include "util/Prompter.h"
#include "util/TextRules.h"

namespace {

// Index of the LF that ends the line holding `from`, or the text's size on the last line.
qsizetype LineEnd(QStringView text, qsizetype from)
{
    const qsizetype lineFeed = text.indexOf(u'\n', from);
    return lineFeed < 0 ? text.size() : lineFeed;
}

// Appends text[lineStart, lineEnd) with its line break as CR LF; lineEnd is the
// line's LF, or the text's size for a last line without a break. A CR right
// before the LF belongs to the break.
void AppendLineWithCrLf(QString &out, QStringView text, qsizetype lineStart, qsizetype lineEnd)
{
    if (lineEnd == text.size()) {
        out.append(text.sliced(lineStart));
        return;
    }
    const bool crBeforeLineFeed = lineEnd > lineStart && text.at(lineEnd - 1) == u'\r';
    out.append(text.sliced(lineStart, lineEnd - lineStart - (crBeforeLineFeed ? 1 : 0)));
    out.append(u"\r\n");
}

} // namespace

LinkReader::LinkReader(LinkStore &store, Prompter &prompter, QString serviceDomain, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_prompter(prompter)
    , m_serviceDomain(std::move(serviceDomain))
{
}

bool LinkReader::IsSupportedLink(const QString &text) const
{
    return LinkKinds::IsServiceLink(text, m_serviceDomain);
}

int LinkReader::AddLinksFromText(const QString &text, bool quiet, Kinds kinds)
{
    const bool direct = kinds == Kinds::ServiceAndDirectLinks;
    const QString trimmed = TextRules::TrimBlanks(text);
    if (!IsSupportedLink(trimmed) && !(direct && LinkKinds::StartsWithWebScheme(trimmed))) {
        if (!quiet)
            m_prompter.showMessage(Prompter::Icon::Exclamation, QStringLiteral("Tidefetch"),
                                   tr("No Supported links Found."));
        return 0;
    }
    int count = 0;
    const QStringList lines = trimmed.split(QStringLiteral("\r\n"));
    for (const QString &line : lines) {
        const QStringList words = line.split(QLatin1Char(' '));
        for (const QString &rawWord : words) {
            const QString word = TextRules::TrimBlanks(rawWord);
            if (word.size() < 5
                || !(IsSupportedLink(word) || (direct && LinkKinds::IsDirectLink(word, m_serviceDomain))))
                continue;
            if (m_store.AddToCheckList(word, quiet))
                ++count;
        }
    }
    if (count > 0) {
        // Two texts rather than a plural form: English has no translation to pick "Link" for one.
        const QString message = count == 1 ? tr("1 Link Added") : tr("%1 Links Added").arg(count);
        m_prompter.showBalloon(Prompter::Icon::Information, message, QStringLiteral("Tidefetch"), 5000);
        Q_EMIT LinksAdded(count);
    }
    return count;
}

QString LinkReader::WithCrLfLineBreaks(QStringView text)
{
    QString converted;
    converted.reserve(text.size());
    for (qsizetype lineStart = 0;;) {
        const qsizetype lineEnd = LineEnd(text, lineStart);
        AppendLineWithCrLf(converted, text, lineStart, lineEnd);
        if (lineEnd == text.size())
            return converted;
        lineStart = lineEnd + 1;
    }
}

QString LinkReader::LinkLinesWithCrLfLineBreaks(QStringView text) const
{
    QString lines;
    qsizetype lineEnd = LineEnd(text, 0);
    AppendLineWithCrLf(lines, text, 0, lineEnd);
    while (lineEnd < text.size()) {
        const qsizetype searchStart = lineEnd + 1;
        const qsizetype mention = text.indexOf(m_serviceDomain, searchStart, Qt::CaseInsensitive);
        if (mention < 0)
            break;
        const qsizetype lineStart =
            searchStart + text.sliced(searchStart, mention - searchStart).lastIndexOf(u'\n') + 1;
        lineEnd = LineEnd(text, mention);
        AppendLineWithCrLf(lines, text, lineStart, lineEnd);
    }
    return lines;
}
