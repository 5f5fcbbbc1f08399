#include "queue/DownGridFilter.h"

#include "util/Formatting.h"

bool DownGridFilter::IsDownloadingStatus(const QString &status)
{
    double percent = 0;
    return status == QLatin1String("Requesting File")
        || (status.startsWith(QLatin1String("Wait ")) && status.endsWith(QLatin1String(" Seconds")))
        || Formatting::ParseNumberText(status, &percent);
}

bool DownGridFilter::IsVisible(const QString &status, bool visibleBefore) const
{
    if (status == QLatin1String("Complete"))
        return includeComplete;
    if (status == QLatin1String("Queued"))
        return includeWaiting;
    if (IsDownloadingStatus(status))
        return includeDownloading;
    return visibleBefore;
}
