#include "FileBehaviour.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include <limits>

namespace {

const QHash<QString, QByteArray> &Dispositions()
{
    static const QHash<QString, QByteArray> values{
        {QStringLiteral("cdquoted"), "attachment; filename=\"quoted name.bin\""},
        {QStringLiteral("cdtoken"), "attachment; filename=token.bin"},
        {QStringLiteral("cdutf8"), "attachment; filename*=UTF-8''%E2%82%AC%20rates.bin"},
        {QStringLiteral("cdboth"), "attachment; filename=\"plain.bin\"; filename*=UTF-8''%C3%BCber.bin"},
        {QStringLiteral("cdpath"), "attachment; filename=\"../../etc/passwd\""},
        {QStringLiteral("cdempty"), "attachment; filename=\"\""},
    };
    return values;
}

// Applies one word of a file id; false when the word means nothing.
bool ApplyWord(FileBehaviour &file, const QString &word)
{
    static const QRegularExpression kNumbered(QStringLiteral("^([a-z]+?)(-?\\d+)([kmg]?)$"));

    if (word == QLatin1String("checkerror"))
        file.check = FileBehaviour::CheckAnswer::ServiceError;
    else if (word == QLatin1String("checkbad"))
        file.check = FileBehaviour::CheckAnswer::SixFields;
    else if (word == QLatin1String("checkempty"))
        file.check = FileBehaviour::CheckAnswer::Empty;
    else if (word == QLatin1String("checknan"))
        file.check = FileBehaviour::CheckAnswer::StatusNotNumber;
    else if (word == QLatin1String("sizenan"))
        file.check = FileBehaviour::CheckAnswer::SizeNotNumber;
    else if (word == QLatin1String("dlbad"))
        file.ticket = FileBehaviour::TicketAnswer::ThreeFields;
    else if (word == QLatin1String("dlnan"))
        file.ticket = FileBehaviour::TicketAnswer::WaitNotNumber;
    else if (word == QLatin1String("dlerror"))
        file.ticket = FileBehaviour::TicketAnswer::ServiceError;
    else if (word == QLatin1String("nolen"))
        file.apiWithoutLength = true;
    else if (word == QLatin1String("www"))
        file.redirectWww = true;
    else if (word == QLatin1String("split"))
        file.splitHeader = true;
    else if (word == QLatin1String("chunked"))
        file.chunked = true;
    else if (word == QLatin1String("unsized"))
        file.unsized = true;
    else if (word == QLatin1String("norange"))
        file.ignoresRange = true;
    else if (word == QLatin1String("range416"))
        file.refusesRange = true;
    else if (word == QLatin1String("tohttps"))
        file.redirectScheme = FileBehaviour::RedirectScheme::ToHttps;
    else if (word == QLatin1String("tohttp"))
        file.redirectScheme = FileBehaviour::RedirectScheme::ToHttp;
    else if (word == QLatin1String("headclose"))
        file.headStatus = -1;
    else if (Dispositions().contains(word))
        file.contentDisposition = Dispositions().value(word);
    else {
        const QRegularExpressionMatch match = kNumbered.match(word);
        if (!match.hasMatch())
            return false;
        const QString key = match.captured(1);
        const QString unit = match.captured(3);
        bool ok = false;
        const qint64 number = match.captured(2).toLongLong(&ok);
        if (!ok || (!unit.isEmpty() && key != QLatin1String("s")))
            return false;
        const bool negative = number < 0;
        const bool isInt = number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max();
        if (key == QLatin1String("s") && !negative) {
            const int shift = unit == QLatin1String("k") ? 10 : unit == QLatin1String("m") ? 20
                : unit == QLatin1String("g")                                                ? 30
                                                                                            : 0;
            if (number > (std::numeric_limits<qint64>::max() >> shift))
                return false;
            file.size = number << shift;
        } else if (key == QLatin1String("c") && isInt) {
            file.checkStatus = int(number);
        } else if (negative || !isInt) {
            return false;
        } else if (key == QLatin1String("wait")) {
            file.waitBeforeTicket = int(number);
        } else if (key == QLatin1String("dl")) {
            file.ticketWait = int(number);
        } else if (key == QLatin1String("slowcheck")) {
            file.checkDelayMs = int(number);
        } else if (key == QLatin1String("slowdl")) {
            file.ticketDelayMs = int(number);
        } else if (key == QLatin1String("slowpage")) {
            file.pageDelayMs = int(number);
        } else if (key == QLatin1String("r")
                   && (number == 301 || number == 302 || number == 303 || number == 307 || number == 308)) {
            file.redirect = int(number);
        } else if (key == QLatin1String("head") && (number == 405 || number == 501)) {
            file.headStatus = int(number);
        } else if (key == QLatin1String("gone") && (number == 404 || number == 410)) {
            file.goneStatus = int(number);
        } else if (key == QLatin1String("close") && number <= 100) {
            file.closeAtPercent = int(number);
        } else if (key == QLatin1String("stall") && number <= 100) {
            file.stallAtPercent = int(number);
        } else if (key == QLatin1String("reset") && number <= 100) {
            file.resetAtPercent = int(number);
        } else if (key == QLatin1String("rate") && number > 0) {
            file.bytesPerSecond = number * 1024;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<FileBehaviour> FileBehaviour::FromFileId(const QString &fileId)
{
    if (fileId.isEmpty())
        return std::nullopt;
    FileBehaviour file;
    for (const QString &word : fileId.split(QLatin1Char('_'))) {
        bool isSeed = !word.isEmpty();
        for (const QChar c : word)
            isSeed = isSeed && c.isDigit() && c.unicode() < 128;
        if (!isSeed && !ApplyWord(file, word))
            return std::nullopt;
    }
    return file;
}
