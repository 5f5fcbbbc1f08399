#pragma once

#include <QByteArray>
#include <QString>

// Where one request goes: the scheme, the host and port to connect to, the
// authority as it is written in the address (sent as the Host header) and the
// request path without its leading "/". The path is kept as the bytes that go on
// the request line.
class HttpAddress final
{
public:
    enum class Scheme { Http, Https };

    Scheme scheme = Scheme::Http;
    QString host; // for the connection; an IPv6 literal without its brackets
    quint16 port = 80;
    QString authority; // host and optional ":port", exactly as written
    QByteArray path;

    // 80 for http, 443 for https.
    static quint16 DefaultPort(Scheme scheme);

    // Splits a download URL: one leading "https://", or leading "http://" prefixes,
    // are removed whatever their letter case (no prefix is http), the host is the
    // text before the first "/", the path the text after it. False, with a
    // description in `error`, for another scheme, a URL without "/" after its
    // host, an empty host or a bad port.
    static bool FromUrl(const QString &url, HttpAddress *address, QString *error);

    // A direct link's address, read as RFC 3986 says: "http://" or "https://"
    // and a host, where an empty path is "/". False, with a description, for
    // anything else.
    static bool FromWebUrl(const QString &url, HttpAddress *address, QString *error);

    // The target of a redirect's Location, seen from `current`. An absolute http
    // address loses its "http://www." or "http://" prefix (so a "www." host prefix
    // is dropped); "/path", "name" and "?query" resolve against the current host
    // and path. False, with a description, for a scheme other than http.
    static bool Resolve(const HttpAddress &current, const QByteArray &location, HttpAddress *address,
                        QString *error);

    // The target of a redirect's Location for a direct link: an RFC 3986 reference
    // resolved against `current`, names kept as they are; http and https both
    // ways. False, with a description, for any other scheme.
    static bool ResolveReference(const HttpAddress &current, const QByteArray &location, HttpAddress *address,
                                 QString *error);

    // The whole request: "GET /" + path + " HTTP/1.1", "Host: " + authority,
    // "Accept: */*", "Range: bytes=N-" when `rangeStart` is above 0, and the blank
    // line, every line ended by CR LF.
    QByteArray Request(qint64 rangeStart = 0) const;
};
