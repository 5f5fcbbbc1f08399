#include "SearchCatalogue.h"

#include "EmulatorCatalogue.h"

#include <QRegularExpression>

namespace {

constexpr qint64 kMiB = 1024 * 1024;

const QStringList kTopics = {"Linux",    "Holiday", "Concert",  "Lecture", "Nature",  "Retro Game",
                             "Jazz",     "Cooking", "Football", "Cartoon", "Audiobook", "Photography"};
const QStringList kFlavours = {"Collection", "Live",     "Remastered", "Complete Series", "Highlights",
                               "Soundtrack", "Tutorial", "Archive",    "Special Edition", "Bonus Pack"};
const QStringList kTypes = {"3gp", "avi", "mkv", "mp3", "mp4", "mpeg", "mpg", "rar", "rmvb", "wma", "wmv", "zip"};
constexpr int kUploads = 1000;

// An id of digits, size and pace words only: a file the service simply has.
bool IsPlainFile(const QString &fileId)
{
    static const QRegularExpression plainWord(QStringLiteral("^(\\d+|s\\d+[kmg]?|rate\\d+)$"));
    for (const QString &word : fileId.split(QLatin1Char('_'))) {
        if (!plainWord.match(word).hasMatch())
            return false;
    }
    return true;
}

QString Slug(const QString &title)
{
    return title.toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
}

// The demo files by their own names: "garden-birds-field-recording.mp3" is the
// hit "garden birds field recording" of type mp3.
void AddDemoFiles(QList<SearchEntry> &entries, const QDate &today)
{
    int index = 0;
    for (const CatalogueEntry &file : DemoCatalogue()) {
        if (!IsPlainFile(file.fileId))
            continue;
        const qsizetype dot = file.fileName.lastIndexOf(QLatin1Char('.'));
        SearchEntry entry;
        entry.id = int(entries.size()) + 1;
        entry.title = file.fileName.left(dot).replace(QLatin1Char('-'), QLatin1Char(' '));
        entry.ext = file.fileName.mid(dot + 1);
        entry.size = file.size;
        entry.added = today.addDays(-11 * index);
        entry.popularity = 990 - index;
        entry.source = QStringLiteral("Tidefetch demo files");
        entry.fileIds = {file.fileId};
        entry.fileNames = {file.fileName};
        entries.append(entry);
        ++index;
    }
}

// Upload u: single files of many types and sizes, and every eighth upload a
// rar archive in three parts, each part a hit of its own.
void AddUploads(QList<SearchEntry> &entries, const QDate &today)
{
    for (int u = 0; u < kUploads; ++u) {
        const QString title = kTopics[u % kTopics.size()] + QLatin1Char(' ') + kFlavours[(u / 12) % kFlavours.size()]
                              + QLatin1Char(' ') + QString::number(u / 120 + 1);
        const int parts = u % 8 == 5 ? 3 : 1;
        const qsizetype first = entries.size();
        for (int part = 1; part <= parts; ++part) {
            SearchEntry entry;
            entry.id = int(entries.size()) + 1;
            entry.title = title;
            entry.ext = parts > 1 ? QStringLiteral("rar") : kTypes[(u * 5 + u / 12) % kTypes.size()];
            entry.size = parts == 1 ? (1 + (u * 7919) % 1500) * kMiB + (u * 104729) % kMiB
                         : part < parts ? 100 * kMiB
                                        : (1 + (u * 37) % 100) * kMiB;
            entry.part = parts > 1 ? part : 0;
            entry.parts = parts > 1 ? parts : 0;
            entry.added = today.addDays(-((u * 37) % 800));
            entry.popularity = (u * 7717 + part) % 1000;
            if (u % 5 != 4)
                entry.source = kTopics[u % kTopics.size()] + QStringLiteral(" uploads by member ")
                               + QString::number(u % 50 + 1);
            entries.append(entry);
        }
        // Every part's details page lists the links of all parts of the upload.
        QStringList ids;
        QStringList names;
        for (qsizetype i = first; i < entries.size(); ++i) {
            const SearchEntry &entry = entries[i];
            ids << QStringLiteral("%1_s%2_rate8192").arg(4100000 + entry.id).arg(entry.size);
            names << Slug(title) + (parts > 1 ? QStringLiteral(".part%1.rar").arg(entry.part)
                                              : QLatin1Char('.') + entry.ext);
        }
        for (qsizetype i = first; i < entries.size(); ++i) {
            entries[i].fileIds = ids;
            entries[i].fileNames = names;
        }
    }
}

} // namespace

QDate SearchCatalogueToday()
{
    return QDate(2008, 6, 30);
}

const QList<SearchEntry> &SearchCatalogue()
{
    static const QList<SearchEntry> entries = [] {
        QList<SearchEntry> made;
        AddDemoFiles(made, SearchCatalogueToday());
        AddUploads(made, SearchCatalogueToday());
        return made;
    }();
    return entries;
}
