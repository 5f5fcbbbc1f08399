#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

// The check of a direct link: any http or https address, asked for its name and
// size without fetching the file. It reports like the service's check client,
// through `StatusCheck` carrying `DownItemID`:
//
//   "Checking Link"   raised before `Check` returns, the link as details
//   "Done"            the file is there: FileName, FileSize and FinalURL are set
//   "UnAvailable"     404 or 410, the status as details; then "Stop"
//   "Error"           anything else, the reason as details; then "Stop"
//   "User Cancel"     `Cancel` ended the check
//
// A HEAD request comes first; when it is refused (405, 501, or a connection
// closed without a reply) a GET for the first byte takes its place, and the
// transfer ends as soon as its head has arrived. Redirects (301, 302, 303, 307,
// 308) are followed, between http and https too, up to MaxRedirects. https
// connections trust what TlsTrust names, and a certificate problem is never
// ignored.
class clsDirectLink final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(clsDirectLink)

public:
    explicit clsDirectLink(QObject *parent = nullptr);
    ~clsDirectLink() override;

    QString SharingLink() const { return m_sharingLink; }
    void setSharingLink(const QString &link) { m_sharingLink = link; }
    qint32 DownItemID() const { return m_downItemId; }
    void setDownItemID(qint32 id) { m_downItemId = id; }

    // From "Done" on: the file's name (from Content-Disposition, else the last
    // path segment of FinalURL), its size (-1 when the server does not tell) and
    // the address the redirects led to.
    QString FileName() const { return m_fileName; }
    qint64 FileSize() const { return m_fileSize; }
    QString FinalURL() const { return m_finalUrl.toString(QUrl::FullyEncoded); }

    // Clears the link and the results; a check in progress is dropped silently.
    void Initalize();
    void Check();
    // Ends the check in progress when `iID` is `DownItemID`: "User Cancel"
    // follows from the event loop.
    void Cancel(qint32 iID);

    // No answer within this time ends the check with "Connection Time out".
    int TimeOut() const { return m_timeOut; }
    void setTimeOut(int milliseconds) { m_timeOut = milliseconds; }

    static constexpr int MaxRedirects = 10;

Q_SIGNALS:
    void StatusCheck(qint32 ID, const QString &sStatus, const QString &sDetails);

private:
    enum class Method { Head, FirstByte };

    // Ends any check under way, without a report, and forgets its results.
    void Reset();
    void Send(const QUrl &url, Method method);
    void OnMetaData(QNetworkReply *reply);
    void OnFinished(QNetworkReply *reply);
    void TakeAnswer(QNetworkReply *reply);
    void TakeFile(QNetworkReply *reply, int status);
    void OnTimeOut();
    void DropReply();
    void Fail(const QString &status, const QString &details);
    // Emits `StatusCheck`; false when the run was replaced or dropped meanwhile.
    bool Raise(const QString &status, const QString &details);

    QNetworkAccessManager *m_network;
    QTimer *m_tmrTimeOut;
    QPointer<QNetworkReply> m_reply;
    QString m_sharingLink;
    qint32 m_downItemId = 0;
    QString m_fileName;
    qint64 m_fileSize = -1;
    QUrl m_finalUrl;
    int m_timeOut = 15000;

    Method m_method = Method::Head;
    int m_redirects = 0;
    QStringList m_certificateProblems;
    bool m_busy = false;
    quint64 m_run = 0;
};
