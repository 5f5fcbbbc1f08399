#include "QueueSession.h"

#include "queue/DownloadScheduler.h"
#include "rapidshare/clsRapidShare.h"
#include "timers/CTimer.h"
#include "transfer/DownloadAsynch.h"
#include "util/Formatting.h"

QueueSession::QueueSession()
{
    if (!m_emulator.Listen() || !m_folder.IsValid())
        return;
    m_settings = std::make_unique<AppSettings>(m_settingsDir.filePath(QStringLiteral("settings.ini")));
    m_settings->SetValue(QStringLiteral("Services"), QStringLiteral("ApiHost"), m_emulator.Host());
    m_settings->SetValue(QStringLiteral("Services"), QStringLiteral("FileServerHost"), m_emulator.Host());
    m_settings->SetDownPath(m_downloads.path());
    m_controller = std::make_unique<MainController>(m_folder.Folder(), *m_settings, m_prompter);
    m_started = m_controller->Load({}, {});
    if (!m_started)
        return;
    // A second of the service's countdown, and of metering, lasts 50 ms here.
    m_controller->RapidShare->tmrWait().setInterval(50);
    m_controller->RapidShareCheck->tmrWait().setInterval(50);
    m_controller->Downloader->setTmrSpeedInterval(50);

    const auto &downRows = m_controller->Store().rsDownList.Table();
    connect(downRows.get(), &RecordTable::RowChanged, this,
            [this, downRows](int row) { Record(*downRows, row, downHistory); });
    const auto &checkRows = m_controller->Store().rsCheckList.Table();
    connect(checkRows.get(), &RecordTable::RowChanged, this,
            [this, checkRows](int row) { Record(*checkRows, row, checkHistory); });
}

void QueueSession::Record(const RecordTable &table, int row, QStringList &history)
{
    const int statusField = std::max(table.FieldIndex(u"Download_Status"), table.FieldIndex(u"Status"));
    const QString entry = QString::number(table.IdAt(row)) + QLatin1Char(':') + table.Value(row, statusField).toString();
    // One entry per change of status; several writes may repeat a status.
    const QString prefix = QString::number(table.IdAt(row)) + QLatin1Char(':');
    for (auto it = history.crbegin(); it != history.crend(); ++it) {
        if (it->startsWith(prefix)) {
            if (*it == entry)
                return;
            break;
        }
    }
    history.append(entry);
}

QString QueueSession::Link(const QString &fileId, const QString &fileName)
{
    return QStringLiteral("http://rapidshare.com/files/") + fileId + QLatin1Char('/') + fileName;
}

qint64 QueueSession::Queue(const QString &fileId, const QString &fileName, qint64 size)
{
    LinkStore &store = m_controller->Store();
    if (!store.AddToDownList(Link(fileId, fileName), fileId, fileName, Formatting::FormatFileSize(size), size))
        return -1;
    return store.rsDownList.ID();
}

QString QueueSession::Field(qint64 id, QStringView field) const
{
    RecordSet row = m_controller->Store().rsDownList.Clone();
    return row.Locate(id) ? row.Field(field).toString() : QStringLiteral("<gone>");
}

QString QueueSession::Status(qint64 id) const
{
    return Field(id, u"Download_Status");
}

void QueueSession::SetField(qint64 id, QStringView field, const QVariant &value)
{
    RecordSet row = m_controller->Store().rsDownList.Clone();
    if (row.Locate(id))
        row.SetField(field, value);
}

QList<qint64> QueueSession::DownIds() const
{
    QList<qint64> ids;
    for (RecordSet row = m_controller->Store().rsDownList.Clone(); !row.IsEOF(); row.MoveNext())
        ids.append(row.ID());
    return ids;
}

QStringList QueueSession::HistoryOf(qint64 id) const
{
    QStringList statuses;
    const QString prefix = QString::number(id) + QLatin1Char(':');
    for (const QString &entry : downHistory) {
        if (entry.startsWith(prefix))
            statuses.append(entry.mid(prefix.size()));
    }
    return statuses;
}
