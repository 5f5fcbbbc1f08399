#include "ServiceEmulator.h"

#include "EmulatedContent.h"
#include "EmulatorCatalogue.h"
#include "EmulatorConnection.h"

#include <QCryptographicHash>
#include <QHostAddress>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>

namespace {

QByteArray Head(int status, const QByteArray &reason, const QByteArray &contentType, qint64 contentLength,
                const QByteArray &extraHeaders = {})
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\nContent-Type: " + contentType
        + "\r\nConnection: close\r\n" + extraHeaders;
    // Content-Length comes last, so a header split near its end cuts through it.
    if (contentLength >= 0)
        head += "Content-Length: " + QByteArray::number(contentLength) + "\r\n";
    return head + "\r\n";
}

EmulatedResponse Small(int status, const QByteArray &reason, const QByteArray &contentType, const QByteArray &body,
                       bool withLength = true, int delayMs = 0)
{
    EmulatedResponse response;
    response.status = status;
    response.head = Head(status, reason, contentType, withLength ? body.size() : -1) + body;
    response.delayMs = delayMs;
    return response;
}

EmulatedResponse ApiText(const QByteArray &text, bool withLength = true, int delayMs = 0)
{
    return Small(200, "OK", "text/plain", text, withLength, delayMs);
}

EmulatedResponse NotFound()
{
    return Small(404, "Not Found", "text/html", "<html><body><h1>404 Not Found</h1></body></html>");
}

EmulatedResponse Redirect(int status, const QByteArray &location)
{
    static const QHash<int, QByteArray> reasons{{301, "Moved Permanently"}, {302, "Found"}, {303, "See Other"},
                                                {307, "Temporary Redirect"}, {308, "Permanent Redirect"}};
    EmulatedResponse response;
    response.status = status;
    response.head = Head(status, reasons.value(status), "text/plain", 0, "Location: " + location + "\r\n");
    return response;
}

// The head of `response` without its body, as HEAD is answered.
EmulatedResponse HeadOnly(EmulatedResponse response)
{
    const qsizetype end = response.head.indexOf("\r\n\r\n");
    if (end >= 0)
        response.head.truncate(end + 4);
    response.fileId.clear();
    response.bodyStart = 0;
    response.bodyEnd = 0;
    response.stopAt = -1;
    response.chunked = false;
    response.bytesPerSecond = 0;
    return response;
}

QHash<QString, QString> ParseQuery(const QString &query)
{
    QHash<QString, QString> values;
    for (const QString &pair : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf(QLatin1Char('='));
        const QString key = equals < 0 ? pair : pair.left(equals);
        const QString value = equals < 0 ? QString() : pair.mid(equals + 1);
        if (!values.contains(key))
            values.insert(key, QUrl::fromPercentEncoding(value.toUtf8()));
    }
    return values;
}

QString Decoded(const QString &text)
{
    return QUrl::fromPercentEncoding(text.toUtf8());
}

QString Checksum(const QString &fileId)
{
    return QString::fromLatin1(QCryptographicHash::hash(fileId.toUtf8(), QCryptographicHash::Md5).toHex().toUpper());
}

// A decimal offset in a Range field; -1 for anything but digits.
qint64 RangeOffset(QByteArrayView text)
{
    const bool digits =
        !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    bool ok = false;
    const qint64 offset = digits ? text.toLongLong(&ok) : -1;
    return ok ? offset : -1;
}

// The first and last byte a "bytes=N-" or "bytes=N-M" Range asks for (M -1 when
// open); nothing for any other form, which the service ignores.
std::optional<std::pair<qint64, qint64>> RequestedRange(const QByteArray &range)
{
    if (!range.startsWith("bytes="))
        return std::nullopt;
    const QByteArray spec = range.mid(6);
    const qsizetype dash = spec.indexOf('-');
    if (dash < 0)
        return std::nullopt;
    const qint64 first = RangeOffset(spec.left(dash));
    const QByteArray lastText = spec.mid(dash + 1);
    const qint64 last = lastText.isEmpty() ? -1 : RangeOffset(lastText);
    if (first < 0 || (!lastText.isEmpty() && last < first))
        return std::nullopt;
    return std::pair{first, last};
}

} // namespace

