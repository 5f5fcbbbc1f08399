// The program's start-up and "START" -> "All" without a window, for tests that
// kill the program at any moment and start it again:
//
//   tf_queue_worker <program folder>
//
// The program folder holds DownList.db; the settings (download folder, service
// hosts) come from the per-user store, as the program reads them. Exits 0 once
// the queue is idle: no row in progress and none "Queued"; 1 when the program
// cannot start. The messages the program showed go to stderr as it ends.

#include "app/MainController.h"
#include "queue/DownloadScheduler.h"
#include "queue/QueueCommands.h"
#include "rapidshare/clsRapidShare.h"
#include "util/AppSettings.h"
#include "util/RecordingPrompter.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

bool QueueIsIdle(MainController &controller)
{
    if (controller.Scheduler().ActiveCount() != 0)
        return false;
    for (RecordSet row = controller.Store().rsDownList.Clone(); !row.IsEOF(); row.MoveNext()) {
        if (row.Field(u"Download_Status").toString() == QLatin1String("Queued"))
            return false;
    }
    return true;
}

int EndWith(int status, const RecordingPrompter &prompter)
{
    for (const RecordingPrompter::Shown &shown : prompter.shown)
        std::fprintf(stderr, "%s: %s\n", qPrintable(shown.title), qPrintable(shown.text));
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Tidefetch"));
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fputs("usage: tf_queue_worker <program folder>\n", stderr);
        return 2;
    }

    AppSettings settings;
    RecordingPrompter prompter;
    MainController controller(arguments.at(1), settings, prompter);
    if (!controller.Load({}, {}))
        return EndWith(1, prompter);

    // Every report reaches the scheduler before this look: queued, it runs once
    // the scheduler has ended the row and started the next.
    const auto exitWhenIdle = [&controller] {
        if (QueueIsIdle(controller))
            QCoreApplication::exit(0);
    };
    const auto lookLater = [&application, exitWhenIdle] {
        QMetaObject::invokeMethod(&application, exitWhenIdle, Qt::QueuedConnection);
    };
    // Every end of a row writes into it, except a negotiation's final "Stop".
    QObject::connect(controller.Store().rsDownList.Table().get(), &RecordTable::RowChanged, &application, lookLater);
    QObject::connect(controller.RapidShare, &clsRapidShare::StatusDownload, &application, lookLater);

    controller.Commands().QueueAllDownloads();
    lookLater();
    return EndWith(QCoreApplication::exec(), prompter);
}
