#include "rapidshare/RapidShareApi.h"

#include <QStringList>

#include <limits>

namespace RapidShareApi {

namespace {

QString RequestTail(const QString &fileId, const QString &fileName)
{
    return QLatin1String("fileid=") + fileId + QLatin1String("&filename=") + fileName;
}

std::optional<qint64> ReadByteCount(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok || value < 0)
        return std::nullopt;
    return value;
}

QString NotAvailableReason(int statusCode)
{
    switch (statusCode) {
    case 0:
        return QStringLiteral("File Not Found");
    case 3:
        return QStringLiteral("Server Down");
    case 4:
        return QStringLiteral("File marked as illegal");
    case 5:
        return QStringLiteral("Locked, File has more than 10 downloads");
    default:
        return {};
    }
}

} // namespace

std::optional<LinkParts> SplitSharingLink(const QString &link)
{
    const QStringList fields = link.split(QLatin1Char('/'));
    if (fields.size() <= 5)
        return std::nullopt;
    return LinkParts{fields.at(4), fields.at(5)};
}

QString ApiUrl(const QString &host)
{
    return QLatin1String("http://") + host + QLatin1String("/cgi-bin/rsapi.cgi?");
}

QString FileServerHost(const QString &pattern, const QString &serverId, const QString &shortHost)
{
    QString host = pattern;
    host.replace(QLatin1String("{server}"), serverId);
    host.replace(QLatin1String("{short}"), shortHost);
    return host;
}

QString CheckFilesUrl(const QString &apiHost, const QString &fileId, const QString &fileName)
{
    return ApiUrl(apiHost) + QLatin1String("sub=checkfiles&files=") + fileId + QLatin1String("&filenames=")
        + fileName;
}

QString FilePageUrl(const QString &fileServerHost, const QString &fileId, const QString &fileName)
{
    return QLatin1String("http://") + fileServerHost + QLatin1String("/files/") + fileId + QLatin1Char('/')
        + fileName;
}

QString FreeDownloadUrl(const QString &apiHost, const QString &fileId, const QString &fileName)
{
    return ApiUrl(apiHost) + QLatin1String("sub=download&") + RequestTail(fileId, fileName);
}

QString PremiumLink(const QString &fileServerHost, const QString &fileId, const QString &fileName,
                    const QString &userName, const QString &password)
{
    return ApiUrl(fileServerHost) + QLatin1String("sub=download&") + RequestTail(fileId, fileName)
        + QLatin1String("&login=") + userName + QLatin1String("&password=") + password;
}

QString FinalDownloadAddress(const QString &downloadHost, const QString &fileId, const QString &fileName,
                             const QString &downloadAuth)
{
    return ApiUrl(downloadHost) + QLatin1String("sub=download_v1&") + RequestTail(fileId, fileName)
        + QLatin1String("&dlauth=") + downloadAuth;
}

std::optional<int> ReadInt16(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return value;
}

CheckReply ReadCheckReply(const QString &reply)
{
    CheckReply result;
    result.details = reply;
    if (!reply.contains(QLatin1Char(',')))
        return result;
    const QStringList fields = reply.split(QLatin1Char(','));
    if (fields.size() < 7)
        return result;
    const std::optional<int> status = ReadInt16(fields.at(4));
    if (!status)
        return result;
    result.statusCode = *status;

    if (*status == 1 || *status > 50) {
        // Only an available file's size is used, so only then must it be a number.
        const std::optional<qint64> size = ReadByteCount(fields.at(2));
        if (!size)
            return result;
        result.outcome = CheckReply::Outcome::Available;
        result.details.clear();
        result.fileId = fields.at(0);
        result.fileName = fields.at(1);
        result.fileSize = *size;
        result.serverId = fields.at(3);
        result.shortHost = fields.at(5);
        return result;
    }
    const QString reason = NotAvailableReason(*status);
    if (!reason.isEmpty()) {
        result.outcome = CheckReply::Outcome::NotAvailable;
        result.details = reason;
    } else {
        result.outcome = CheckReply::Outcome::Ended;
        result.details.clear();
    }
    return result;
}

std::optional<int> ReadWaitSentence(const QString &reply)
{
    const qsizetype wait = reply.indexOf(QLatin1String("wait"), 0, Qt::CaseInsensitive);
    if (wait < 0)
        return std::nullopt;
    const qsizetype seconds = reply.indexOf(QLatin1String("Seconds"), wait, Qt::CaseInsensitive);
    if (seconds < 0)
        return std::nullopt;
    // One blank is assumed after "wait"; "waitSeconds" leaves no room for a number.
    const qsizetype length = seconds - wait - 5;
    if (length < 0)
        return std::nullopt;
    return ReadInt16(reply.mid(wait + 5, length));
}

DownloadReply ReadDownloadReply(const QString &reply)
{
    DownloadReply result;
    if (reply.left(3).toUpper() == QLatin1String("DL:")) {
        const QStringList fields = reply.mid(3).split(QLatin1Char(','));
        if (fields.size() < 4) {
            result.kind = DownloadReply::Kind::MalformedTicket;
            return result;
        }
        const std::optional<int> wait = ReadInt16(fields.at(2));
        if (!wait)
            return result;
        result.kind = DownloadReply::Kind::Ticket;
        result.downloadHost = fields.at(0);
        result.downloadAuth = fields.at(1);
        result.waitSeconds = *wait;
        return result;
    }
    if (const std::optional<int> wait = ReadWaitSentence(reply)) {
        result.kind = DownloadReply::Kind::Wait;
        result.waitSeconds = *wait;
    }
    return result;
}

} // namespace RapidShareApi
