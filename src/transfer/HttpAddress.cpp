#include "transfer/HttpAddress.h"

#include "util/LinkKinds.h"

#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace {

const QLatin1String kHttpPrefix("http://");
const QLatin1String kHttpWwwPrefix("http://www.");
const QLatin1String kHttpsPrefix("https://");

// Bytes that cannot stand on a request line (blanks, controls, CR LF, 8-bit
// bytes) are percent-encoded, so an address can never add a header line or break
// the request; everything else, escapes included, goes out as written.
QByteArray RequestTarget(const QByteArray &raw)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray target;
    target.reserve(raw.size());
    for (const char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7f) {
            target += '%';
            target += hex[byte >> 4];
            target += hex[byte & 0x0f];
        } else {
            target += c;
        }
    }
    return target;
}

bool HasOtherScheme(const QString &text)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return scheme.match(text).hasMatch();
}

// "host", "host:port", "[v6]" or "[v6]:port".
bool SplitAuthority(const QString &authority, HttpAddress *address, QString *error)
{
    QString host = authority;
    QString port;
    if (authority.startsWith(QLatin1Char('['))) {
        const qsizetype close = authority.indexOf(QLatin1Char(']'));
        if (close < 0) {
            *error = QLatin1String("Invalid host in address: ") + authority;
            return false;
        }
        host = authority.mid(1, close - 1);
        const QString rest = authority.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(QLatin1Char(':'))) {
                *error = QLatin1String("Invalid host in address: ") + authority;
                return false;
            }
            port = rest.mid(1);
        }
    } else if (const qsizetype colon = authority.lastIndexOf(QLatin1Char(':')); colon >= 0) {
        host = authority.left(colon);
        port = authority.mid(colon + 1);
    }
    const bool blankInHost = std::any_of(host.cbegin(), host.cend(), [](QChar c) { return c.unicode() <= 0x20 || c.unicode() == 0x7f; });
    if (host.isEmpty() || blankInHost) {
        *error = QLatin1String("Invalid host in address: ") + authority;
        return false;
    }
    address->port = HttpAddress::DefaultPort(address->scheme);
    if (!port.isEmpty()) {
        static const QRegularExpression digits(QStringLiteral("^\\d{1,5}$"));
        const int value = digits.match(port).hasMatch() ? port.toInt() : 0;
        if (value < 1 || value > 65535) {
            *error = QLatin1String("Invalid port in address: ") + authority;
            return false;
        }
        address->port = quint16(value);
    }
    address->host = host;
    address->authority = authority;
    return true;
}

// Splits "authority/path" (no scheme) at the first "/", "?" or "#"; a fragment is
// never sent. `needSlash` refuses text whose authority is not followed by "/".
bool SplitAbsolute(const QString &text, bool needSlash, HttpAddress *address, QString *error)
{
    static const QRegularExpression delimiter(QStringLiteral("[/?#]"));
    const qsizetype end = text.indexOf(delimiter);
    if (needSlash && (end < 0 || text.at(end) != QLatin1Char('/'))) {
        *error = QLatin1String("The URL has no \"/\" after its host: ") + text;
        return false;
    }
    if (!SplitAuthority(end < 0 ? text : text.left(end), address, error))
        return false;
    QString rest = end < 0 ? QString() : text.mid(end);
    rest.truncate(rest.indexOf(QLatin1Char('#')) < 0 ? rest.size() : rest.indexOf(QLatin1Char('#')));
    if (rest.startsWith(QLatin1Char('/')))
        rest.remove(0, 1);
    address->path = RequestTarget(rest.toUtf8());
    return true;
}

} // namespace

quint16 HttpAddress::DefaultPort(Scheme scheme)
{
    return scheme == Scheme::Https ? 443 : 80;
}

