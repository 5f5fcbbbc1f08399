#include "EmulatorCatalogue.h"

#include "FileBehaviour.h"

QList<CatalogueEntry> DemoCatalogue()
{
    struct Row {
        const char *id;
        const char *name;
    };
    static const Row rows[] = {
        {"3000001_s48k_rate256", "meeting-notes-march.pdf"},
        {"3000002_s3m_rate1024", "garden-birds-field-recording.mp3"},
        {"3000003_s12m_rate2048_dl3", "harbour-timelapse-720p.avi"},
        {"3000004_s700m_rate8192", "city-lights-documentary.avi"},
        {"3000005_s1g_rate8192", "open-source-desktop-live.iso"},
        {"3000006_s250k_rate256_wait2", "recipe-collection.zip"},
        {"3000007_s95m_rate4096", "piano-practice-sessions.rar"},
        {"3000008_s5m_rate1024_dl5", "mountain-trail-photos.zip"},
        {"3000009_s2m_c0", "old-family-scans.zip"},
        {"3000010_s20m_c3", "conference-talk-slides.zip"},
        {"3000011_s64m_rate4096", "lecture-series-part1.rar"},
        {"3000012_s64m_rate4096", "lecture-series-part2.rar"},
        {"3000013_s33m_rate4096", "lecture-series-part3.rar"},
        {"3000014_s180k_rate256", "spreadsheet-templates.xls"},
        {"3000015_s410m_rate8192", "indie-game-soundtrack-flac.rar"},
        {"3000016_s7m_rate2048_r302", "short-film-trailer.mp4"},
        {"3000017_s4g_rate16384", "video-archive-2007.tar"},
        {"3000018_s900k_rate512_c5", "popular-wallpapers.zip"},
        {"3000019_s16m_rate2048", "language-course-audio.zip"},
        {"3000020_s1m_rate512", "knitting-patterns.pdf"},
    };
    QList<CatalogueEntry> entries;
    for (const Row &row : rows) {
        const QString id = QString::fromLatin1(row.id);
        entries.append({id, QString::fromLatin1(row.name), FileBehaviour::FromFileId(id).value().size});
    }
    return entries;
}
