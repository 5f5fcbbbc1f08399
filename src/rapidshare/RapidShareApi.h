#pragma once

#include <QString>

#include <optional>

// The service's HTTP API as plain text: the requests the client builds and the
// replies it reads. Texts are joined exactly as given; nothing is escaped.
namespace RapidShareApi {

struct LinkParts {
    QString fileId;
    QString fileName;
};

// Field 4 and 5 of a link split at "/", when the split yields more than five fields.
std::optional<LinkParts> SplitSharingLink(const QString &link);

// "http://" + host + "/cgi-bin/rsapi.cgi?"
QString ApiUrl(const QString &host);
// The file-server host: `pattern` with "{server}" and "{short}" replaced.
QString FileServerHost(const QString &pattern, const QString &serverId, const QString &shortHost);

QString CheckFilesUrl(const QString &apiHost, const QString &fileId, const QString &fileName);
QString FilePageUrl(const QString &fileServerHost, const QString &fileId, const QString &fileName);
QString FreeDownloadUrl(const QString &apiHost, const QString &fileId, const QString &fileName);
QString PremiumLink(const QString &fileServerHost, const QString &fileId, const QString &fileName,
                    const QString &userName, const QString &password);
QString FinalDownloadAddress(const QString &downloadHost, const QString &fileId, const QString &fileName,
                             const QString &downloadAuth);

// The answer to a file check.
struct CheckReply {
    enum class Outcome {
        Available,    // the file can be downloaded; the fields below are filled
        NotAvailable, // "Error" with `details` as the reason
        Ended,        // "End": the service ended the check without a result
        Malformed,    // "Error" with the whole reply as `details`
    };
    Outcome outcome = Outcome::Malformed;
    QString details;
    int statusCode = 0;
    QString fileId;
    QString fileName;
    qint64 fileSize = 0;
    QString serverId;
    QString shortHost;
};
CheckReply ReadCheckReply(const QString &reply);

// The answer to a free download request.
struct DownloadReply {
    enum class Kind {
        Ticket,          // "DL:" host, authorisation and wait seconds
        Wait,            // a wait sentence: wait, then ask again
        MalformedTicket, // "DL:" with fewer than four fields
        Unreadable,      // anything else, including a "DL:" wait that is not a number
    };
    Kind kind = Kind::Unreadable;
    QString downloadHost;
    QString downloadAuth;
    int waitSeconds = 0;
};
DownloadReply ReadDownloadReply(const QString &reply);

// The seconds of a wait sentence ("wait" ... "Seconds", case ignored), or nothing
// when the sentence cannot be read.
std::optional<int> ReadWaitSentence(const QString &reply);

// A decimal number as the service writes it (surrounding blanks allowed) that fits
// a 16-bit signed value.
std::optional<int> ReadInt16(const QString &text);

} // namespace RapidShareApi
