#pragma once

#include "app/MainController.h"
#include "support/TestListFile.h"
#include "util/AppSettings.h"
#include "util/RecordingPrompter.h"

#include "ServiceEmulator.h"

#include <QTemporaryDir>

#include <memory>

// The program without its window, started against the service emulator on
// loopback, with a download folder and settings of its own and short timers.
// Every status written into either list is recorded in order.
class QueueSession final : public QObject
{
    Q_OBJECT

public:
    QueueSession();

    bool Started() const { return m_started; }
    MainController &Controller() { return *m_controller; }
    ServiceEmulator &Emulator() { return m_emulator; }
    RecordingPrompter &Prompts() { return m_prompter; }
    QString DownloadFolder() const { return m_downloads.path(); }

    // "http://rapidshare.com/files/<id>/<name>": the form users copy.
    static QString Link(const QString &fileId, const QString &fileName);
    // Adds a queue row for an emulated file, as "Download Available Links" would.
    qint64 Queue(const QString &fileId, const QString &fileName, qint64 size);

    QString Status(qint64 id) const;
    QString Field(qint64 id, QStringView field) const;
    void SetField(qint64 id, QStringView field, const QVariant &value);
    // The IDs of the download rows in list order.
    QList<qint64> DownIds() const;

    // Each status change as "<id>:<status>", in the order written.
    QStringList downHistory;
    QStringList checkHistory;
    // The download statuses of one row, in the order written.
    QStringList HistoryOf(qint64 id) const;

private:
    void Record(const RecordTable &table, int row, QStringList &history);

    ServiceEmulator m_emulator;
    TestListFile m_folder;
    QTemporaryDir m_downloads;
    QTemporaryDir m_settingsDir;
    std::unique_ptr<AppSettings> m_settings;
    RecordingPrompter m_prompter;
    std::unique_ptr<MainController> m_controller;
    bool m_started = false;
};
