#include "CertificateAuthority.h"
#include "EmulatorCatalogue.h"
#include "SearchSite.h"
#include "ServiceEmulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSslConfiguration>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <unistd.h>

namespace {

// The authority file and its folder when the emulator made them, for the
// signal handler: unlink and rmdir are safe to call there.
char g_madeFile[4096];
char g_madeFolder[4096];

void RemoveMadeFiles(int signal)
{
    ::unlink(g_madeFile);
    ::rmdir(g_madeFolder);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

QSslConfiguration ServerTls(const CertificateAuthority &authority, const CertificateAuthority::Subject &subject)
{
    return CertificateAuthority::ServerConfiguration(authority.Issue(subject));
}

} // namespace

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
    const QCommandLineOption caOption(QStringLiteral("ca-file"),
                                      QStringLiteral("Write the https authority (PEM) to this file instead of a "
                                                     "temporary one, which is removed at exit."),
                                      QStringLiteral("path"));
    parser.addOptions({portOption, quietOption, linksOption, caOption});
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
    // https with an authority made for this run: one port whose certificate
    // names 127.0.0.1 and localhost, one whose certificate names another host.
    const CertificateAuthority authority(QStringLiteral("Tidefetch Emulator Authority"));
    CertificateAuthority::Subject loopback;
    loopback.dnsNames = {QStringLiteral("localhost")};
    loopback.addresses = {QHostAddress(QHostAddress::LocalHost)};
    CertificateAuthority::Subject wrongHost;
    wrongHost.dnsNames = {QStringLiteral("wrong.example")};
    const quint16 tlsPort = emulator.ListenTls(ServerTls(authority, loopback));
    const quint16 wrongHostPort = emulator.ListenTls(ServerTls(authority, wrongHost));
    if (tlsPort == 0 || wrongHostPort == 0) {
        std::fprintf(stderr, "tidefetch-emulator: cannot listen for https on 127.0.0.1\n");
        return 1;
    }
    // The folder exists only when the emulator picks the authority file itself.
    std::optional<QTemporaryDir> madeFolder;
    if (!parser.isSet(caOption))
        madeFolder.emplace(QDir::tempPath() + QStringLiteral("/tidefetch-emulator-XXXXXX"));
    const QString caPath =
        madeFolder ? madeFolder->filePath(QStringLiteral("ca.pem")) : parser.value(caOption);
    if (madeFolder) {
        // Before the file is written, so a signal from then on leaves nothing behind.
        std::strncpy(g_madeFile, QFile::encodeName(caPath).constData(), sizeof g_madeFile - 1);
        std::strncpy(g_madeFolder, QFile::encodeName(madeFolder->path()).constData(), sizeof g_madeFolder - 1);
        std::signal(SIGTERM, RemoveMadeFiles);
        std::signal(SIGINT, RemoveMadeFiles);
        std::signal(SIGHUP, RemoveMadeFiles);
    }
    QString caError;
    if (!authority.WriteCertificate(caPath, &caError)) {
        std::fprintf(stderr, "tidefetch-emulator: cannot write %s: %s\n", qPrintable(caPath), qPrintable(caError));
        return 1;
    }
    emulator.SetLogToStderr(!parser.isSet(quietOption));
    std::printf("PORT %u\n", unsigned(emulator.Port()));
    std::printf("TLSPORT %u\n", unsigned(tlsPort));
    std::printf("WRONGHOSTPORT %u\n", unsigned(wrongHostPort));
    std::printf("CA %s\n", qPrintable(caPath));
    if (parser.isSet(linksOption)) {
        for (const CatalogueEntry &entry : DemoCatalogue())
            std::printf("%s\n", qPrintable(emulator.SharingLink(entry.fileId, entry.fileName)));
    }
    std::fflush(stdout);
    return app.exec();
}
