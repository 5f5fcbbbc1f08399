#pragma once

#include <QString>
#include <QUrl>

// Turns the address texts of the search client into request URLs. Characters
// that cannot stand in a URL as they are (blanks, non-ASCII letters, a "%" that
// starts no escape) are percent-encoded, and only those, so the server decodes
// the same text the client built; "&", "=" and existing escapes pass unchanged.
namespace RequestUrl {

// "http://" + host + "//search.html?" + query. A "#" in the query is part of the
// search text, not the start of a fragment.
QUrl ForSearch(const QString &host, const QString &query);

// A page address as written in a result page.
QUrl ForPage(const QString &link);

// True for the schemes the client fetches (http and https).
bool IsFetchable(const QUrl &url);

} // namespace RequestUrl
