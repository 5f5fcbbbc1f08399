// tf_fetch URL FILE: downloads URL into FILE (or the free name beside it) with
// the program's own downloader. Exit status 0 on Complete, 1 on Error.

#include "transfer/DownloadAsynch.h"

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
    DownloadAsynch downloader;
    QObject::connect(&downloader, &DownloadAsynch::Complete, &app, [] { QCoreApplication::exit(0); });
    QObject::connect(&downloader, &DownloadAsynch::Error, &app, [&err](int, const QString &description) {
        err << "tf_fetch: " << description << '\n';
        QCoreApplication::exit(1);
    });
    downloader.setDownID(1);
    downloader.setURL(args.at(1));
    downloader.setLocalFilePath(args.at(2));
    downloader.StartDownload(1);
    return app.exec();
}