ServiceEmulator::ServiceEmulator(QObject *parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::pendingConnectionAvailable, this, [this] { OnNewConnection(m_server); });
    for (const CatalogueEntry &entry : DemoCatalogue())
        AddFile(entry.fileId, entry.fileName, FileBehaviour::FromFileId(entry.fileId).value());
}

ServiceEmulator::~ServiceEmulator() = default;

bool ServiceEmulator::Listen(quint16 port)
{
    return m_server->listen(QHostAddress::LocalHost, port);
}

quint16 ServiceEmulator::Port() const
{
    return m_server->serverPort();
}

quint16 ServiceEmulator::ListenTls(const QSslConfiguration &configuration, quint16 port)
{
    auto *server = new QSslServer(this);
    server->setSslConfiguration(configuration);
    if (!server->listen(QHostAddress::LocalHost, port)) {
        delete server;
        return 0;
    }
    // A TLS connection becomes pending once its handshake is done.
    connect(server, &QTcpServer::pendingConnectionAvailable, this, [this, server] { OnNewConnection(server); });
    m_tlsServers.append(server);
    return server->serverPort();
}

quint16 ServiceEmulator::TlsPort() const
{
    return m_tlsServers.isEmpty() ? 0 : m_tlsServers.first()->serverPort();
}

QString ServiceEmulator::DirectLink(const QString &fileId, const QString &fileName, bool https) const
{
    return (https ? QLatin1String("https://") + TlsHost() : QLatin1String("http://") + Host())
        + QLatin1String("/direct/") + fileId + QLatin1Char('/') + fileName;
}

QString ServiceEmulator::Host() const
{
    return QLatin1String("127.0.0.1:") + QString::number(Port());
}

QString ServiceEmulator::TlsHost() const
{
    return QLatin1String("127.0.0.1:") + QString::number(TlsPort());
}

QString ServiceEmulator::SharingLink(const QString &fileId, const QString &fileName) const
{
    return QLatin1String("http://") + Host() + QLatin1String("/files/") + fileId + QLatin1Char('/') + fileName;
}

void ServiceEmulator::AddFile(const QString &fileId, const QString &fileName, const FileBehaviour &behaviour)
{
    m_files.insert(fileId, {fileName, behaviour});
}

std::optional<FileBehaviour> ServiceEmulator::FindFile(const QString &fileId) const
{
    const auto added = m_files.constFind(fileId);
    if (added != m_files.constEnd())
        return added->behaviour;
    return FileBehaviour::FromFileId(fileId);
}

QString ServiceEmulator::FileName(const QString &fileId) const
{
    const auto added = m_files.constFind(fileId);
    if (added != m_files.constEnd() && !added->name.isEmpty())
        return added->name;
    return QLatin1String("file-") + fileId + QLatin1String(".bin");
}

QString ServiceEmulator::DownloadAuth(const QString &fileId)
{
    return QString::number(EmulatedContent::Seed(fileId), 16).toUpper();
}

void ServiceEmulator::AddRoute(const QString &pathPrefix, RouteHandler handler)
{
    m_routes.append({pathPrefix, std::move(handler)});
    std::stable_sort(m_routes.begin(), m_routes.end(),
                     [](const auto &a, const auto &b) { return a.first.size() > b.first.size(); });
}

QByteArray ServiceEmulator::HttpResponse(int status, const QByteArray &reason, const QByteArray &contentType,
                                         const QByteArray &body)
{
    return Head(status, reason, contentType, body.size()) + body;
}

void ServiceEmulator::OnNewConnection(QTcpServer *server)
{
    while (QTcpSocket *socket = server->nextPendingConnection()) {
        auto *connection = new EmulatorConnection(
            socket,
            [this](const QByteArray &method, const QString &target, const QByteArray &range) {
                return Respond(method, target, range);
            },
            this);
        connect(connection, &EmulatorConnection::BodySent, this, &ServiceEmulator::CountBodyBytes);
    }
}

