#pragma once

#include <QString>

// The search page's rules that do not need a widget: the hint, the summary
// caption, which paging controls may be used, and the shape of collected links.
namespace SearchPageRules {

// Shown in light grey in the search box while it holds no text of the user's.
QString SearchHint();

// True when there is nothing to search for: no text, or the hint itself.
bool IsSearchTextEmpty(const QString &text);

// The result grid's caption after a search: Search for "x" [37 Files Found], or
// [0 Files Found] when the search yielded no page.
QString SummaryCaption(const QString &searchText, const QString &totalCount, int pageCount);
// The caption after a search whose page could not be fetched: Search for "x"
// failed: <reason>. It stays until the next search.
QString FailureCaption(const QString &searchText, const QString &reason);

struct PagingState {
    bool selector = false;
    bool previous = false;
    bool next = false;

    bool operator==(const PagingState &) const = default;
};

// The page selector, Previous and Next with `pageCount` pages and the entry at
// `selectedIndex` (0-based) chosen.
PagingState Paging(int pageCount, int selectedIndex);

// The links collected from details pages, one a line: every CR LF pair and every
// blank separates links, nothing is left at either end. A lone LF stays as it is.
QString NormaliseDirectLinks(const QString &links);

} // namespace SearchPageRules
