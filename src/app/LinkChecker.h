#pragma once

#include "store/RecordSet.h"

#include <QObject>

#include <vector>

class clsDirectLink;
class clsRapidShare;
class LinkStore;

// Checks the check list's new links ("??") one at a time and writes each result
// into its row: service links with the service, direct links (LinkKinds) with
// the direct-link client. The next check starts once the current one has
// returned, so a long list never nests.
class LinkChecker final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LinkChecker)

public:
    LinkChecker(LinkStore &store, clsRapidShare &client, clsDirectLink &directClient, QString serviceDomain,
                QObject *parent = nullptr);

    bool IsChecking() const { return m_isChecking; }

    // Hands the first new link to the client, unless a check is running.
    void StartCheck();
    void RapidShareCheck_StatusCheck(qint32 ID, const QString &sStatus, const QString &sDetails);
    void DirectLinkCheck_StatusCheck(qint32 ID, const QString &sStatus, const QString &sDetails);

    // "Clear List": every row goes; a running check ends without writing and the
    // checker goes on with whatever is added next.
    void ClearList();
    // The rows `ids` go (the Delete key on the grid's selection); a check of one
    // of them ends without writing, as for "Clear List".
    void RemoveRows(const QList<qint64> &ids);
    // "Download Available Links": the available rows go to the download list,
    // the check list is cleared. Returns true when the list held rows (the
    // caller then starts the queue).
    bool MoveAvailableLinks();

Q_SIGNALS:
    // The checker found no new link left to check.
    void ChecksFinished();

private:
    void OnStatusCheck(const QString &sStatus, const QString &sDetails);
    // What a "Done" writes: the service's file fields, or the direct link's.
    void WriteAvailable();
    void EndOfRow();
    void CancelRunningCheck();
    // Removes the rows at these positions; a running check of one of them ends without writing.
    void RemoveAt(std::vector<int> rows, bool cancelRunningCheck);

    LinkStore &m_store;
    clsRapidShare &m_client;
    clsDirectLink &m_directClient;
    QString m_serviceDomain;
    RecordSet rsChecking;
    qint64 m_checkingId = -1;
    bool m_isChecking = false;
    bool m_checkingDirect = false;
};
