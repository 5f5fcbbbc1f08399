// tf_fetch URL FILE: downloads URL (http or https, as a direct link) into FILE (or
// the free name beside it) with the program's own downloader. Exit status 0 on
// Complete, 1 on Error. https trusts the system's authorities and the file named
// by TIDEFETCH_EXTRA_CA_FILE.

#include "transfer/DownloadAsynch.h"
#include "transfer/TlsTrust.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTextStream err(stderr);
    if (args.size() != 3) {
        err << "usage: tf_fetch URL FILE\n";
        return 2;
    }
    if (const QString problem = TlsTrust::ExtraCaProblem(); !problem.isEmpty()) {
        err << "tf_fetch: " << problem << '\n';
        return 2;
    }
    DownloadAsynch downloader;
    // Queued: an end raised inside StartDownload, before the loop runs, still ends it.
    QObject::connect(&downloader, &DownloadAsynch::Complete, &app, [] { QCoreApplication::exit(0); },
                     Qt::QueuedConnection);
    QObject::connect(&downloader, &DownloadAsynch::Error, &app,
                     [&err](int, const QString &description) {
                         err << "tf_fetch: " << description << '\n';
                         err.flush();
                         QCoreApplication::exit(1);
                     },
                     Qt::QueuedConnection);
    downloader.setDownID(1);
    downloader.setDirectLink(true);
    downloader.setURL(args.at(1));
    downloader.setLocalFilePath(args.at(2));
    downloader.StartDownload(1);
    return app.exec();
}
