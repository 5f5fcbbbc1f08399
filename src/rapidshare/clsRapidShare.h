#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class AppSettings;
class CTimer;
class Prompter;
class QNetworkAccessManager;
class QNetworkReply;

// The client of the file-hosting service. One object serves one link at a time:
// `Check` asks whether a file exists, `Start` negotiates its download address.
// Every stage is reported as a status word and a details text through
// `StatusCheck` (check mode) or `StatusDownload`, carrying `DownItemID` as ID.
//
// Everything is asynchronous. Signals raised before the call returns: `Start`
// raises "Download Link" (premium path) or "Requesting File" (free path);
// `Check` raises "Checking Link". Every other report comes later from the event
// loop; `Cancel` and `Initalize` never raise anything themselves. A new `Start`
// or `Check` silently drops whatever the object was still doing.
class clsRapidShare final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(clsRapidShare)
    Q_PROPERTY(QString SharingLink READ SharingLink WRITE setSharingLink)
    Q_PROPERTY(qint32 DownItemID READ DownItemID WRITE setDownItemID)
    Q_PROPERTY(QString PremuimUserName READ PremuimUserName WRITE setPremuimUserName)
    Q_PROPERTY(QString PremuimPassword READ PremuimPassword WRITE setPremuimPassword)
    Q_PROPERTY(QString FileName READ FileName WRITE setFileName)
    Q_PROPERTY(QString FileID READ FileID WRITE setFileID)
    Q_PROPERTY(qint64 FileSize READ FileSize)

public:
    // The hosts are read from `settings` ("Services") at each request; `settings`
    // and `prompter` must outlive the client.
    clsRapidShare(const AppSettings &settings, Prompter &prompter, QObject *parent = nullptr);
    ~clsRapidShare() override;

    QString SharingLink() const { return m_sharingLink; }
    // Also takes FileID and FileName from the link when it has enough fields.
    void setSharingLink(const QString &link);
    qint32 DownItemID() const { return m_downItemId; }
    void setDownItemID(qint32 id) { m_downItemId = id; }
    QString PremuimUserName() const { return m_premuimUserName; }
    void setPremuimUserName(const QString &name) { m_premuimUserName = name; }
    QString PremuimPassword() const { return m_premuimPassword; }
    void setPremuimPassword(const QString &password) { m_premuimPassword = password; }
    QString FileName() const { return m_fileName; }
    void setFileName(const QString &name) { m_fileName = name; }
    QString FileID() const { return m_fileId; }
    void setFileID(const QString &id) { m_fileId = id; }
    // Bytes, from the last successful check.
    qint64 FileSize() const { return m_fileSize; }

    // Ends the negotiation or check in progress when `iID` is `DownItemID`: an
    // outstanding request ends with "User Cancel", a countdown ends silently at its
    // next tick. Without work in progress it does nothing.
    void Cancel(qint32 iID);
    // Clears the link, the account, the file fields and the negotiation state.
    void Initalize();
    void Check();
    void Start();

    // The address of the last "Download Link".
    QString AnnouncedAddress() const { return m_announcedAddress; }
    // True from `Start` or `Check` until the last report of that run.
    bool IsBusy() const { return m_stage != Stage::Idle; }

    // The request time-out (15000 ms) and the countdown step (1000 ms); tests shorten them.
    CTimer &tmrTimeOut() { return *m_tmrTimeOut; }
    CTimer &tmrWait() { return *m_tmrWait; }

Q_SIGNALS:
    void StatusCheck(qint32 ID, const QString &sStatus, const QString &sDetails);
    void StatusDownload(qint32 ID, const QString &sStatus, const QString &sDetails);

private:
    enum class Stage { Idle, CheckRequest, FilePageRequest, TicketRequest, Countdown, Cancelling };

    void BeginRun(bool checkMode);
    void Abandon();
    void SendRequest(const QString &url, Stage stage);
    void OnReplyFinished(QNetworkReply *reply);
    void OnReplyProgress(QNetworkReply *reply, qint64 received);
    void DropReply();
    void RequestFailed(const QString &description);
    void RequestDone(const QString &text);
    void OnCheckReply(const QString &text);
    void OnTicketReply(const QString &text);
    void StartCountdown();
    void tmrTimeOut_Timer();
    void tmrWait_Timer();
    void FinalStep();
    void Fail(const QString &details);
    // Emits through the signal of the current mode; false when the run was
    // replaced or the object deleted meanwhile, so the caller must stop.
    bool Raise(const QString &status, const QString &details);

    const AppSettings &m_settings;
    Prompter &m_prompter;
    QNetworkAccessManager *m_network = nullptr;
    CTimer *m_tmrTimeOut = nullptr;
    CTimer *m_tmrWait = nullptr;
    QPointer<QNetworkReply> m_reply;

    QString m_sharingLink;
    qint32 m_downItemId = 0;
    QString m_premuimUserName;
    QString m_premuimPassword;
    QString m_fileName;
    QString m_fileId;
    qint64 m_fileSize = 0;

    QString m_serverId;
    QString m_shortHost;
    QString m_downloadHost;
    QString m_downloadAuth;
    int m_waitSeconds = 0;
    bool m_waiting = false;
    bool m_repeat = false;
    QString m_announcedAddress;
    bool m_checkMode = false;
    bool m_cancel = false;

    Stage m_stage = Stage::Idle;
    quint64 m_run = 0;
};
