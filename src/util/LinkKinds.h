#pragma once

#include <QString>

class QUrl;

// The two kinds of link the program takes. A service link is the file-hosting
// service's own form; a direct link is any other http or https address, fetched
// as it stands. An address on the service's domain is the service's, whatever
// its form, so it is never taken as a direct link.
namespace LinkKinds {

// At least 16 characters, "http://" (any case), the service domain (any case)
// and six "/"-separated pieces.
bool IsServiceLink(const QString &text, const QString &serviceDomain);

// An "http://" or "https://" address (any case) with a host, that does not
// mention the service domain.
bool IsDirectLink(const QString &text, const QString &serviceDomain);

// True when `text` starts with "http://" or "https://", any case.
bool StartsWithWebScheme(const QString &text);

// A valid http or https address with a host.
bool IsWebAddress(const QUrl &url);

} // namespace LinkKinds
