// Link intake and the progress write of a long queue.
//   bench_queue     prints the time to take 10,000 pasted links, and microseconds
//                   per Progress report at 1,000 and 100,000 queued rows
#include "app/LinkChecker.h"
#include "app/MainController.h"
#include "queue/DownloadScheduler.h"
#include "support/TestListFile.h"
#include "util/AppSettings.h"
#include "util/RecordingPrompter.h"

#include "ServiceEmulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// The program without its window over a list file, pointed at the emulator.
struct Program {
    ServiceEmulator emulator;
    TestListFile folder;
    QTemporaryDir settingsDir;
    AppSettings settings{settingsDir.filePath(QStringLiteral("settings.ini"))};
    RecordingPrompter prompter;
    std::unique_ptr<MainController> controller;

    bool Start()
    {
        emulator.Listen();
        settings.SetValue(QStringLiteral("Services"), QStringLiteral("ApiHost"), emulator.Host());
        settings.SetDownPath(settingsDir.filePath(QStringLiteral("downloads")));
        controller = std::make_unique<MainController>(folder.Folder(), settings, prompter);
        return controller->Load({}, {});
    }
};

double PasteMilliseconds(int links)
{
    Program program;
    program.Start();
    QString text;
    for (int i = 0; i < links; ++i)
        text += QStringLiteral("http://rapidshare.com/files/%1_s1k/file_%1.zip\n").arg(i);
    QElapsedTimer timer;
    timer.start();
    program.controller->cmdCheckLinks_Click(text);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    RecordSet first = program.controller->Store().rsCheckList.Clone();
    if (program.controller->Store().rsCheckList.RecordCount() != links || !program.controller->Checker().IsChecking()
        || first.Field(u"Status").toString() != QLatin1String("Checking"))
        QTextStream(stderr) << "warning: the links were not all taken, or no check started\n";
    return ms;
}

double ProgressMicroseconds(int rows)
{
    Program program;
    // The last row is the one in progress: every report finds it by ID.
    program.folder.FillDownList(rows);
    program.folder.Execute({QStringLiteral("Update DownList Set Download_Status='Complete'"),
                            QStringLiteral("Update DownList Set Download_Status='Queued' Where ID=%1").arg(rows)});
    program.Start();
    RecordSet last = program.controller->Store().rsDownList.Clone();
    last.Locate(rows);
    DownloadScheduler &scheduler = program.controller->Scheduler();
    QElapsedTimer scan;
    scan.start();
    scheduler.StartDownload();
    QTextStream(stdout) << "StartDownload finding the last row of " << rows << ": "
                        << QString::number(double(scan.nsecsElapsed()) / 1e6, 'f', 2) << " ms\n";
    const int reports = 2000;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < reports; ++i)
        scheduler.Downloader_Progress(int(last.ID()), 100.0 * i / reports, 1536000 + i, qint64(i) << 20,
                                      qint64(reports - i) << 20, reports - i);
    return double(timer.nsecsElapsed()) / 1000.0 / reports;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    out << "10000 pasted links in the check list, first check started: "
        << QString::number(PasteMilliseconds(10000), 'f', 0) << " ms (target < 2000)\n";
    double small = 0;
    for (int rows : {1000, 100000}) {
        const double micros = ProgressMicroseconds(rows);
        out << "Progress report written into a row of a " << rows << "-row queue: " << QString::number(micros, 'f', 1)
            << " us (target < 100)\n";
        if (rows == 1000)
            small = micros;
        else
            out << "ratio 100000 / 1000 rows: " << QString::number(micros / small, 'f', 2) << " (target < 2)\n";
    }
    return 0;
}
