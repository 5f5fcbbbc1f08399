#include "launch/CommandLine.h"

#include <QCoreApplication>

CommandLine::CommandLine()
    : m_help({QStringLiteral("h"), QStringLiteral("help")}, tr("Displays this help."))
    , m_version({QStringLiteral("v"), QStringLiteral("version")}, tr("Displays the version."))
{
    m_parser.setApplicationDescription(
        tr("Finds and downloads files kept on the RapidShare file-hosting service.\n"
           "Links given here are checked as if pasted into \"Add New Download\"; when Tidefetch\n"
           "is already running, they are handed to it."));
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
    m_parser.addPositionalArgument(QStringLiteral("LINK"), tr("A link to check."), QStringLiteral("[LINK...]"));
}

CommandLine::Outcome CommandLine::Parse(const QStringList &arguments)
{
    m_links.clear();
    m_text.clear();
    if (!m_parser.parse(arguments)) {
        m_outcome = Outcome::UsageError;
        m_text = m_parser.errorText() + QLatin1String("\n\n") + m_parser.helpText();
    } else if (m_parser.isSet(m_help)) {
        m_outcome = Outcome::ShowHelp;
        m_text = m_parser.helpText();
    } else if (m_parser.isSet(m_version)) {
        m_outcome = Outcome::ShowVersion;
        m_text = QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion()
            + QLatin1Char('\n');
    } else {
        m_outcome = Outcome::Run;
        m_links = m_parser.positionalArguments();
    }
    return m_outcome;
}
