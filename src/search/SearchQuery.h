#pragma once

#include <QString>

#include <optional>

// The query state of a search: what the user asked for, as the window sets it.
struct SearchQuery {
    QString SearchText;    // sent as stored: not trimmed, not escaped
    qint32 SortBy = 0;     // 0..6: none, size, date, popularity, each ascending then descending
    qint32 FilterByDate = 0;
    qint32 Extension = 0;  // 0..12: "All" and the file types of the window's list
    qint32 WebSite = 0;    // 0: all hosting services; otherwise the site's number of one
    qint16 FilterSizeFrom = 0; // megabytes, 0: no minimum
    qint16 FilterSizeTo = 0;   // megabytes, 0: no maximum
};

// The query text of a search request, parameters in the site's fixed order:
// q, sort, select, hosting, date, sizefrom/sizeto, and page when one is given.
QString BuildSearchQuery(const SearchQuery &query, std::optional<qint32> page);
