#pragma once

#include "search/SearchResultPage.h"

#include <QStringView>

// Reads a result page of the search site by text scanning: the total from the
// last "(" before "</title>", then up to ten hits, each cut between its fixed
// markers. A missing marker ends the parse and keeps what was read. A page
// without a readable total gives TotalCount "0", PageCount 0 and no hits.
SearchResultPage ParseResultPage(QStringView page);
