#include "app/LinkChecker.h"

#include "direct/clsDirectLink.h"
#include "rapidshare/clsRapidShare.h"
#include "store/LinkStore.h"
#include "util/Formatting.h"
#include "util/LinkKinds.h"

#include <QTimer>

#include <numeric>

LinkChecker::LinkChecker(LinkStore &store, clsRapidShare &client, clsDirectLink &directClient, QString serviceDomain,
                         QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_client(client)
    , m_directClient(directClient)
    , m_serviceDomain(std::move(serviceDomain))
{
    connect(&m_client, &clsRapidShare::StatusCheck, this, &LinkChecker::RapidShareCheck_StatusCheck);
    connect(&m_directClient, &clsDirectLink::StatusCheck, this, &LinkChecker::DirectLinkCheck_StatusCheck);
}

void LinkChecker::StartCheck()
{
    if (m_isChecking)
        return;
    rsChecking = m_store.rsCheckList.Clone();
    while (!rsChecking.IsEOF()
           && (rsChecking.Field(u"Sharing_Link").toString().isEmpty()
               || rsChecking.Field(u"Status").toString() != QLatin1String("??")))
        rsChecking.MoveNext();
    if (rsChecking.IsEOF()) {
        Q_EMIT ChecksFinished();
        return;
    }
    m_checkingId = rsChecking.ID();
    const QString link = rsChecking.Field(u"Sharing_Link").toString();
    m_checkingDirect = LinkKinds::IsDirectLink(link, m_serviceDomain);
    m_isChecking = true;
    if (m_checkingDirect) {
        m_directClient.Initalize();
        m_directClient.setSharingLink(link);
        m_directClient.Check();
        return;
    }
    m_client.Initalize();
    m_client.setSharingLink(link);
    m_client.Check();
}

void LinkChecker::EndOfRow()
{
    m_isChecking = false;
    m_checkingId = -1;
    // After the client's current call has returned.
    QTimer::singleShot(0, this, &LinkChecker::StartCheck);
}

void LinkChecker::RapidShareCheck_StatusCheck(qint32, const QString &sStatus, const QString &sDetails)
{
    if (!m_checkingDirect)
        OnStatusCheck(sStatus, sDetails);
}

void LinkChecker::DirectLinkCheck_StatusCheck(qint32, const QString &sStatus, const QString &sDetails)
{
    if (m_checkingDirect)
        OnStatusCheck(sStatus, sDetails);
}

void LinkChecker::WriteAvailable()
{
    const QString name = m_checkingDirect ? m_directClient.FileName() : m_client.FileName();
    // A size a web server does not tell (-1) stays empty, and 0 means "unknown"
    // to the transfer; the service always tells one.
    const qint64 size = m_checkingDirect ? m_directClient.FileSize() : m_client.FileSize();
    rsChecking.SetFields({
        {u"Rapid_File_ID", m_checkingDirect ? QString() : m_client.FileID()},
        {u"File_Name", name},
        {u"Rapid_File_Name", name},
        {u"File_Size", size >= 0 ? Formatting::FormatFileSize(size) : QString()},
        {u"File_Size_Bytes", qMax<qint64>(size, 0)},
        {u"Final_URL", m_checkingDirect ? m_directClient.FinalURL() : QString()},
        {u"Status", QStringLiteral("Available")},
    });
}

void LinkChecker::OnStatusCheck(const QString &sStatus, const QString &sDetails)
{
    if (!m_isChecking)
        return;
    // The row may have been cleared while its check ran: nothing is written then.
    const bool rowPresent = rsChecking.Locate(m_checkingId);
    if (sStatus == QLatin1String("Checking Link")) {
        if (rowPresent)
            rsChecking.SetField(u"Status", QStringLiteral("Checking"));
    } else if (sStatus == QLatin1String("Wait")) {
        if (rowPresent)
            rsChecking.SetField(u"Status", QLatin1String("Wait ") + sDetails + QLatin1String(" Seconds"));
    } else if (sStatus == QLatin1String("Done")) {
        if (rowPresent)
            WriteAvailable();
        EndOfRow();
    } else if (sStatus == QLatin1String("Error")) {
        if (!rowPresent)
            return;
        if (sDetails == QLatin1String("File Not Found"))
            rsChecking.SetField(u"Status", QStringLiteral("UnAvailable"));
        else
            rsChecking.SetFields({{u"Error_Desc", sDetails}, {u"Status", QStringLiteral("Error")}});
    } else if (sStatus == QLatin1String("UnAvailable")) {
        // Only the direct-link client says why a file is not there.
        if (rowPresent)
            rsChecking.SetFields({{u"Error_Desc", sDetails}, {u"Status", QStringLiteral("UnAvailable")}});
    } else if (sStatus == QLatin1String("End")) {
        if (rowPresent)
            rsChecking.SetField(u"Status", QStringLiteral("UnAvailable"));
        EndOfRow();
    } else if (sStatus == QLatin1String("Stop") || sStatus == QLatin1String("User Cancel")) {
        EndOfRow();
    }
}

void LinkChecker::ClearList()
{
    std::vector<int> all(size_t(m_store.rsCheckList.Table()->RowCount()));
    std::iota(all.begin(), all.end(), 0);
    RemoveAt(std::move(all), m_isChecking);
}

void LinkChecker::RemoveRows(const QList<qint64> &ids)
{
    const RecordTable &rows = *m_store.rsCheckList.Table();
    std::vector<int> doomed;
    doomed.reserve(size_t(ids.size()));
    for (const qint64 id : ids)
        doomed.push_back(rows.RowOfId(id));
    RemoveAt(std::move(doomed), m_isChecking && ids.contains(m_checkingId));
}

void LinkChecker::RemoveAt(std::vector<int> rows, bool cancelRunningCheck)
{
    m_store.rsCheckList.Table()->RemoveRows(std::move(rows));
    if (cancelRunningCheck)
        CancelRunningCheck();
}

void LinkChecker::CancelRunningCheck()
{
    if (m_isChecking && m_checkingDirect)
        m_directClient.Cancel(m_directClient.DownItemID());
    else if (m_isChecking)
        m_client.Cancel(m_client.DownItemID());
}

bool LinkChecker::MoveAvailableLinks()
{
    if (m_store.rsCheckList.RecordCount() == 0)
        return false;
    for (RecordSet rs = m_store.rsCheckList.Clone(); !rs.IsEOF(); rs.MoveNext()) {
        const QString link = rs.Field(u"Sharing_Link").toString();
        if (rs.Field(u"Status").toString() != QLatin1String("Available") || link.isEmpty())
            continue;
        m_store.AddToDownList(link, rs.Field(u"Rapid_File_ID").toString(), rs.Field(u"Rapid_File_Name").toString(),
                              rs.Field(u"File_Size").toString(), rs.Field(u"File_Size_Bytes").toLongLong(),
                              rs.Field(u"Final_URL").toString());
    }
    ClearList();
    return true;
}
