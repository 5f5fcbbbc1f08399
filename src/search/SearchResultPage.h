#pragma once

#include <QList>
#include <QString>

// One hit of a result page.
struct SearchResultItem {
    bool Filled = false; // the slot holds a hit; a page fills its slots from 0 without gaps
    QString FileName;
    QString FileExt;
    QString FileSize;    // for one part of a multi-part file: "Part 1 of 3 size:700 MB"
    QString FileDesc;    // the source title, or "Not Available"
    QString DetailsLink; // as written in the page
    QString DateAdded;
};

// A parsed result page: the total of hits for the query, the number of pages
// (0..100) and the up to ten hits of this page. Before the first parse `Items`
// is empty; every parse gives it its ten slots.
struct SearchResultPage {
    static constexpr int SlotCount = 10;
    static constexpr qint16 MaxPageCount = 100;

    bool Found = false; // at least one hit was read
    QString TotalCount;
    qint16 PageCount = 0;
    QList<SearchResultItem> Items;
};