void ServiceEmulator::CountBodyBytes(const QString &fileId, qint64 bytes)
{
    m_bodyBytesSent += bytes;
    m_bodyBytesSentByFile[fileId] += bytes;
}

EmulatedResponse ServiceEmulator::Respond(const QByteArray &method, const QString &target, const QByteArray &range)
{
    const EmulatedResponse response =
        method == "HEAD" ? HeadOnly(Route(method, target, range)) : Route(method, target, range);
    m_requests.append(target);
    if (m_logToStderr) {
        std::fprintf(stderr, "%s %s -> %d\n", method.constData(), qPrintable(target), response.status);
        std::fflush(stderr);
    }
    Q_EMIT RequestAnswered(QString::fromLatin1(method), target, response.status);
    return response;
}

EmulatedResponse ServiceEmulator::Route(const QByteArray &method, const QString &target, const QByteArray &range)
{
    const bool direct = target.startsWith(QLatin1String("/direct/"));
    if (method != "GET" && !(direct && method == "HEAD"))
        return Small(405, "Method Not Allowed", "text/plain", "GET only\n");

    for (const auto &[prefix, handler] : m_routes) {
        if (target.startsWith(prefix)) {
            EmulatedResponse response;
            response.head = handler(target);
            response.status = response.head.mid(9, 3).toInt();
            return response;
        }
    }

    const qsizetype question = target.indexOf(QLatin1Char('?'));
    const QString path = question < 0 ? target : target.left(question);
    const QString query = question < 0 ? QString() : target.mid(question + 1);
    if (path == QLatin1String("/cgi-bin/rsapi.cgi"))
        return ApiAnswer(ParseQuery(query), range);

    const QStringList segments = path.split(QLatin1Char('/'));
    const QString fileId = Decoded(segments.value(2));
    const QString fileName = Decoded(segments.value(3));
    if (segments.value(1) == QLatin1String("files"))
        return FilePage(fileId, fileName);
    if (direct)
        return DirectFile(method, fileId, fileName, range);
    if (segments.value(1) == QLatin1String("get")) {
        const std::optional<FileBehaviour> file = FindFile(fileId);
        return file ? FileBody(fileId, *file, range) : NotFound();
    }
    return NotFound();
}

EmulatedResponse ServiceEmulator::ApiAnswer(const QHash<QString, QString> &query, const QByteArray &range)
{
    const QString sub = query.value(QStringLiteral("sub"));
    if (sub == QLatin1String("checkfiles"))
        return CheckFiles(query);
    if (sub == QLatin1String("download"))
        return TicketAnswer(query, range);
    if (sub != QLatin1String("download_v1"))
        return ApiText("ERROR: Unknown subroutine.\n");

    const QString fileId = query.value(QStringLiteral("fileid"));
    const std::optional<FileBehaviour> file = FindFile(fileId);
    if (!file)
        return NotFound();
    if (query.value(QStringLiteral("dlauth")) != DownloadAuth(fileId))
        return Small(403, "Forbidden", "text/plain", "ERROR: Download ticket not valid.\n");
    if (file->redirect != 0) {
        const QByteArray location = (file->redirectWww ? "http://www." : "http://") + Host().toLatin1() + "/get/"
            + QUrl::toPercentEncoding(fileId) + '/' + QUrl::toPercentEncoding(query.value(QStringLiteral("filename")));
        return Redirect(file->redirect, location);
    }
    return FileBody(fileId, *file, range);
}

