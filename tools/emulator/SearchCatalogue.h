#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// One hit of the search site: a file, or one part of a multi-part upload, kept
// on the service.
struct SearchEntry {
    int id = 0;          // number of the hit's details page
    QString title;       // plain text; the parts of an upload share it
    QString ext;         // the file type the site shows and filters by
    qint64 size = 0;     // bytes of this file or part
    int part = 0;        // 1..parts for a part of a multi-part upload, else 0
    int parts = 0;
    QDate added;
    int popularity = 0;  // 0..999
    QString source;      // the source title; empty when the site shows none
    // The service files of the details page's "Direct links:" block: the file
    // itself, or every part of its upload.
    QStringList fileIds;
    QStringList fileNames;
};

// The site's fixed catalogue, in its own order: first the plainly available
// files of the emulator's demo catalogue, then generated uploads (about 1250
// hits over twelve topics) whose files are ids the emulator reads as plain,
// available files of the hit's size.
const QList<SearchEntry> &SearchCatalogue();

// The site's "today", which its date filters count back from.
QDate SearchCatalogueToday();
