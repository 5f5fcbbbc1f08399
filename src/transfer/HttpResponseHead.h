#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>

// The status line and header fields of one HTTP response, taken in piece by piece
// as the bytes arrive. Nothing is parsed before the blank line that ends the head
// has arrived; a head that grows past MaxSize without one is refused, and so is a
// head whose Content-Length is not one plain number (several fields or a list
// may repeat it) or whose first field line starts with a blank.
class HttpResponseHead final
{
public:
    static constexpr qint64 MaxSize = 64 * 1024;

    enum class Status { NeedMore, Complete, Error };
    enum class Framing { Length, Chunked, UntilClose };

    // Takes the next bytes of the response. `*consumed` is how many of them belong
    // to the head: all of them while NeedMore, the head's last part on Complete
    // (the rest is body). Bytes after Complete or Error are not looked at.
    Status Feed(const char *data, qint64 size, qint64 *consumed);
    void Reset();

    int StatusCode() const { return m_statusCode; }
    // The words after the status code: "Not Found".
    const QByteArray &ReasonPhrase() const { return m_reasonPhrase; }
    // The first field of that name (letter case ignored), trimmed; null if absent.
    QByteArray Value(QByteArrayView name) const;

    // How the body ends: chunked transfer coding, a valid Content-Length, or the
    // server closing the connection.
    Framing BodyFraming() const;
    // The Content-Length as a 64-bit count; -1 when absent.
    qint64 ContentLength() const { return m_contentLength; }

    // A count of bytes as HTTP writes it: decimal digits only, no sign or blank;
    // -1 for anything else and for a value beyond 64 bits.
    static qint64 ByteCount(QByteArrayView digits);

private:
    bool Parse();
    bool ParseContentLength();

    QByteArray m_bytes;
    Status m_status = Status::NeedMore;
    int m_statusCode = 0;
    QByteArray m_reasonPhrase;
    QList<QPair<QByteArray, QByteArray>> m_fields;
    qint64 m_contentLength = -1;
};
