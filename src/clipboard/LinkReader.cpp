#include "clipboard/LinkReader.h"

#include "store/LinkStore.h"
#include "util/Prompter.h"

namespace {

// Removes the space character only from both ends, as the reader's texts expect.
QString TrimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
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
    return text.size() >= 16 && text.left(7).toLower() == QLatin1String("http://")
        && text.contains(m_serviceDomain, Qt::CaseInsensitive) && text.count(QLatin1Char('/')) >= 5;
}

int LinkReader::AddLinksFromText(const QString &text, bool quiet)
{
    const QString trimmed = TrimBlanks(text);
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
            const QString word = TrimBlanks(rawWord);
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
