// The clipboard tick over a 10 MiB text of short lines.
//   bench_clipboard     prints the median milliseconds of a tick, and of the tick as
//                       it was (every line break of the whole text made CR LF first);
//                       the old tick takes seconds, so the run takes about a minute
#include "clipboard/ClipboardWatch.h"
#include "clipboard/LinkReader.h"
#include "store/LinkStore.h"
#include "support/TestListFile.h"
#include "util/RecordingPrompter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

namespace {

const QString kLink = QStringLiteral("http://rapidshare.com/files/111/a.zip");

// A tick as it was: the whole text made CR LF, then the domain test.
void TickWithWholeConversion(LinkReader &reader, Prompter &prompter)
{
    QString text = prompter.clipboardText();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    if (!text.contains(reader.ServiceDomain(), Qt::CaseInsensitive))
        return;
    if (reader.AddLinksFromText(text, true) > 0)
        prompter.clearClipboard();
}

enum class Tick { Watch, WholeConversionFirst };

// Median milliseconds of `ticks` ticks over `clipboard`. A link is taken on the
// first tick and refused (already listed) on the later ones: the clipboard then
// keeps the text and is read again every second.
double MedianTickMilliseconds(const QString &clipboard, Tick tick, int ticks)
{
    TestListFile file;
    RecordingPrompter prompter;
    LinkStore store(file.Path(), prompter);
    store.LoadTable(QStringLiteral("Select * From CheckList"), &store.rsCheckList);
    LinkReader reader(store, prompter, QStringLiteral("rapidshare.com"));
    ClipboardWatch watch(reader, prompter);
    QList<double> times;
    for (int i = 0; i < ticks; ++i) {
        prompter.clipboard = clipboard;
        QElapsedTimer timer;
        timer.start();
        if (tick == Tick::Watch)
            watch.tmrClipboard_Timer();
        else
            TickWithWholeConversion(reader, prompter);
        times.append(double(timer.nsecsElapsed()) / 1e6);
    }
    const bool linkListed = store.rsCheckList.RecordCount() == 1;
    if (linkListed != clipboard.startsWith(kLink) || !prompter.messages().isEmpty())
        QTextStream(stderr) << "warning: the link was not read as expected\n";
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    const qsizetype size = 10 * 1024 * 1024;
    struct Shape {
        const char *name;
        QString line;
    };
    for (const Shape &shape :
         {Shape{"lines \"x\\n\"", QStringLiteral("x\n")}, Shape{"bare LFs", QStringLiteral("\n")}}) {
        const QString lines = shape.line.repeated(size / shape.line.size());
        for (bool withLink : {false, true}) {
            const QString clipboard =
                withLink ? kLink + QLatin1Char('\n') + lines.left(size - kLink.size() - 1) : lines;
            const double now = MedianTickMilliseconds(clipboard, Tick::Watch, 9);
            const double before = MedianTickMilliseconds(clipboard, Tick::WholeConversionFirst, 3);
            out << "clipboard tick, 10 MiB of " << shape.name << (withLink ? ", a link on top: " : ", no link: ")
                << QString::number(now, 'f', 2) << " ms (target < 20); whole text made CR LF first: "
                << QString::number(before, 'f', 0) << " ms\n";
            out.flush();
        }
    }
    return 0;
}
