#include "app/MainController.h"
#include "ui/WidgetPrompter.h"
#include "ui/frmMain.h"
#include "util/AppSettings.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Tidefetch"));

    AppSettings settings;
    WidgetPrompter prompter;
    MainController controller(QCoreApplication::applicationDirPath(), settings, prompter);
    frmMain window(controller);
    window.AttachPrompter(prompter);

    const bool started = controller.Load([&window] { window.Initialise(); },
                                         [] { QCoreApplication::exit(1); });
    if (started)
        window.show();
    return application.exec();
}
