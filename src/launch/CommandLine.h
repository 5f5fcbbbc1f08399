#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

// The program's command line: `tidefetch [-h|--help] [-v|--version] [LINK...]`.
// It is read before any window exists, so help, the version and mistakes are
// answered without a display.
class CommandLine final
{
    Q_DISABLE_COPY_MOVE(CommandLine)
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    enum class Outcome { Run, ShowHelp, ShowVersion, UsageError };

    CommandLine();

    // `arguments` start with the program's name. The application object must
    // exist: the texts carry its name and version.
    Outcome Parse(const QStringList &arguments);

    // For Run: the links to add, as if pasted into "Add New Download".
    const QStringList &Links() const { return m_links; }
    // For the other outcomes: what to print, to standard output for help and the
    // version, to standard error for a mistake (followed by the usage).
    const QString &Text() const { return m_text; }
    // 0, or 2 for a mistake.
    int ExitCode() const { return m_outcome == Outcome::UsageError ? 2 : 0; }

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    Outcome m_outcome = Outcome::Run;
    QStringList m_links;
    QString m_text;
};