EmulatedResponse ServiceEmulator::DirectFile(const QByteArray &method, const QString &fileId,
                                             const QString &fileName, const QByteArray &range) const
{
    const std::optional<FileBehaviour> file = FindFile(fileId);
    if (!file)
        return NotFound();
    if (file->goneStatus != 0)
        return Small(file->goneStatus, file->goneStatus == 410 ? "Gone" : "Not Found", "text/plain", "gone\n");
    if (method == "HEAD" && file->headStatus < 0) {
        EmulatedResponse silence; // the connection closes without a byte
        silence.status = 0;
        return silence;
    }
    if (method == "HEAD" && file->headStatus > 0) {
        return Small(file->headStatus, file->headStatus == 405 ? "Method Not Allowed" : "Not Implemented",
                     "text/plain", "no HEAD\n");
    }
    if (file->redirect != 0) {
        QStringList words = fileId.split(QLatin1Char('_'));
        words.removeAll(QLatin1Char('r') + QString::number(file->redirect));
        QByteArray location = "/direct/" + QUrl::toPercentEncoding(words.join(QLatin1Char('_'))) + '/'
            + QUrl::toPercentEncoding(fileName);
        using Scheme = FileBehaviour::RedirectScheme;
        if (file->redirectScheme == Scheme::ToHttps)
            location.prepend("https://" + TlsHost().toLatin1());
        else if (file->redirectScheme == Scheme::ToHttp)
            location.prepend("http://" + Host().toLatin1());
        return Redirect(file->redirect, location);
    }
    return FileBody(fileId, *file, range);
}

QString ServiceEmulator::CheckLine(const QString &fileId, const QString &requestedName) const
{
    const QString name = requestedName.isEmpty() ? FileName(fileId) : requestedName;
    const std::optional<FileBehaviour> file = FindFile(fileId);
    if (!file)
        return fileId + QLatin1Char(',') + name + QLatin1String(",0,0,0,0,0");

    using Answer = FileBehaviour::CheckAnswer;
    const quint64 seed = EmulatedContent::Seed(fileId);
    const QString size = file->check == Answer::SizeNotNumber ? QStringLiteral("big") : QString::number(file->size);
    const QString status = file->check == Answer::StatusNotNumber ? QStringLiteral("one")
                                                                  : QString::number(file->checkStatus);
    QStringList fields = {fileId,
                          name,
                          size,
                          QString::number(100 + seed % 900),
                          status,
                          QLatin1String("l") + QString::number(seed % 4 + 1),
                          Checksum(fileId)};
    if (file->check == Answer::SixFields)
        fields.removeLast();
    if (file->check == Answer::Empty)
        return {};
    return fields.join(QLatin1Char(','));
}

EmulatedResponse ServiceEmulator::CheckFiles(const QHash<QString, QString> &query)
{
    const QString files = query.value(QStringLiteral("files"));
    if (files.isEmpty())
        return ApiText("ERROR: No files given.\n");
    const QStringList ids = files.split(QLatin1Char(','));
    const QStringList names = query.value(QStringLiteral("filenames")).split(QLatin1Char(','));

    int delayMs = 0;
    bool withLength = true;
    bool serviceError = false;
    bool empty = false;
    QStringList lines;
    for (qsizetype i = 0; i < ids.size(); ++i) {
        if (const std::optional<FileBehaviour> file = FindFile(ids.at(i))) {
            delayMs = qMax(delayMs, file->checkDelayMs);
            withLength = withLength && !file->apiWithoutLength;
            serviceError = serviceError || file->check == FileBehaviour::CheckAnswer::ServiceError;
            empty = empty || file->check == FileBehaviour::CheckAnswer::Empty;
        }
        lines.append(CheckLine(ids.at(i), names.value(i)));
    }
    if (serviceError)
        return ApiText("ERROR: Server busy, please try again later.\n", withLength, delayMs);
    if (empty && ids.size() == 1)
        return ApiText({}, withLength, delayMs);
    return ApiText(lines.join(QLatin1Char('\n')).toUtf8() + '\n', withLength, delayMs);
}