bool HttpAddress::FromUrl(const QString &url, HttpAddress *address, QString *error)
{
    QString text = url;
    address->scheme = text.startsWith(kHttpsPrefix, Qt::CaseInsensitive) ? Scheme::Https : Scheme::Http;
    if (address->scheme == Scheme::Https)
        text.remove(0, kHttpsPrefix.size());
    else
        while (text.startsWith(kHttpPrefix, Qt::CaseInsensitive))
            text.remove(0, kHttpPrefix.size());
    if (text.contains(QLatin1String("://")) && HasOtherScheme(text)) {
        *error = QLatin1String("Only http and https addresses can be downloaded: ") + url;
        return false;
    }
    return SplitAbsolute(text, true, address, error);
}

bool HttpAddress::Resolve(const HttpAddress &current, const QByteArray &location, HttpAddress *address,
                          QString *error)
{
    QString target = QString::fromLatin1(location.trimmed());
    if (target.startsWith(QLatin1String("//")))
        target.prepend(QLatin1String("http:"));
    if (target.startsWith(kHttpPrefix, Qt::CaseInsensitive)) {
        const qsizetype prefix = target.startsWith(kHttpWwwPrefix, Qt::CaseInsensitive) ? kHttpWwwPrefix.size()
                                                                                         : kHttpPrefix.size();
        address->scheme = Scheme::Http;
        return SplitAbsolute(target.mid(prefix), false, address, error);
    }
    if (HasOtherScheme(target)) {
        *error = QLatin1String("Redirected to an address that is not http: ") + target;
        return false;
    }
    // Relative: same host; the path replaces, or is appended to the folder of,
    // the current one.
    *address = current;
    QByteArray base = current.path;
    base.truncate(base.indexOf('?') < 0 ? base.size() : base.indexOf('?'));
    QByteArray relative = location.trimmed();
    relative.truncate(relative.indexOf('#') < 0 ? relative.size() : relative.indexOf('#'));
    if (relative.startsWith('/'))
        address->path = RequestTarget(relative.mid(1));
    else if (relative.startsWith('?') || relative.isEmpty())
        address->path = base + RequestTarget(relative);
    else
        address->path = base.left(base.lastIndexOf('/') + 1) + RequestTarget(relative);
    return true;
}

bool HttpAddress::ResolveReference(const HttpAddress &current, const QByteArray &location, HttpAddress *address,
                                   QString *error)
{
    const QByteArray scheme = current.scheme == Scheme::Https ? "https://" : "http://";
    const QUrl base = QUrl::fromEncoded(scheme + current.authority.toUtf8() + '/' + current.path);
    const QUrl target = base.resolved(QUrl::fromEncoded(RequestTarget(location.trimmed())));
    if (!LinkKinds::IsWebAddress(target)) {
        *error = QLatin1String("Redirected to an address that is not http or https: ")
            + QString::fromLatin1(location.trimmed());
        return false;
    }
    return FromWebUrl(target.toString(QUrl::FullyEncoded), address, error);
}

bool HttpAddress::FromWebUrl(const QString &url, HttpAddress *address, QString *error)
{
    QUrl parsed = QUrl::fromEncoded(RequestTarget(url.trimmed().toUtf8()));
    if (!LinkKinds::IsWebAddress(parsed)) {
        *error = QLatin1String("Only http and https addresses can be downloaded: ") + url;
        return false;
    }
    // "https://host" and "https://host?query" ask for the root.
    if (parsed.path().isEmpty())
        parsed.setPath(QStringLiteral("/"));
    return FromUrl(parsed.toString(QUrl::FullyEncoded | QUrl::RemoveFragment), address, error);
}

QByteArray HttpAddress::Request(qint64 rangeStart) const
{
    QByteArray request = "GET /" + path + " HTTP/1.1\r\nHost: " + authority.toUtf8() + "\r\nAccept: */*\r\n";
    if (rangeStart > 0)
        request += "Range: bytes=" + QByteArray::number(rangeStart) + "-\r\n";
    return request + "\r\n";
}
