#pragma once

#include "store/RecordSet.h"

#include <QCoreApplication>
#include <QString>

#include <memory>

class Database;
class Prompter;

// The list file and its two lists: runs statements, opens record sets and adds
// links with the duplicate test. Failures are shown through the Prompter and
// answered with false.
class LinkStore final
{
    Q_DISABLE_COPY_MOVE(LinkStore)
    Q_DECLARE_TR_FUNCTIONS(LinkStore)

public:
    LinkStore(QString dbPath, Prompter &prompter);
    ~LinkStore();

    const QString &DBPath() const { return m_dbPath; }

    // Brings the list file to the schema version of this program (shown
    // nowhere; `failure` says why it cannot).
    bool UpgradeList(QString *failure);

    // Runs an action statement, or opens a select into `recordSet` (the select
    // test is the statement's first six characters, lower-cased).
    bool LoadTable(const QString &statement, RecordSet *recordSet);

    // Adds a queue row ("Queued", ticked) unless the link is there already.
    // `finalUrl`: where a direct link's check was led by redirects.
    bool AddToDownList(const QString &link, const QString &fileId, const QString &fileName,
                       const QString &sizeText, qint64 sizeBytes, const QString &finalUrl = {});
    // Adds a check row ("??") unless the link is there already; a refusal is
    // shown unless `quiet` (the clipboard is read every second).
    bool AddToCheckList(const QString &link, bool quiet = false);

    RecordSet rsDownList;
    RecordSet rsCheckList;

private:
    Database *Connection(QString *failure);
    static qsizetype RowCount(Database &database, const QString &select);
    // 1 when `table` holds the link (letter case ignored), 0 when not, -1 on failure.
    int ContainsLink(const QString &table, const QString &link);
    void ShowLoadError(const QString &number, const QString &description, const QString &statement);

    QString m_dbPath;
    Prompter &m_prompter;
    std::shared_ptr<Database> m_database;
};
