#pragma once

#include <QString>

// Which download rows the grid shows. The filter is applied when a menu check
// mark is toggled; a row whose status changes later keeps its visibility.
struct DownGridFilter final {
    bool includeComplete = false;
    bool includeWaiting = true;
    bool includeDownloading = true;

    // The row's visibility after the filter, given its status and its
    // visibility before.
    bool IsVisible(const QString &status, bool visibleBefore) const;

    // A row in negotiation or transfer: "Requesting File", a waiting text or a percentage.
    static bool IsDownloadingStatus(const QString &status);
};
