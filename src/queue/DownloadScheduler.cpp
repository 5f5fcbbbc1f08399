#include "queue/DownloadScheduler.h"

#include "rapidshare/clsRapidShare.h"
#include "queue/QueueLog.h"
#include "store/LinkStore.h"
#include "transfer/DownloadAsynch.h"
#include "transfer/PartialFile.h"
#include "util/FileFolder.h"
#include "util/Formatting.h"
#include "util/LinkKinds.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

DownloadScheduler::DownloadScheduler(LinkStore &store, clsRapidShare &RapidShare, DownloadAsynch &Downloader,
                                     std::function<QString()> downPath, QString serviceDomain, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_rapidShare(RapidShare)
    , m_downloader(Downloader)
    , m_downPath(std::move(downPath))
    , m_serviceDomain(std::move(serviceDomain))
{
    connect(&m_rapidShare, &clsRapidShare::StatusDownload, this, &DownloadScheduler::RapidShare_StatusDownload);
    connect(&m_downloader, &DownloadAsynch::FileBegin, this, &DownloadScheduler::Downloader_FileBegin);
    connect(&m_downloader, &DownloadAsynch::Progress, this, &DownloadScheduler::Downloader_Progress);
    connect(&m_downloader, &DownloadAsynch::Complete, this, &DownloadScheduler::Downloader_Complete);
    connect(&m_downloader, &DownloadAsynch::Stopped, this, &DownloadScheduler::Downloader_Stopped);
    connect(&m_downloader, &DownloadAsynch::Error, this, &DownloadScheduler::Downloader_Error);
}

void DownloadScheduler::LowerActiveCount()
{
    m_activeId = -1;
    if (m_activeCount > 0)
        --m_activeCount;
}

void DownloadScheduler::ReleaseRow(qint64 ID)
{
    if (m_activeCount > 0 && ID == m_activeId)
        LowerActiveCount();
}

bool DownloadScheduler::LocateRow(RecordSet &recordSet, qint64 ID)
{
    return recordSet.Locate(ID);
}

void DownloadScheduler::StartDownload()
{
    if (m_activeCount > 0)
        return;
    rsActive = m_store.rsDownList.Clone();
    while (!rsActive.IsEOF()
           && (rsActive.Field(u"Sharing_Link").toString().isEmpty()
               || rsActive.Field(u"Download_Status").toString() != QLatin1String("Queued")))
        rsActive.MoveNext();
    if (rsActive.IsEOF()) {
        if (m_completedInRun + m_failedInRun > 0) {
            const int completed = std::exchange(m_completedInRun, 0);
            const int failed = std::exchange(m_failedInRun, 0);
            Q_EMIT QueueFinished(completed, failed);
        }
        return;
    }
    if (LinkKinds::IsDirectLink(rsActive.Field(u"Sharing_Link").toString(), m_serviceDomain)) {
        StartDirectRow();
        return;
    }
    m_rapidShare.Initalize();
    m_rapidShare.setSharingLink(rsActive.Field(u"Sharing_Link").toString());
    m_rapidShare.setFileID(rsActive.Field(u"Rapid_File_ID").toString());
    m_rapidShare.setFileName(rsActive.Field(u"Rapid_File_Name").toString());
    m_rapidShare.setDownItemID(qint32(rsActive.ID()));
    TakeRow();
    m_rapidShare.Start();
}

void DownloadScheduler::TakeRow()
{
    m_activeId = rsActive.ID();
    qCDebug(lcQueue) << "starts row" << m_activeId << rsActive.Field(u"Sharing_Link").toString();
    ++m_activeCount;
}

void DownloadScheduler::WriteRow(qint64 ID, RecordSet::NamedValues values)
{
    if (LocateRow(rsActive, ID))
        rsActive.SetFields(values);
}

void DownloadScheduler::RapidShare_StatusDownload(qint32 ID, const QString &sStatus, const QString &sDetails)
{
    const bool rowPresent = LocateRow(rsActive, ID);
    if (sStatus == QLatin1String("Requesting File")) {
        if (rowPresent)
            rsActive.SetFields({
                {u"Speed", QString()},
                {u"Download_Status", QStringLiteral("Requesting File")},
                {u"Local_File_Name", m_rapidShare.FileName()},
                {u"File_Size_String", Formatting::FormatFileSize(rsActive.Field(u"File_Size_Bytes").toLongLong())},
            });
    } else if (sStatus == QLatin1String("Wait")) {
        if (rowPresent)
            rsActive.SetFields({{u"Download_Status", QLatin1String("Wait ") + sDetails + QLatin1String(" Seconds")},
                                {u"Speed", QString()}});
    } else if (sStatus == QLatin1String("Download Link")) {
        // A row removed while it was negotiated has nothing to download into.
        if (rowPresent)
            HandToDownloader(sDetails, false);
        else
            EndOfRow();
    } else if (sStatus == QLatin1String("Error")) {
        if (rowPresent) {
            rsActive.SetFields({{u"Error_Desc", sDetails}, {u"Download_Status", QStringLiteral("Error")}});
            ++m_failedInRun;
        }
    } else if (sStatus == QLatin1String("Stop")) {
        LowerActiveCount();
        StartDownload();
    } else if (sStatus == QLatin1String("User Cancel")) {
        if (rowPresent)
            rsActive.SetFields({{u"Error_Desc", sDetails}, {u"Download_Status", QStringLiteral("Stopped")}});
        StartDownload();
    }
}

void DownloadScheduler::StartDirectRow()
{
    TakeRow();
    rsActive.SetFields({{u"Speed", QString()},
                        {u"Download_Status", QStringLiteral("Requesting File")},
                        {u"Local_File_Name", rsActive.Field(u"Rapid_File_Name").toString()}});
    // The check has followed the redirects already; an older row without its
    // final address starts from the link itself.
    const QString finalUrl = rsActive.Field(u"Final_URL").toString();
    HandToDownloader(finalUrl.isEmpty() ? rsActive.Field(u"Sharing_Link").toString() : finalUrl, true);
}

void DownloadScheduler::HandToDownloader(const QString &address, bool directLink)
{
    // The name comes from the service (and the user): it must stay one file
    // name inside the download folder.
    const QString fileName = FileFolder::SafeFileName(rsActive.Field(u"Local_File_Name").toString(),
                                                      rsActive.Field(u"Rapid_File_ID").toString());
    const QString wanted = QDir::toNativeSeparators(QDir(m_downPath()).filePath(fileName));
    // A row keeps one partial file for all its attempts, so a retry resumes it
    // where it lies; the name is noted before the first byte is written.
    QString partial = rsActive.Field(u"Partial_File").toString();
    if (!PartialFile::IsPartial(partial) || !QFileInfo(partial).isFile()) {
        partial = PartialFile::ChooseFor(wanted);
        rsActive.SetField(u"Partial_File", partial);
    }
    m_downloader.setLocalFilePath(wanted);
    m_downloader.setPartialFilePath(partial);
    m_downloader.setURL(address);
    m_downloader.setDirectLink(directLink);
    m_downloader.setFileSize(rsActive.Field(u"File_Size_Bytes").toLongLong());
    m_downloader.setDownID(int(rsActive.ID()));
    m_transferId = rsActive.ID();
    m_downloader.StartDownload(1);
}

void DownloadScheduler::Downloader_FileBegin(int iID, qint64 iFileSize)
{
    WriteRow(iID, {{u"File_Size_String", Formatting::FormatFileSize(iFileSize)}, {u"File_Size_Bytes", iFileSize}});
}

QString DownloadScheduler::SpeedText(qint64 bytesPerSecond)
{
    return Formatting::NumberText(Formatting::RoundHalfEven(double(bytesPerSecond) / 1024.0, 1))
        + QLatin1String(" KB/s");
}

void DownloadScheduler::Downloader_Progress(int iID, double iValue, qint64 iBytesPerSecond, qint64 iDownloadedBytes,
                                            qint64, double iRemainTimeInSeconds)
{
    WriteRow(iID, {
                      {u"Time_Left", Formatting::FormatDuration(iRemainTimeInSeconds)},
                      {u"Speed", SpeedText(iBytesPerSecond)},
                      {u"Downloaded_Bytes", iDownloadedBytes},
                      {u"Download_Status", Formatting::NumberText(iValue)},
                  });
}

void DownloadScheduler::Downloader_Complete(int iID)
{
    if (!IsTransferring(iID))
        return;
    // The name the whole file took goes into the row with "Complete", in one write.
    WriteRow(iID, {{u"Speed", QString()},
                   {u"Time_Left", QString()},
                   {u"Error_Desc", QStringLiteral("No Error")},
                   {u"Local_File_Name", QFileInfo(m_downloader.FinalFilePath()).fileName()},
                   {u"Partial_File", QString()},
                   {u"Download_Status", QStringLiteral("Complete")}});
    ++m_completedInRun;
    EndOfRow();
}

void DownloadScheduler::Downloader_Stopped(int iID)
{
    if (!IsTransferring(iID))
        return;
    WriteRow(iID, {{u"Speed", QString()},
                   {u"Time_Left", QString()},
                   {u"Error_Desc", QStringLiteral("No Error")},
                   {u"Download_Status", QStringLiteral("Stopped")}});
    EndOfRow();
}

void DownloadScheduler::Downloader_Error(int iID, const QString &sDesc)
{
    if (!IsTransferring(iID))
        return;
    WriteRow(iID, {{u"Speed", QString()},
                   {u"Time_Left", QString()},
                   {u"Error_Desc", sDesc},
                   {u"Download_Status", QStringLiteral("Error")}});
    ++m_failedInRun;
    EndOfRow();
}

void DownloadScheduler::EndOfRow()
{
    qCDebug(lcQueue) << "row" << m_transferId << "ended";
    m_transferId = -1;
    LowerActiveCount();
    StartDownload();
}

void DownloadScheduler::RepairInterruptedRows(const RecordSet &rsDownList)
{
    for (RecordSet row = rsDownList.Clone(); !row.IsEOF(); row.MoveNext()) {
        const QString status = row.Field(u"Download_Status").toString();
        // A percentage starts with a digit or a minus; the cheap look spares the
        // number parse for the words most rows hold.
        const bool percentage = !status.isEmpty() && (status.front().isDigit() || status.front() == u'-')
            && Formatting::ParseNumberText(status, nullptr);
        if (status != QLatin1String("Requesting File") && !percentage)
            continue;
        // The run may have ended between the final rename and the write of "Complete".
        const QString partial = row.Field(u"Partial_File").toString();
        const QFileInfo final(PartialFile::FinalPathOf(partial));
        const qint64 size = row.Field(u"File_Size_Bytes").toLongLong();
        if (PartialFile::IsPartial(partial) && !QFileInfo::exists(partial) && final.isFile() && size > 0
            && final.size() == size) {
            row.SetFields({{u"Speed", QString()},
                           {u"Time_Left", QString()},
                           {u"Error_Desc", QStringLiteral("No Error")},
                           {u"Downloaded_Bytes", size},
                           {u"Local_File_Name", final.fileName()},
                           {u"Partial_File", QString()},
                           {u"Download_Status", QStringLiteral("Complete")}});
            qCDebug(lcQueue) << "row" << row.ID() << "was whole already:" << final.filePath();
            continue;
        }
        qCDebug(lcQueue) << "row" << row.ID() << "was interrupted at" << status;
        row.SetFields({{u"Speed", QString()}, {u"Time_Left", QString()}, {u"Download_Status", QStringLiteral("Stopped")}});
    }
}
