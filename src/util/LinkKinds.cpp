#include "util/LinkKinds.h"

#include <QUrl>

namespace LinkKinds {

namespace {

// text.count('/') >= wanted, stopping at the wanted one.
bool HasSlashes(const QString &text, int wanted)
{
    qsizetype slash = -1;
    for (int found = 0; found < wanted; ++found) {
        slash = text.indexOf(u'/', slash + 1);
        if (slash < 0)
            return false;
    }
    return true;
}

} // namespace

bool IsServiceLink(const QString &text, const QString &serviceDomain)
{
    return text.size() >= 16 && text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        && text.contains(serviceDomain, Qt::CaseInsensitive) && HasSlashes(text, 5);
}

bool StartsWithWebScheme(const QString &text)
{
    return text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

bool IsDirectLink(const QString &text, const QString &serviceDomain)
{
    if (!StartsWithWebScheme(text) || (!serviceDomain.isEmpty() && text.contains(serviceDomain, Qt::CaseInsensitive)))
        return false;
    return IsWebAddress(QUrl(text, QUrl::StrictMode));
}

bool IsWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme();
    return url.isValid() && !url.host().isEmpty()
        && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

} // namespace LinkKinds
