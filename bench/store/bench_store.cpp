// Opening a long queue and the duplicate test of a new link.
//   bench_store            prints milliseconds, peak memory and microseconds per check
#include "store/LinkStore.h"
#include "store/RecordTableModel.h"
#include "support/TestListFile.h"
#include "util/RecordingPrompter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextStream>

namespace {

// Peak resident memory of this process so far, in MiB (Linux).
double PeakMemoryMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// Fills a table straight through SQLite, as a long-running user's list would be.
void Fill(const QString &path, const QString &table, int rows)
{
    const QString name = QStringLiteral("bench-fill");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
        db.transaction();
        QSqlQuery query(db);
        if (table == QLatin1String("DownList")) {
            query.prepare(QStringLiteral(
                "Insert Into DownList (Check_Box, Local_File_Name, Download_Status, File_Size_String, Speed, Error_Desc, "
                "Time_Left, Downloaded_Bytes, Sharing_Link, Session_Status, File_Size_Bytes, Add_Time, Rapid_File_ID, "
                "Rapid_File_Name) Values (1, ?, ?, '350.25 MB', '', 'No Error', '00:00:00', 0, ?, 'Queued', 367263744, "
                "?, ?, ?)"));
            const QString added = QDateTime::currentDateTime().toString(Qt::ISODate);
            for (int i = 0; i < rows; ++i) {
                const QString fileName = QStringLiteral("holiday_video_part_%1.rar").arg(i);
                query.bindValue(0, fileName);
                query.bindValue(1, i % 3 == 0 ? QStringLiteral("Complete") : QStringLiteral("Queued"));
                query.bindValue(2, QStringLiteral("http://rapidshare.com/files/%1/%2").arg(100000000 + i).arg(fileName));
                query.bindValue(3, added);
                query.bindValue(4, QString::number(100000000 + i));
                query.bindValue(5, fileName);
                query.exec();
            }
        } else {
            query.prepare(QStringLiteral("Insert Into CheckList (Sharing_Link, Status, File_Name, File_Size) "
                                         "Values (?, '\?\?', '\?\?', '\?\?')"));
            for (int i = 0; i < rows; ++i) {
                query.bindValue(0, QStringLiteral("http://rapidshare.com/files/%1/file_%1.zip").arg(i));
                query.exec();
            }
        }
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// Microseconds per refused AddToCheckList against a check list of `rows` links.
double DuplicateCheckMicroseconds(int rows)
{
    TestListFile file;
    Fill(file.Path(), QStringLiteral("CheckList"), rows);
    RecordingPrompter prompter;
    LinkStore store(file.Path(), prompter);
    store.LoadTable(QStringLiteral("Select * From CheckList"), &store.rsCheckList);
    const int checks = 2000;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < checks; ++i)
        store.AddToCheckList(QStringLiteral("HTTP://RAPIDSHARE.COM/files/%1/FILE_%1.ZIP").arg((i * 7919) % rows));
    const double micros = double(timer.nsecsElapsed()) / 1000.0 / checks;
    if (prompter.messages().size() != checks)
        QTextStream(stderr) << "warning: not every check found its duplicate\n";
    return micros;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    const int rows = 100000;
    {
        TestListFile file;
        Fill(file.Path(), QStringLiteral("DownList"), rows);
        Fill(file.Path(), QStringLiteral("CheckList"), 100);
        const double before = PeakMemoryMiB();
        QElapsedTimer timer;
        timer.start();
        RecordingPrompter prompter;
        LinkStore store(file.Path(), prompter);
        store.LoadTable(QStringLiteral("Select * From DownList"), &store.rsDownList);
        store.LoadTable(QStringLiteral("Select * From CheckList"), &store.rsCheckList);
        RecordTableModel downModel(store.rsDownList.Table());
        RecordTableModel checkModel(store.rsCheckList.Table());
        const qint64 openMs = timer.elapsed();
        out << "open DownList of " << downModel.rowCount() << " rows + CheckList, models built: " << openMs
            << " ms (target < 1000)\n";
        out << "peak memory: " << QString::number(PeakMemoryMiB(), 'f', 1) << " MiB (before opening "
            << QString::number(before, 'f', 1) << " MiB; target < 150)\n";
    }
    for (int size : {1000, 100000})
        out << "duplicate check against " << size << " links: "
            << QString::number(DuplicateCheckMicroseconds(size), 'f', 1) << " us (target < 1000)\n";
    return 0;
}