EmulatedResponse ServiceEmulator::TicketAnswer(const QHash<QString, QString> &query, const QByteArray &range)
{
    const QString fileId = query.value(QStringLiteral("fileid"));
    const std::optional<FileBehaviour> file = FindFile(fileId);
    if (!file)
        return ApiText("ERROR: File not found.\n");

    const bool premium = !query.value(QStringLiteral("login")).isEmpty()
        && !query.value(QStringLiteral("password")).isEmpty();
    if (premium)
        return FileBody(fileId, *file, range);

    const int request = ++m_ticketRequests[fileId];
    const QByteArray host = Host().toLatin1();
    const QByteArray auth = DownloadAuth(fileId).toLatin1();
    const QByteArray checksum = Checksum(fileId).toLatin1();
    QByteArray text;
    using Answer = FileBehaviour::TicketAnswer;
    if (file->ticket == Answer::ServiceError)
        text = "ERROR: Download not possible at the moment.\n";
    else if (file->waitBeforeTicket >= 0 && request == 1)
        text = "ERROR: You need to wait " + QByteArray::number(file->waitBeforeTicket)
            + " seconds until you can download another file.\n";
    else if (file->ticket == Answer::ThreeFields)
        text = "DL:" + host + ',' + auth + ',' + QByteArray::number(file->ticketWait) + '\n';
    else if (file->ticket == Answer::WaitNotNumber)
        text = "DL:" + host + ',' + auth + ",soon," + checksum + '\n';
    else
        text = "DL:" + host + ',' + auth + ',' + QByteArray::number(file->ticketWait) + ',' + checksum + '\n';
    return ApiText(text, !file->apiWithoutLength, file->ticketDelayMs);
}

EmulatedResponse ServiceEmulator::FileBody(const QString &fileId, const FileBehaviour &file,
                                            const QByteArray &range) const
{
    const std::optional<std::pair<qint64, qint64>> requested =
        range.isEmpty() || file.ignoresRange ? std::nullopt : RequestedRange(range);
    const QByteArray size = QByteArray::number(file.size);
    if (requested && (file.refusesRange || requested->first >= file.size)) {
        EmulatedResponse refusal;
        refusal.status = 416;
        refusal.head = Head(416, "Range Not Satisfiable", "text/plain", 0, "Content-Range: bytes */" + size + "\r\n");
        return refusal;
    }

    EmulatedResponse response;
    response.status = requested ? 206 : 200;
    response.fileId = fileId;
    response.bodyStart = requested ? requested->first : 0;
    response.bodyEnd = requested && requested->second >= 0 ? qMin(requested->second + 1, file.size) : file.size;
    QByteArray fields = file.chunked ? "Transfer-Encoding: chunked\r\n" : "";
    if (!file.contentDisposition.isEmpty())
        fields += "Content-Disposition: " + file.contentDisposition + "\r\n";
    if (requested) {
        fields += "Content-Range: bytes " + QByteArray::number(response.bodyStart) + '-'
            + QByteArray::number(response.bodyEnd - 1) + '/' + size + "\r\n";
    }
    const bool sized = !file.chunked && !file.unsized;
    response.head = Head(response.status, requested ? "Partial Content" : "OK", "application/octet-stream",
                         sized ? response.bodyEnd - response.bodyStart : -1, fields);
    response.splitHead = file.splitHeader;

    const auto cutAt = [&](int percent, EmulatedResponse::Stop stop) {
        if (percent < 0)
            return;
        const qint64 offset = file.size * percent / 100;
        // A range that starts at the cut or past it is a resume that got there.
        if (!requested || response.bodyStart < offset) {
            response.stopAt = offset;
            response.stop = stop;
        }
    };
    cutAt(file.closeAtPercent, EmulatedResponse::Stop::Close);
    cutAt(file.stallAtPercent, EmulatedResponse::Stop::Stall);
    cutAt(file.resetAtPercent, EmulatedResponse::Stop::Reset);
    response.chunked = file.chunked;
    response.bytesPerSecond = file.bytesPerSecond;
    return response;
}

EmulatedResponse ServiceEmulator::FilePage(const QString &fileId, const QString &fileName)
{
    const std::optional<FileBehaviour> file = FindFile(fileId);
    if (!file)
        return NotFound();
    const QByteArray name = (fileName.isEmpty() ? FileName(fileId) : fileName).toHtmlEscaped().toUtf8();
    const QByteArray page = "<html><head><title>" + name + "</title></head><body><h1>" + name + "</h1><p>"
        + QByteArray::number(file->size) + " bytes</p></body></html>\n";
    return Small(200, "OK", "text/html", page, !file->apiWithoutLength, file->pageDelayMs);
}
