#pragma once

#include <QList>
#include <QString>

// One file of the demo catalogue: the files a fresh emulator knows by name.
struct CatalogueEntry {
    QString fileId; // spells the file's behaviour (FileBehaviour)
    QString fileName;
    qint64 size = 0;
};

// A fixed list of named files of many sizes, most of them plain, a few with the
// service's waits and refusals, all sent at a pace a person can watch.
QList<CatalogueEntry> DemoCatalogue();
