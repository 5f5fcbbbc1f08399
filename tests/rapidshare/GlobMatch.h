#pragma once

#include <QString>
#include <QStringList>

// `text` matched by `pattern`, where each "*" stands for any text (URLs and
// replies hold "?" and "/", so no wildcard syntax beyond "*").
inline bool GlobMatch(const QString &text, const QString &pattern)
{
    const QStringList pieces = pattern.split(QLatin1Char('*'));
    if (pieces.size() == 1)
        return text == pattern;
    if (!text.startsWith(pieces.first()) || !text.endsWith(pieces.last()))
        return false;
    qsizetype at = pieces.first().size();
    for (qsizetype i = 1; i + 1 < pieces.size(); ++i) {
        at = text.indexOf(pieces.at(i), at);
        if (at < 0)
            return false;
        at += pieces.at(i).size();
    }
    return at <= text.size() - pieces.last().size();
}
