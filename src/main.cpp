#include "app/MainController.h"
#include "launch/CommandLine.h"
#include "launch/LinkHandOff.h"
#include "launch/LinkInbox.h"
#include "ui/Translation.h"
#include "ui/WidgetPrompter.h"
#include "ui/frmMain.h"
#include "util/AppSettings.h"

#include <QApplication>

#include <cstdio>
#include <optional>

namespace {

void SetIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("Tidefetch"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TIDEFETCH_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(TIDEFETCH_APP_ID));
}

// What the program can do without a display: print help, the version or a
// mistake, or hand its links to the copy that is already running. Returns the
// exit code when the program ends here; otherwise `links` are the links to add.
std::optional<int> AnswerWithoutWindow(int &argc, char *argv[], QStringList &links)
{
    QCoreApplication application(argc, argv);
    SetIdentity();
    Translation::Install(application);
    CommandLine commandLine;
    switch (commandLine.Parse(QCoreApplication::arguments())) {
    case CommandLine::Outcome::ShowHelp:
    case CommandLine::Outcome::ShowVersion:
        std::fputs(commandLine.Text().toLocal8Bit().constData(), stdout);
        return commandLine.ExitCode();
    case CommandLine::Outcome::UsageError:
        std::fputs(commandLine.Text().toLocal8Bit().constData(), stderr);
        return commandLine.ExitCode();
    case CommandLine::Outcome::Run:
        break;
    }
    links = commandLine.Links();
    if (!links.isEmpty() && LinkHandOff::Send(links))
        return 0;
    return std::nullopt;
}

void BringToFront(QWidget &window)
{
    if (window.isMinimized())
        window.showNormal();
    window.raise();
    window.activateWindow();
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList links;
    if (const std::optional<int> exitCode = AnswerWithoutWindow(argc, argv, links))
        return *exitCode;

    QApplication application(argc, argv);
    SetIdentity();
    // Before anything shows a text: the window and the controller take theirs as they are made.
    Translation::Install(application);
    AppSettings settings;
    WidgetPrompter prompter;
    MainController controller(QCoreApplication::applicationDirPath(), settings, prompter);
    frmMain window(controller);
    window.AttachPrompter(prompter);
    if (!controller.Load([&window] { window.Initialise(); }, [] { QCoreApplication::exit(1); }))
        return QApplication::exec();
    window.show();

    // Links handed over by later copies, and this copy's own, go the way of "Check Links".
    const QString lineBreak = QStringLiteral("\r\n");
    LinkInbox inbox;
    QObject::connect(&inbox, &LinkInbox::LinksReceived, &window,
                     [&controller, &window, lineBreak](const QStringList &received) {
                         BringToFront(window);
                         controller.cmdCheckLinks_Click(received.join(lineBreak));
                     });
    inbox.Listen();
    if (!links.isEmpty())
        controller.cmdCheckLinks_Click(links.join(lineBreak));
    return QApplication::exec();
}
