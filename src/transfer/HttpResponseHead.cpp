#include "transfer/HttpResponseHead.h"

#include <limits>

namespace {

// Index just past the blank line that ends the head ("\r\n\r\n", or bare "\n"
// line ends), searching from `from`; -1 when it has not arrived.
qint64 HeadEnd(const QByteArray &bytes, qint64 from)
{
    const qint64 size = bytes.size();
    for (qint64 i = bytes.indexOf('\n', from); i >= 0; i = bytes.indexOf('\n', i + 1)) {
        if (i + 1 < size && bytes.at(i + 1) == '\n')
            return i + 2;
        if (i + 2 < size && bytes.at(i + 1) == '\r' && bytes.at(i + 2) == '\n')
            return i + 3;
    }
    return -1;
}

} // namespace

qint64 HttpResponseHead::ByteCount(QByteArrayView digits)
{
    if (digits.isEmpty())
        return -1;
    qint64 value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return -1;
        const int digit = c - '0';
        if (value > (std::numeric_limits<qint64>::max() - digit) / 10)
            return -1;
        value = value * 10 + digit;
    }
    return value;
}

HttpResponseHead::Status HttpResponseHead::Feed(const char *data, qint64 size, qint64 *consumed)
{
    *consumed = 0;
    if (m_status != Status::NeedMore)
        return m_status;
    const qint64 oldSize = m_bytes.size();
    // Never keep more than one byte past the limit: enough to know it was passed.
    const qint64 taken = qMin(size, MaxSize + 1 - oldSize);
    m_bytes.append(data, taken);
    const qint64 end = HeadEnd(m_bytes, qMax<qint64>(0, oldSize - 2));
    if (end < 0) {
        *consumed = taken;
        if (m_bytes.size() > MaxSize)
            m_status = Status::Error;
        return m_status;
    }
    *consumed = end - oldSize;
    m_bytes.truncate(end);
    m_status = end <= MaxSize && Parse() ? Status::Complete : Status::Error;
    return m_status;
}

void HttpResponseHead::Reset()
{
    m_bytes.clear();
    m_status = Status::NeedMore;
    m_statusCode = 0;
    m_reasonPhrase.clear();
    m_fields.clear();
    m_contentLength = -1;
}

bool HttpResponseHead::Parse()
{
    QList<QByteArray> lines = m_bytes.split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    // "HTTP/1.1 200 OK": a version, a blank, three digits, then a blank or nothing.
    const QByteArray &status = lines.first();
    const qsizetype blank = status.indexOf(' ');
    const QByteArray code = blank < 0 ? QByteArray() : status.mid(blank + 1, 3);
    if (!status.startsWith("HTTP/") || code.size() != 3 || ByteCount(code) < 0
        || (status.size() > blank + 4 && status.at(blank + 4) != ' '))
        return false;
    m_statusCode = code.toInt();
    m_reasonPhrase = status.mid(blank + 4).trimmed();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        if (line.isEmpty())
            continue;
        if (line.startsWith(' ') || line.startsWith('\t')) {
            // An old-style continuation line belongs to the field above it; one
            // with no field above is a broken head, not a field of its own.
            if (m_fields.isEmpty())
                return false;
            m_fields.last().second += ' ' + line.trimmed();
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            return false;
        m_fields.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    return ParseContentLength();
}

bool HttpResponseHead::ParseContentLength()
{
    // Every Content-Length field, and every element of a list in one, must be the
    // same plain number: a server that names two lengths has no length to trust.
    for (const auto &[name, value] : std::as_const(m_fields)) {
        if (QByteArrayView(name).compare("Content-Length", Qt::CaseInsensitive) != 0)
            continue;
        for (const QByteArray &element : value.split(',')) {
            const qint64 length = ByteCount(element.trimmed());
            if (length < 0 || (m_contentLength >= 0 && length != m_contentLength))
                return false;
            m_contentLength = length;
        }
    }
    return true;
}

QByteArray HttpResponseHead::Value(QByteArrayView name) const
{
    for (const auto &field : m_fields) {
        if (QByteArrayView(field.first).compare(name, Qt::CaseInsensitive) == 0)
            return field.second.isNull() ? QByteArray("") : field.second;
    }
    return {};
}

HttpResponseHead::Framing HttpResponseHead::BodyFraming() const
{
    const QByteArray coding = Value("Transfer-Encoding");
    if (!coding.isNull()) {
        // The last coding decides; anything but chunked runs until the close.
        const QByteArray last = coding.mid(coding.lastIndexOf(',') + 1).trimmed();
        return last.compare("chunked", Qt::CaseInsensitive) == 0 ? Framing::Chunked : Framing::UntilClose;
    }
    return ContentLength() >= 0 ? Framing::Length : Framing::UntilClose;
}

