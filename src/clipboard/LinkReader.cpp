#include "clipboard/LinkReader.h"

#include "store/LinkStore.h"
#include "util/Prompter.h"
#include "util/TextRules.h"

LinkReader::LinkReader(LinkStore &store, Prompter &prompter, QString serviceDomain, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_prompter(prompter)
    , m_serviceDomain(std::move(serviceDomain))
{
}

bool LinkReader::IsSupportedLink(const QString &text) const
{
    return text.size() >= 16 && text.left(7).toLower() == QLatin1String("http://")
        && text.contains(m_serviceDomain, Qt::CaseInsensitive) && text.count(QLatin1Char('/')) >= 5;
}

int LinkReader::AddLinksFromText(const QString &text, bool quiet)
{
    const QString trimmed = TextRules::TrimBlanks(text);
    if (!IsSupportedLink(trimmed)) {
        if (!quiet)
            m_prompter.showMessage(Prompter::Icon::Exclamation, QStringLiteral("Tidefetch"),
                                   QStringLiteral("No Supported links Found."));
        return 0;
    }
    int count = 0;
    const QStringList lines = trimmed.split(QStringLiteral("\r\n"));
    for (const QString &line : lines) {
        const QStringList words = line.split(QLatin1Char(' '));
        for (const QString &rawWord : words) {
            const QString word = TextRules::TrimBlanks(rawWord);
            if (word.size() < 5 || !IsSupportedLink(word))
                continue;
            if (m_store.AddToCheckList(word, quiet))
                ++count;
        }
    }
    if (count > 0) {
        const QString message = count == 1 ? QStringLiteral("1 Link Added")
                                            : QString::number(count) + QLatin1String(" Links Added");
        m_prompter.showBalloon(Prompter::Icon::Information, message, QStringLiteral("Tidefetch"), 5000);
        Q_EMIT LinksAdded(count);
    }
    return count;
}

QString LinkReader::WithCrLfLineBreaks(const QString &text)
{
    QString converted = text;
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return converted.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}
