#include "EmulatorCatalogue.h"
#include "SearchSite.h"
#include "ServiceEmulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tidefetch-emulator"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Plays the file-hosting service on 127.0.0.1 for tests and demos."));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("Port to listen on; 0 picks a free one."),
                                        QStringLiteral("port"), QStringLiteral("0"));
    const QCommandLineOption quietOption(QStringLiteral("quiet"), QStringLiteral("Do not log requests to stderr."));
    const QCommandLineOption linksOption(QStringLiteral("links"),
                                         QStringLiteral("Print the sharing links of the demo catalogue."));
    parser.addOptions({portOption, quietOption, linksOption});
    parser.process(app);

    bool portOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    if (!portOk || port > 65535) {
        std::fprintf(stderr, "tidefetch-emulator: invalid port\n");
        return 2;
    }

    ServiceEmulator emulator;
    // Further sites served by the emulator register their routes here.
    SearchSite::Register(emulator);

    if (!emulator.Listen(quint16(port))) {
        std::fprintf(stderr, "tidefetch-emulator: cannot listen on 127.0.0.1:%u\n", port);
        return 1;
    }
    emulator.SetLogToStderr(!parser.isSet(quietOption));
    std::printf("PORT %u\n", unsigned(emulator.Port()));
    if (parser.isSet(linksOption)) {
        for (const CatalogueEntry &entry : DemoCatalogue())
            std::printf("%s\n", qPrintable(emulator.SharingLink(entry.fileId, entry.fileName)));
    }
    std::fflush(stdout);
    return app.exec();
}
