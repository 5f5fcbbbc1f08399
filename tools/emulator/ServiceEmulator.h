#pragma once

#include "EmulatedResponse.h"
#include "FileBehaviour.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>

class QSslConfiguration;
class QTcpServer;

// A stand-in for the file-hosting service on 127.0.0.1, speaking HTTP/1.1:
//
//   /cgi-bin/rsapi.cgi?sub=checkfiles&files=ID&filenames=NAME   the check reply
//   /cgi-bin/rsapi.cgi?sub=download&fileid=ID&filename=NAME     "DL:" ticket or a wait sentence;
//                                      with &login=..&password=.. (both non-empty) the file body
//   /cgi-bin/rsapi.cgi?sub=download_v1&fileid=ID&filename=NAME&dlauth=AUTH   the file body
//   /files/ID/NAME                                              the file's page
//   /get/ID/NAME                                                the file body (redirect target)
//   /direct/ID/NAME                                             a direct link: the file body to
//                                      GET and its head alone to HEAD (only here is HEAD answered)
//
// Every request for a file body may carry a Range field (see FileBehaviour); a
// redirect is answered as it is, the range being served at the redirect target.
// Every route is served on the plain port and on every TLS port (ListenTls).
//
// Files are known by id: an id spells its behaviour (FileBehaviour), files added
// with AddFile and the demo catalogue carry a name too. The download host in a
// "DL:" reply is the emulator itself. Every connection carries one request and
// closes after its answer.
class ServiceEmulator final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ServiceEmulator)

public:
    // Answers a request whose target (path and query, as sent) starts with the
    // route's prefix: a whole HTTP response, sent as it is before the connection closes.
    using RouteHandler = std::function<QByteArray(const QString &pathAndQuery)>;

    // Knows the demo catalogue from the start.
    explicit ServiceEmulator(QObject *parent = nullptr);
    ~ServiceEmulator() override;

    // Listens on 127.0.0.1:`port`; 0 picks a free port.
    bool Listen(quint16 port = 0);
    quint16 Port() const;
    // "127.0.0.1:" + port: the value for the API and file-server host settings.
    QString Host() const;
    // Also serves https on 127.0.0.1:`port` (0 picks a free one) with the
    // certificate and key of `configuration`; the first such port is the one
    // "tohttps" redirects name. The port, or 0 when it cannot listen.
    quint16 ListenTls(const QSslConfiguration &configuration, quint16 port = 0);
    quint16 TlsPort() const;
    // "127.0.0.1:" + TlsPort()
    QString TlsHost() const;
    // "http://" + Host() + "/files/" + id + "/" + name
    QString SharingLink(const QString &fileId, const QString &fileName) const;
    // "http://" + Host() + "/direct/" + id + "/" + name; with `https`, "https://" + TlsHost() + ...
    QString DirectLink(const QString &fileId, const QString &fileName, bool https = false) const;

    // A file with an id of any form, its name and behaviour.
    void AddFile(const QString &fileId, const QString &fileName, const FileBehaviour &behaviour);
    // The behaviour of `fileId`: an added file, else what the id spells.
    std::optional<FileBehaviour> FindFile(const QString &fileId) const;
    // The name the service gives `fileId` when a request names none.
    QString FileName(const QString &fileId) const;
    // The download authorisation a "DL:" reply hands out for `fileId`.
    static QString DownloadAuth(const QString &fileId);

    // Routes are tried before the service's own paths, the longest prefix first.
    void AddRoute(const QString &pathPrefix, RouteHandler handler);
    // A whole response with Content-Length, for route handlers.
    static QByteArray HttpResponse(int status, const QByteArray &reason, const QByteArray &contentType,
                                   const QByteArray &body);

    // Writes one line per answered request to stderr.
    void SetLogToStderr(bool enabled) { m_logToStderr = enabled; }
    // The targets of the requests answered so far, in order.
    QStringList Requests() const { return m_requests; }
    void ClearRequests() { m_requests.clear(); }

    // Bytes of file bodies handed to the connections so far, of all files or of
    // `fileId`: what a resume fetched again shows here. A client that drops the
    // connection may not have read the last of them.
    qint64 BodyBytesSent() const { return m_bodyBytesSent; }
    qint64 BodyBytesSent(const QString &fileId) const { return m_bodyBytesSentByFile.value(fileId); }

Q_SIGNALS:
    void RequestAnswered(const QString &method, const QString &target, int status);

private:
    struct NamedFile {
        QString name;
        FileBehaviour behaviour;
    };

    void OnNewConnection(QTcpServer *server);
    EmulatedResponse Respond(const QByteArray &method, const QString &target, const QByteArray &range);
    EmulatedResponse Route(const QByteArray &method, const QString &target, const QByteArray &range);
    EmulatedResponse ApiAnswer(const QHash<QString, QString> &query, const QByteArray &range);
    EmulatedResponse CheckFiles(const QHash<QString, QString> &query);
    EmulatedResponse TicketAnswer(const QHash<QString, QString> &query, const QByteArray &range);
    EmulatedResponse DirectFile(const QByteArray &method, const QString &fileId, const QString &fileName,
                                const QByteArray &range) const;
    EmulatedResponse FileBody(const QString &fileId, const FileBehaviour &file, const QByteArray &range) const;
    void CountBodyBytes(const QString &fileId, qint64 bytes);
    EmulatedResponse FilePage(const QString &fileId, const QString &fileName);
    QString CheckLine(const QString &fileId, const QString &requestedName) const;

    QTcpServer *m_server;
    QList<QTcpServer *> m_tlsServers;
    QHash<QString, NamedFile> m_files;
    QHash<QString, int> m_ticketRequests;
    QList<std::pair<QString, RouteHandler>> m_routes;
    QStringList m_requests;
    qint64 m_bodyBytesSent = 0;
    QHash<QString, qint64> m_bodyBytesSentByFile;
    bool m_logToStderr = false;
};
