#pragma once

#include "SearchCatalogue.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>

class ServiceEmulator;

// The file-search site, played by the emulator over SearchCatalogue():
//
//   /search.html?q=..&sort=..&select=..&hosting=..&date=..&sizefrom=..&sizeto=..&page=..
//        a result page: the total in parentheses before "</title>", then ten
//        hits of the asked page, each a link with class resultsLink (query
//        words in bold), "ext:", the size between non-breaking spaces ("Part n
//        of m" first for a part), "date:" and, for most hits, "Source title:"
//   /details/<n>.html
//        the hit's details page with its "Direct links:" block: the service
//        links ("http://rapidshare.com/files/<id>/<name>") of its file or of
//        every part of its upload, one per line
//
// "//search.html" is answered like "/search.html". Every filter of the query is
// honoured: all words of q in the title (letter case ignored), select (a file
// type or All), hosting (All or 1, the service; any other site has no files),
// date (0 whenever, 1 day, 2 week, 3 month, 4 two months, 5 four months, 6 six
// months, 7 year), sizefrom and sizeto in megabytes, sort (sa, sd, da, dd, pa,
// pd; otherwise the catalogue's order) and page (from 1).
class SearchSite final
{
    Q_DISABLE_COPY_MOVE(SearchSite)

public:
    // `selfHost` gives the "host:port" the details links point at.
    explicit SearchSite(std::function<QString()> selfHost);

    // Serves the site from `emulator`, its details links pointing at the emulator.
    static void Register(ServiceEmulator &emulator);

    // The whole HTTP response for a request target (path and query, as sent).
    QByteArray Respond(const QString &pathAndQuery) const;

    // The hits a query selects, in the order of its sort, before paging; the
    // query's values are percent-decoded.
    static QList<const SearchEntry *> Select(const QHash<QString, QString> &query);

private:
    QByteArray ResultPage(const QHash<QString, QString> &query) const;
    QByteArray DetailsPage(int id) const;
    QString DetailsLink(const SearchEntry &entry) const;

    std::function<QString()> m_selfHost;
};
