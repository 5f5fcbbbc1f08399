#include "queue/QueueCommands.h"

#include <QSet>

#include "queue/DownloadScheduler.h"
#include "rapidshare/clsRapidShare.h"
#include "store/LinkStore.h"
#include "transfer/DownloadAsynch.h"
#include "transfer/PartialFile.h"
#include "util/Prompter.h"

#include <cstdlib>

namespace {

QString Status(const RecordSet &row)
{
    return row.Field(u"Download_Status").toString();
}

bool StatusIs(const RecordSet &row, std::initializer_list<QLatin1String> words)
{
    const QString status = Status(row);
    for (const QLatin1String &word : words) {
        if (status == word)
            return true;
    }
    return false;
}

} // namespace

QueueCommands::QueueCommands(LinkStore &store, DownloadScheduler &scheduler, clsRapidShare &RapidShare,
                             DownloadAsynch &Downloader, Prompter &prompter)
    : m_store(store)
    , m_scheduler(scheduler)
    , m_rapidShare(RapidShare)
    , m_downloader(Downloader)
    , m_prompter(prompter)
{
}

bool QueueCommands::IsTicked(const RecordSet &row)
{
    return std::abs(row.Field(u"Check_Box").toInt()) == 1;
}

void QueueCommands::QueueRows(const std::function<bool(const RecordSet &)> &take)
{
    for (RecordSet row = m_store.rsDownList.Clone(); !row.IsEOF(); row.MoveNext()) {
        if (take(row))
            row.SetField(u"Download_Status", QStringLiteral("Queued"));
    }
    if (m_scheduler.ActiveCount() == 0)
        m_scheduler.StartDownload();
}

void QueueCommands::QueueAllDownloads()
{
    QueueRows([](const RecordSet &row) { return StatusIs(row, {QLatin1String("Stopped"), QLatin1String("Error")}); });
}

void QueueCommands::QueueSelectedDownloads()
{
    QueueRows([](const RecordSet &row) {
        return IsTicked(row)
            && StatusIs(row, {QLatin1String("Stopped"), QLatin1String("Error"), QLatin1String("Complete")});
    });
}

void QueueCommands::StopRows(bool tickedOnly)
{
    for (RecordSet row = m_store.rsDownList.Clone(); !row.IsEOF(); row.MoveNext()) {
        if (StatusIs(row, {QLatin1String("Complete"), QLatin1String("Error")}) || (tickedOnly && !IsTicked(row)))
            continue;
        const qint64 id = row.ID();
        m_rapidShare.Cancel(qint32(id));
        // A stopped transfer reports Stopped at once; its handler may start the
        // next row before this walk goes on.
        m_downloader.StopDownload(int(id));
        if (!row.Locate(id))
            continue;
        row.SetField(u"Download_Status", QStringLiteral("Stopped"));
        m_scheduler.ReleaseRow(id);
    }
}

void QueueCommands::StopAllDownloads()
{
    StopRows(false);
}

void QueueCommands::StopSelectedDownloads()
{
    StopRows(true);
    m_scheduler.StartDownload();
}

void QueueCommands::ShowRefusal(const QString &text)
{
    m_prompter.showMessage(Prompter::Icon::Exclamation, QStringLiteral("Tidefetch"), text);
}

void QueueCommands::RemoveRows(const std::function<bool(const RecordSet &)> &take)
{
    RecordSet row = m_store.rsDownList.Clone();
    std::vector<int> doomed;
    for (int position = row.RecordCount() - 1; position >= 0; --position) {
        row.Locate(row.Table()->IdAt(position));
        if (take(row)) {
            doomed.push_back(position);
            // A removed row is never resumed: its partial file goes with it.
            PartialFile::Remove(row.Field(u"Partial_File").toString());
        }
    }
    if (!doomed.empty())
        row.Table()->RemoveRows(std::move(doomed));
}

void QueueCommands::RemoveSelectedDownloads()
{
    RemoveUnlessTransferring([](const RecordSet &row) { return IsTicked(row); });
}

void QueueCommands::RemoveDownloads(const QList<qint64> &ids)
{
    // A set: Ctrl+A and Delete hand over every row of a long list.
    const QSet<qint64> doomed(ids.cbegin(), ids.cend());
    RemoveUnlessTransferring([&doomed](const RecordSet &row) { return doomed.contains(row.ID()); });
}

void QueueCommands::RemoveUnlessTransferring(const std::function<bool(const RecordSet &)> &take)
{
    RemoveRows([this, &take](const RecordSet &row) {
        if (!take(row))
            return false;
        if (m_scheduler.IsTransferring(row.ID())) {
            ShowRefusal(tr("Can not remove item. Download In Progress, Please Stop first."));
            return false;
        }
        return true;
    });
}

void QueueCommands::ClearCompleteItems()
{
    RemoveRows([](const RecordSet &row) { return Status(row) == QLatin1String("Complete"); });
}

void QueueCommands::ClearErrorItems()
{
    RemoveRows([](const RecordSet &row) { return Status(row) == QLatin1String("Error"); });
}

void QueueCommands::ClearStoppedItems()
{
    RemoveRows([](const RecordSet &row) { return Status(row) == QLatin1String("Stopped"); });
}

void QueueCommands::ClearAllItems()
{
    if (m_store.rsDownList.RecordCount() == 0)
        return;
    if (m_scheduler.ActiveCount() >= 1) {
        ShowRefusal(tr("Download In Progress, Please Stop first."));
        return;
    }
    RemoveRows([](const RecordSet &) { return true; });
}
