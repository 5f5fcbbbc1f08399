#include "store/StatusText.h"

#include <QCoreApplication>

namespace StatusText {

namespace {

// Every word written into Download_Status or the check list's Status.
constexpr const char *kWords[] = {
    QT_TRANSLATE_NOOP("Status", "Queued"),    QT_TRANSLATE_NOOP("Status", "Requesting File"),
    QT_TRANSLATE_NOOP("Status", "Complete"),  QT_TRANSLATE_NOOP("Status", "Stopped"),
    QT_TRANSLATE_NOOP("Status", "Error"),     QT_TRANSLATE_NOOP("Status", "Checking"),
    QT_TRANSLATE_NOOP("Status", "Available"), QT_TRANSLATE_NOOP("Status", "UnAvailable"),
};

} // namespace

QString Shown(const QString &stored)
{
    // "Wait N Seconds" carries the service's count.
    const QLatin1String waitStart("Wait ");
    const QLatin1String waitEnd(" Seconds");
    if (stored.size() > waitStart.size() + waitEnd.size() && stored.startsWith(waitStart) && stored.endsWith(waitEnd))
        return QCoreApplication::translate("Status", "Wait %1 Seconds")
            .arg(stored.mid(waitStart.size(), stored.size() - waitStart.size() - waitEnd.size()));
    for (const char *word : kWords) {
        if (stored == QLatin1String(word))
            return QCoreApplication::translate("Status", word);
    }
    return stored;
}

} // namespace StatusText
