#pragma once

#include "store/RecordSet.h"

#include <QObject>

#include <functional>

class clsRapidShare;
class DownloadAsynch;
class LinkStore;

// Works the download queue off one row at a time: the first "Queued" row is
// negotiated by the service client, its address handed to the downloader, and
// every report written into the row; when a row ends, the next one starts. A
// direct link's row (LinkKinds) needs no negotiation: the address its check
// found goes straight to the downloader.
class DownloadScheduler final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DownloadScheduler)

public:
    // `downPath` gives the download folder in force when an address arrives;
    // `serviceDomain` tells service links from direct ones.
    DownloadScheduler(LinkStore &store, clsRapidShare &RapidShare, DownloadAsynch &Downloader,
                      std::function<QString()> downPath, QString serviceDomain, QObject *parent = nullptr);

    // Rows in negotiation or transfer: 0 or 1.
    qint16 ActiveCount() const { return m_activeCount; }
    // A stop command has ended the row `ID`: when it is the row in progress, the
    // scheduler stops counting it. (A transfer's own Stopped report has already
    // ended its row, and the row started after it is not this one.)
    void ReleaseRow(qint64 ID);

    // Starts the first queued row unless a row is in progress.
    void StartDownload();
    static bool LocateRow(RecordSet &recordSet, qint64 ID);
    // True while the downloader is transferring the row `ID`.
    bool IsTransferring(qint64 ID) const { return m_transferId >= 0 && ID == m_transferId; }

    // At start-up nothing runs yet: a row left negotiating or transferring by the
    // last run becomes "Stopped", keeping its partial file for a resume, or
    // "Complete" when its file was already given its final name.
    static void RepairInterruptedRows(const RecordSet &rsDownList);

    void RapidShare_StatusDownload(qint32 ID, const QString &sStatus, const QString &sDetails);
    void Downloader_FileBegin(int iID, qint64 iFileSize);
    void Downloader_Progress(int iID, double iValue, qint64 iBytesPerSecond, qint64 iDownloadedBytes,
                             qint64 iRemainBytes, double iRemainTimeInSeconds);
    void Downloader_Complete(int iID);
    void Downloader_Stopped(int iID);
    void Downloader_Error(int iID, const QString &sDesc);

    // The text a Progress report writes as the speed: "1.5 KB/s".
    static QString SpeedText(qint64 bytesPerSecond);

Q_SIGNALS:
    // The queue has nothing left to start after rows ended "Complete" or
    // "Error" since it last fell idle (rows stopped by the user do not count).
    void QueueFinished(int completed, int failed);

private:
    // The row under rsActive becomes the one being worked on.
    void TakeRow();
    void StartDirectRow();
    void HandToDownloader(const QString &address, bool directLink);
    void EndOfRow();
    void LowerActiveCount();
    // Writes into the row of `ID` when it is still in the list.
    void WriteRow(qint64 ID, RecordSet::NamedValues values);

    LinkStore &m_store;
    clsRapidShare &m_rapidShare;
    DownloadAsynch &m_downloader;
    std::function<QString()> m_downPath;
    QString m_serviceDomain;
    RecordSet rsActive;
    qint16 m_activeCount = 0;
    qint64 m_activeId = -1;
    qint64 m_transferId = -1;
    int m_completedInRun = 0;
    int m_failedInRun = 0;
};
