#include "search/RequestUrl.h"

namespace RequestUrl {

namespace {

bool IsHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// QUrl's tolerant reading encodes every "%" once any one of them starts no
// escape, which would double-encode the valid ones; encode only the stray ones.
QString EscapeStrayPercent(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool stray =
            text[i] == u'%' && !(i + 2 < text.size() && IsHexDigit(text[i + 1]) && IsHexDigit(text[i + 2]));
        if (stray)
            escaped += QLatin1String("%25");
        else
            escaped += text[i];
    }
    return escaped;
}

} // namespace

QUrl ForSearch(const QString &host, const QString &query)
{
    QUrl url(QLatin1String("http://") + host + QLatin1String("//search.html"), QUrl::StrictMode);
    if (url.isValid())
        url.setQuery(EscapeStrayPercent(query), QUrl::TolerantMode);
    return url;
}

QUrl ForPage(const QString &link)
{
    return QUrl(EscapeStrayPercent(link), QUrl::TolerantMode);
}

bool IsFetchable(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

} // namespace RequestUrl
