#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <functional>

class clsRapidShare;
class DownloadAsynch;
class DownloadScheduler;
class LinkStore;
class Prompter;
class RecordSet;

// The user's start, stop and clear commands on the download list. Stops and
// clears walk the rows in list order (clears from the last row backwards).
class QueueCommands final
{
    Q_DISABLE_COPY_MOVE(QueueCommands)
    Q_DECLARE_TR_FUNCTIONS(QueueCommands)

public:
    QueueCommands(LinkStore &store, DownloadScheduler &scheduler, clsRapidShare &RapidShare,
                  DownloadAsynch &Downloader, Prompter &prompter);

    // "Stopped" and "Error" rows are queued again, then the queue starts.
    void QueueAllDownloads();
    // Ticked "Stopped", "Error" and "Complete" rows are queued again, then the queue starts.
    void QueueSelectedDownloads();
    // Every row that is neither "Complete" nor "Error" is stopped.
    void StopAllDownloads();
    // Every ticked row that is neither "Complete" nor "Error" is stopped; the
    // queue then goes on with the next row.
    void StopSelectedDownloads();
    // Ticked rows go, except the row whose transfer is running.
    void RemoveSelectedDownloads();
    // The rows `ids` go (the Delete key on the grid's selection), except the
    // row whose transfer is running.
    void RemoveDownloads(const QList<qint64> &ids);

    void ClearCompleteItems();
    void ClearErrorItems();
    void ClearStoppedItems();
    // Every row goes, unless a download is in progress.
    void ClearAllItems();

    static bool IsTicked(const RecordSet &row);

private:
    void QueueRows(const std::function<bool(const RecordSet &)> &take);
    void StopRows(bool tickedOnly);
    // Deletes the rows `take` accepts, in one go, with their partial files; the
    // rows are walked from the last.
    void RemoveRows(const std::function<bool(const RecordSet &)> &take);
    // Removes the rows `take` accepts, refusing the one being transferred.
    void RemoveUnlessTransferring(const std::function<bool(const RecordSet &)> &take);
    void ShowRefusal(const QString &text);

    LinkStore &m_store;
    DownloadScheduler &m_scheduler;
    clsRapidShare &m_rapidShare;
    DownloadAsynch &m_downloader;
    Prompter &m_prompter;
};
