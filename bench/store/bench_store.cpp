// Opening a long queue and the duplicate test of a new link.
//   bench_store            prints milliseconds, peak memory and microseconds per check
#include "store/LinkStore.h"
#include "store/RecordTableModel.h"
#include "support/TestListFile.h"
#include "util/RecordingPrompter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <ctime>

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

// Microseconds per refused AddToCheckList against a check list of `rows` links.
double DuplicateCheckMicroseconds(int rows)
{
    TestListFile file;
    file.FillCheckList(rows);
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

// CPU time of this process in milliseconds: on a busy machine closer to what
// the open costs than the wall clock.
double CpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    const int rows = 100000;
    {
        TestListFile file;
        file.FillDownList(rows);
        file.FillCheckList(100);
        const double before = PeakMemoryMiB();
        QElapsedTimer timer;
        timer.start();
        const double cpuBefore = CpuMilliseconds();
        RecordingPrompter prompter;
        LinkStore store(file.Path(), prompter);
        store.LoadTable(QStringLiteral("Select * From DownList"), &store.rsDownList);
        store.LoadTable(QStringLiteral("Select * From CheckList"), &store.rsCheckList);
        RecordTableModel downModel(store.rsDownList.Table());
        RecordTableModel checkModel(store.rsCheckList.Table());
        const qint64 openMs = timer.elapsed();
        out << "open DownList of " << downModel.rowCount() << " rows + CheckList, models built: " << openMs
            << " ms wall, " << QString::number(CpuMilliseconds() - cpuBefore, 'f', 0) << " ms CPU (target < 1000)\n";
        out << "peak memory: " << QString::number(PeakMemoryMiB(), 'f', 1) << " MiB (before opening "
            << QString::number(before, 'f', 1) << " MiB; target < 150)\n";
    }
    for (int size : {1000, 100000})
        out << "duplicate check against " << size << " links: "
            << QString::number(DuplicateCheckMicroseconds(size), 'f', 1) << " us (target < 1000)\n";
    return 0;
}
