#include "launch/CommandLine.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using Outcome = CommandLine::Outcome;

class tst_CommandLine final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Tidefetch"));
        QCoreApplication::setApplicationVersion(QStringLiteral("0.2.0"));
    }

    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments"); // after the program's name
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QStringList>("links");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("textHolds");

        const QString a = QStringLiteral("http://rapidshare.com/files/1/a.rar");
        const QString b = QStringLiteral("http://rapidshare.com/files/2/b.rar");
        const QStringList usage{QStringLiteral("Usage:"), QStringLiteral("--version"), QStringLiteral("[LINK...]")};
        QTest::newRow("nothing") << QStringList{} << Outcome::Run << QStringList{} << 0 << QStringList{};
        QTest::newRow("links") << QStringList{a, b} << Outcome::Run << QStringList{a, b} << 0 << QStringList{};
        QTest::newRow("a link that starts with a dash, after --")
            << QStringList{QStringLiteral("--"), QStringLiteral("-x")} << Outcome::Run
            << QStringList{QStringLiteral("-x")} << 0 << QStringList{};
        QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << Outcome::ShowHelp << QStringList{} << 0 << usage;
        QTest::newRow("--help beside links")
            << QStringList{a, QStringLiteral("--help")} << Outcome::ShowHelp << QStringList{} << 0 << usage;
        QTest::newRow("-v") << QStringList{QStringLiteral("-v")} << Outcome::ShowVersion << QStringList{} << 0
                            << QStringList{QStringLiteral("Tidefetch 0.2.0\n")};
        QTest::newRow("--version beside links")
            << QStringList{a, QStringLiteral("--version")} << Outcome::ShowVersion << QStringList{} << 0
            << QStringList{QStringLiteral("Tidefetch 0.2.0\n")};
        QTest::newRow("an unknown option")
            << QStringList{QStringLiteral("--bogus")} << Outcome::UsageError << QStringList{} << 2
            << usage + QStringList{QStringLiteral("Unknown option 'bogus'.")};
        QTest::newRow("an unknown option beside help and links")
            << QStringList{QStringLiteral("-h"), a, QStringLiteral("-q")} << Outcome::UsageError << QStringList{} << 2
            << usage + QStringList{QStringLiteral("Unknown option 'q'.")};
    }
    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, textHolds);
        CommandLine commandLine;
        QTEST(commandLine.Parse(QStringList{QStringLiteral("tidefetch")} + arguments), "outcome");
        QTEST(commandLine.Links(), "links");
        QTEST(commandLine.ExitCode(), "exitCode");
        for (const QString &part : textHolds)
            QVERIFY2(commandLine.Text().contains(part), qPrintable(commandLine.Text()));
    }

    // The real program, with no display at all.
    void answersWithoutADisplay_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");

        QTest::newRow("--help") << "--help" << 0 << "Usage: " << "";
        QTest::newRow("--version") << "--version" << 0 << "Tidefetch " TIDEFETCH_VERSION "\n" << "";
        QTest::newRow("--bogus") << "--bogus" << 2 << "" << "Usage: ";
    }
    void answersWithoutADisplay()
    {
        QFETCH(QString, argument);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        for (const char *name : {"HOME", "XDG_RUNTIME_DIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            environment.insert(QLatin1String(name), home.path());
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TIDEFETCH_PROGRAM), {argument});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QTEST(program.exitCode(), "exitCode");
        const QString printed = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString complaints = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(out.isEmpty() ? printed.isEmpty() : printed.startsWith(out), qPrintable(printed));
        QVERIFY2(err.isEmpty() ? complaints.isEmpty() : complaints.contains(err), qPrintable(complaints));
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
