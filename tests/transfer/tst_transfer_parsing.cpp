#include "transfer/ChunkedDecoder.h"
#include "transfer/ContentRange.h"
#include "transfer/HttpAddress.h"
#include "transfer/HttpResponseHead.h"

#include <QTest>

// Splits `bytes` into pieces of at most `piece` bytes (all at once for 0).
static QList<QByteArray> Pieces(const QByteArray &bytes, int piece)
{
    QList<QByteArray> pieces;
    for (qsizetype at = 0; at < bytes.size(); at += piece > 0 ? piece : bytes.size())
        pieces.append(bytes.mid(at, piece > 0 ? piece : bytes.size()));
    return pieces;
}

class tst_transfer_parsing final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void urls_data();
    void urls();
    void locations_data();
    void locations();
    void references_data();
    void references();

    void heads_data();
    void heads();
    void headArrivingInPieces_data();
    void headArrivingInPieces();
    void headTooLarge();
    void contentRanges_data();
    void contentRanges();

    void chunked_data();
    void chunked();
};

void tst_transfer_parsing::urls_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("direct"); // read as a direct link's address
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QByteArray>("request");

    QTest::newRow("capital prefix, path and query")
        << "HTTP://rs12.example.com/files/123/a.rar?x=1&y=2" << false << true << "rs12.example.com" << 80
        << QByteArray("GET /files/123/a.rar?x=1&y=2 HTTP/1.1\r\nHost: rs12.example.com\r\nAccept: */*\r\n\r\n");
    QTest::newRow("host with port goes into Host")
        << "http://127.0.0.1:8080/a" << false << true << "127.0.0.1" << 8080
        << QByteArray("GET /a HTTP/1.1\r\nHost: 127.0.0.1:8080\r\nAccept: */*\r\n\r\n");
    QTest::newRow("no prefix") << "example.com/a" << false << true << "example.com" << 80
                               << QByteArray("GET /a HTTP/1.1\r\nHost: example.com\r\nAccept: */*\r\n\r\n");
    QTest::newRow("http:// inside the query is kept")
        << "http://h/get?u=http://x/y" << false << true << "h" << 80
        << QByteArray("GET /get?u=http://x/y HTTP/1.1\r\nHost: h\r\nAccept: */*\r\n\r\n");
    QTest::newRow("bracketed IPv6 with port") << "http://[::1]:81/f" << false << true << "::1" << 81
                                              << QByteArray("GET /f HTTP/1.1\r\nHost: [::1]:81\r\nAccept: */*\r\n\r\n");
    QTest::newRow("CR LF and blanks cannot add header lines")
        << "http://h/a b\r\nX-Evil: 1" << false << true << "h" << 80
        << QByteArray("GET /a%20b%0D%0AX-Evil:%201 HTTP/1.1\r\nHost: h\r\nAccept: */*\r\n\r\n");
    QTest::newRow("8-bit path bytes are escaped, escapes kept")
        << QString::fromUtf8("http://h/\u00e9%41") << false << true << "h" << 80
        << QByteArray("GET /%C3%A9%41 HTTP/1.1\r\nHost: h\r\nAccept: */*\r\n\r\n");
    QTest::newRow("fragment is not sent") << "http://h/a#frag" << false << true << "h" << 80
                                          << QByteArray("GET /a HTTP/1.1\r\nHost: h\r\nAccept: */*\r\n\r\n");
    QTest::newRow("no slash after host") << "http://example.com" << false << false << "" << 0 << QByteArray();
    QTest::newRow("https on its default port")
        << "https://example.com/a" << false << true << "example.com" << 443
        << QByteArray("GET /a HTTP/1.1\r\nHost: example.com\r\nAccept: */*\r\n\r\n");
    QTest::newRow("https in capitals with a port")
        << "HTTPS://127.0.0.1:8443/a" << false << true << "127.0.0.1" << 8443
        << QByteArray("GET /a HTTP/1.1\r\nHost: 127.0.0.1:8443\r\nAccept: */*\r\n\r\n");
    QTest::newRow("other scheme") << "ftp://example.com/a" << false << false << "" << 0 << QByteArray();
    QTest::newRow("http inside https") << "https://http://example.com/a" << false << false << "" << 0 << QByteArray();
    QTest::newRow("port out of range") << "http://h:70000/a" << false << false << "" << 0 << QByteArray();
    QTest::newRow("port not a number") << "http://h:8o/a" << false << false << "" << 0 << QByteArray();
    QTest::newRow("empty host") << "http:///a" << false << false << "" << 0 << QByteArray();
    QTest::newRow("blank in host") << "http://a b/a" << false << false << "" << 0 << QByteArray();
    QTest::newRow("direct: a host alone asks for /")
        << "https://example.com" << true << true << "example.com" << 443
        << QByteArray("GET / HTTP/1.1\r\nHost: example.com\r\nAccept: */*\r\n\r\n");
    QTest::newRow("direct: a host and a query")
        << "http://example.com:81?x=1#top" << true << true << "example.com" << 81
        << QByteArray("GET /?x=1 HTTP/1.1\r\nHost: example.com:81\r\nAccept: */*\r\n\r\n");
    QTest::newRow("direct: a path as it is") << "http://h/a%20b/c?d" << true << true << "h" << 80
        << QByteArray("GET /a%20b/c?d HTTP/1.1\r\nHost: h\r\nAccept: */*\r\n\r\n");
    QTest::newRow("direct: other scheme") << "ftp://example.com/a" << true << false << "" << 0 << QByteArray();
    QTest::newRow("direct: no host") << "https:///a" << true << false << "" << 0 << QByteArray();
}

void tst_transfer_parsing::urls()
{
    QFETCH(QString, url);
    QFETCH(bool, direct);
    QFETCH(bool, ok);
    HttpAddress address;
    QString error;
    QCOMPARE(direct ? HttpAddress::FromWebUrl(url, &address, &error) : HttpAddress::FromUrl(url, &address, &error), ok);
    if (!ok) {
        QVERIFY(!error.isEmpty());
        return;
    }
    QTEST(address.host, "host");
    QTEST(int(address.port), "port");
    QTEST(address.Request(), "request");
}

void tst_transfer_parsing::locations_data()
{
    QTest::addColumn<QByteArray>("location");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("authority");
    QTest::addColumn<QByteArray>("path");

    QTest::newRow("absolute, www. dropped in any case") << QByteArray("HTTP://WWW.files.example.com/d/f.zip") << true
                                                        << "files.example.com" << QByteArray("d/f.zip");
    QTest::newRow("absolute with port") << QByteArray("http://127.0.0.1:9000/f") << true << "127.0.0.1:9000"
                                        << QByteArray("f");
    QTest::newRow("absolute without path") << QByteArray("http://other.example") << true << "other.example"
                                           << QByteArray("");
    QTest::newRow("relative to the host") << QByteArray("/x/y?z=1") << true << "cur.example:81"
                                          << QByteArray("x/y?z=1");
    QTest::newRow("relative to the folder") << QByteArray("g.bin") << true << "cur.example:81"
                                            << QByteArray("dir/g.bin");
    QTest::newRow("query only") << QByteArray("?page=2") << true << "cur.example:81"
                                << QByteArray("dir/file.bin?page=2");
    QTest::newRow("network path") << QByteArray("//cdn.example/f") << true << "cdn.example" << QByteArray("f");
    QTest::newRow("https refused") << QByteArray("https://secure.example/f") << false << "" << QByteArray();
    QTest::newRow("ftp refused") << QByteArray("ftp://x/f") << false << "" << QByteArray();
}

void tst_transfer_parsing::locations()
{
    QFETCH(QByteArray, location);
    QFETCH(bool, ok);
    HttpAddress current;
    QString error;
    QVERIFY(HttpAddress::FromUrl(QStringLiteral("http://cur.example:81/dir/file.bin?old=1"), &current, &error));
    HttpAddress next;
    QCOMPARE(HttpAddress::Resolve(current, location, &next, &error), ok);
    if (!ok) {
        QVERIFY(error.contains(QLatin1String("not http")));
        return;
    }
    QTEST(next.authority, "authority");
    QTEST(next.path, "path");
}

void tst_transfer_parsing::references_data()
{
    QTest::addColumn<QByteArray>("location");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("https");
    QTest::addColumn<QString>("authority");
    QTest::addColumn<int>("port");
    QTest::addColumn<QByteArray>("path");

    // From https://cur.example:8443/dir/sub/file.bin?old=1
    QTest::newRow("absolute http keeps www.") << QByteArray("http://www.files.example/d/f.zip") << true << false
                                              << "www.files.example" << 80 << QByteArray("d/f.zip");
    QTest::newRow("absolute https without path")
        << QByteArray("https://other.example") << true << true << "other.example" << 443 << QByteArray("");
    QTest::newRow("network path keeps the scheme")
        << QByteArray("//cdn.example/f") << true << true << "cdn.example" << 443 << QByteArray("f");
    QTest::newRow("relative to the host") << QByteArray("/x/y?z=1") << true << true << "cur.example:8443" << 8443
                                          << QByteArray("x/y?z=1");
    QTest::newRow("dot segments") << QByteArray("../g/./h.bin") << true << true << "cur.example:8443" << 8443
                                  << QByteArray("dir/g/h.bin");
    QTest::newRow("query only") << QByteArray("?page=2") << true << true << "cur.example:8443" << 8443
                                << QByteArray("dir/sub/file.bin?page=2");
    QTest::newRow("fragment is not sent") << QByteArray("g.bin#part") << true << true << "cur.example:8443"
                                          << 8443 << QByteArray("dir/sub/g.bin");
    QTest::newRow("ftp refused") << QByteArray("ftp://x/f") << false << false << "" << 0 << QByteArray();
    QTest::newRow("mailto refused") << QByteArray("mailto:a@b") << false << false << "" << 0 << QByteArray();
}

void tst_transfer_parsing::references()
{
    QFETCH(QByteArray, location);
    QFETCH(bool, ok);
    HttpAddress current;
    QString error;
    QVERIFY(HttpAddress::FromUrl(QStringLiteral("https://cur.example:8443/dir/sub/file.bin?old=1"), &current, &error));
    HttpAddress next;
    QCOMPARE(HttpAddress::ResolveReference(current, location, &next, &error), ok);
    if (!ok) {
        QVERIFY2(error.contains(QLatin1String("not http or https")), qPrintable(error));
        return;
    }
    QTEST(next.scheme == HttpAddress::Scheme::Https, "https");
    QTEST(next.authority, "authority");
    QTEST(int(next.port), "port");
    QTEST(next.path, "path");
}

void tst_transfer_parsing::heads_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<int>("status"); // HttpResponseHead::Status
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("framing");
    QTest::addColumn<qint64>("contentLength");

    using S = HttpResponseHead::Status;
    using F = HttpResponseHead::Framing;

    QTest::newRow("length followed by another field")
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Type: x\r\nContent-Length: 1000\r\nServer: s\r\n\r\n")
        << int(S::Complete) << 200 << int(F::Length) << qint64(1000);
    QTest::newRow("length as last field") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n")
                                          << int(S::Complete) << 200 << int(F::Length) << qint64(1000);
    QTest::newRow("length over 4 GiB") << QByteArray("HTTP/1.1 200 OK\r\ncontent-length:5368709127\r\n\r\n")
                                       << int(S::Complete) << 200 << int(F::Length) << qint64(5368709127LL);
    QTest::newRow("chunked wins over a length")
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 5\r\nTransfer-Encoding: gzip, Chunked\r\n\r\n")
        << int(S::Complete) << 200 << int(F::Chunked) << qint64(5);
    QTest::newRow("no length runs until close") << QByteArray("HTTP/1.0 200 OK\r\nContent-Type: x\r\n\r\n")
                                                << int(S::Complete) << 200 << int(F::UntilClose) << qint64(-1);
    QTest::newRow("largest 64-bit length")
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 9223372036854775807\r\n\r\n") << int(S::Complete) << 200
        << int(F::Length) << qint64(9223372036854775807LL);
    QTest::newRow("same length in two fields")
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 5\r\nX: y\r\ncontent-length: 5\r\n\r\n") << int(S::Complete)
        << 200 << int(F::Length) << qint64(5);
    QTest::newRow("same length twice in a list") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 5 ,5\r\n\r\n")
                                                 << int(S::Complete) << 200 << int(F::Length) << qint64(5);
    // A length the body cannot be measured by must not pass for "until close".
    const struct {
        const char *name;
        QByteArray fields;
    } badLengths[] = {
        {"length with letters", "Content-Length: 12abc\r\n"},
        {"length in exponent form", "Content-Length: 1e3\r\n"},
        {"negative length", "Content-Length: -6\r\n"},
        {"length with a plus sign", "Content-Length: +5\r\n"},
        {"empty length", "Content-Length:\r\n"},
        {"blank length", "Content-Length:  \r\n"},
        {"length beyond 64 bits", "Content-Length: 9223372036854775808\r\n"},
        {"two fields with different lengths", "Content-Length: 5\r\nContent-Length: 6\r\n"},
        {"list of different lengths", "Content-Length: 5, 6\r\n"},
        {"list with an empty element", "Content-Length: 5,,5\r\n"},
        {"bad length beside chunked", "Transfer-Encoding: chunked\r\nContent-Length: x\r\n"},
        {"continuation line adds to the length", "Content-Length: 5\r\n 6\r\n"},
    };
    for (const auto &row : badLengths)
        QTest::newRow(row.name) << "HTTP/1.1 200 OK\r\n" + row.fields + "\r\n" << int(S::Error) << 0 << 0 << qint64(-1);
    QTest::newRow("continuation line right after the status line")
        << QByteArray("HTTP/1.1 200 OK\r\n Content-Length: 5\r\n\r\n") << int(S::Error) << 0 << 0 << qint64(-1);
    QTest::newRow("tab-led line right after the status line")
        << QByteArray("HTTP/1.1 200 OK\r\n\tX: y\r\nContent-Length: 5\r\n\r\n") << int(S::Error) << 0 << 0
        << qint64(-1);
    QTest::newRow("continuation line joins the field above")
        << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip,\r\n\tchunked\r\n\r\n") << int(S::Complete) << 200
        << int(F::Chunked) << qint64(-1);
    QTest::newRow("a field name in a continuation line is not a field")
        << QByteArray("HTTP/1.1 200 OK\r\nX-Note: a\r\n Content-Length: 5\r\n\r\n") << int(S::Complete) << 200
        << int(F::UntilClose) << qint64(-1);
    QTest::newRow("bare line feeds") << QByteArray("HTTP/1.1 302 Found\nLocation: /x\n\n") << int(S::Complete)
                                     << 302 << int(F::UntilClose) << qint64(-1);
    QTest::newRow("status without reason") << QByteArray("HTTP/1.1 404\r\n\r\n") << int(S::Complete) << 404
                                           << int(F::UntilClose) << qint64(-1);
    QTest::newRow("not a status line") << QByteArray("<html>200 OK</html>\r\n\r\n") << int(S::Error) << 0 << 0
                                       << qint64(-1);
    QTest::newRow("field without colon") << QByteArray("HTTP/1.1 200 OK\r\nbroken\r\n\r\n") << int(S::Error)
                                         << 0 << 0 << qint64(-1);
    QTest::newRow("blank line not yet here") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n")
                                             << int(S::NeedMore) << 0 << 0 << qint64(-1);
}

void tst_transfer_parsing::heads()
{
    QFETCH(QByteArray, head);
    QFETCH(int, status);
    // The bytes after the head are body and must be left alone.
    const QByteArray bytes = head + "HTTP/1.1 200 OK\r\n\r\n";
    HttpResponseHead parser;
    qint64 consumed = -1;
    const bool needMore = status == int(HttpResponseHead::Status::NeedMore);
    const QByteArray &fed = needMore ? head : bytes;
    QCOMPARE(int(parser.Feed(fed.constData(), fed.size(), &consumed)), status);
    if (needMore)
        QCOMPARE(consumed, qint64(head.size()));
    if (status != int(HttpResponseHead::Status::Complete))
        return;
    QCOMPARE(consumed, qint64(head.size()));
    QTEST(parser.StatusCode(), "code");
    QTEST(int(parser.BodyFraming()), "framing");
    QTEST(parser.ContentLength(), "contentLength");
}

void tst_transfer_parsing::headArrivingInPieces_data()
{
    QTest::addColumn<int>("piece");
    for (int piece : {1, 2, 3, 7})
        QTest::addRow("pieces of %d bytes", piece) << piece;
}

void tst_transfer_parsing::headArrivingInPieces()
{
    QFETCH(int, piece);
    const QByteArray head("HTTP/1.1 200 OK\r\nContent-Type: a\r\nContent-Length: 12\r\n\r\n");
    const QByteArray bytes = head + "0123456789AB";
    HttpResponseHead parser;
    QByteArray body;
    bool complete = false;
    for (const QByteArray &part : Pieces(bytes, piece)) {
        if (complete) {
            body += part;
            continue;
        }
        qint64 consumed = 0;
        const auto status = parser.Feed(part.constData(), part.size(), &consumed);
        QVERIFY(status != HttpResponseHead::Status::Error);
        complete = status == HttpResponseHead::Status::Complete;
        if (complete)
            body += part.mid(consumed);
        else
            QCOMPARE(consumed, qint64(part.size()));
    }
    QVERIFY(complete);
    QCOMPARE(parser.ContentLength(), qint64(12));
    QCOMPARE(body, QByteArray("0123456789AB"));
}

void tst_transfer_parsing::headTooLarge()
{
    // A head may take up to 64 KiB; one byte more without the blank line is refused.
    const QByteArray start("HTTP/1.1 200 OK\r\nX: ");
    const QByteArray end("\r\n\r\n");
    QByteArray fits = start + QByteArray(HttpResponseHead::MaxSize - start.size() - end.size(), 'a') + end;
    HttpResponseHead head;
    qint64 consumed = 0;
    QCOMPARE(head.Feed(fits.constData(), fits.size(), &consumed), HttpResponseHead::Status::Complete);

    const QByteArray endless = start + QByteArray(40000, 'a');
    head.Reset();
    QCOMPARE(head.Feed(endless.constData(), endless.size(), &consumed), HttpResponseHead::Status::NeedMore);
    QCOMPARE(head.Feed(endless.constData(), endless.size(), &consumed), HttpResponseHead::Status::Error);
}

void tst_transfer_parsing::contentRanges_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("last");
    QTest::addColumn<qint64>("total");

    QTest::newRow("rest of a file") << QByteArray("bytes 500-999/1000") << true << qint64(500) << qint64(999)
                                    << qint64(1000);
    QTest::newRow("whole file") << QByteArray("bytes 0-0/1") << true << qint64(0) << qint64(0) << qint64(1);
    QTest::newRow("total unknown") << QByteArray("bytes 7-9/*") << true << qint64(7) << qint64(9) << qint64(-1);
    QTest::newRow("unit in capitals, beyond 4 GiB")
        << QByteArray("BYTES 5368709120-6442450943/6442450944") << true << qint64(5368709120LL)
        << qint64(6442450943LL) << qint64(6442450944LL);
    QTest::newRow("largest 64-bit total")
        << QByteArray("bytes 0-9223372036854775806/9223372036854775807") << true << qint64(0)
        << qint64(9223372036854775806LL) << qint64(9223372036854775807LL);
    const char *const refused[] = {
        "bytes */1000",           // the form of a 416 reply
        "bytes 500-/1000",        // no last byte
        "bytes -5-9/10",          // negative first byte
        "bytes 5--9/10",          // negative last byte
        "bytes 9-5/10",           // last before first
        "bytes 0-10/10",          // last at the total
        "bytes 0-9/+10",          // signed total
        "bytes 0-9/10/10",        // two totals
        "bytes 0-9",              // no total
        "bytes 0 - 9/10",         // blanks in the range
        "bytes  0-9/10",          // two blanks after the unit
        "bits 0-9/10",            // another unit
        "bytes=0-9/10",           // the request's spelling
        "0-9/10",                 // no unit
        "bytes 0x0-9/10",         // not decimal
        "bytes 0-9223372036854775808/*", // beyond 64 bits
        "",
    };
    for (const char *value : refused)
        QTest::addRow("refused: \"%s\"", value) << QByteArray(value) << false << qint64(0) << qint64(0) << qint64(0);
}

void tst_transfer_parsing::contentRanges()
{
    QFETCH(QByteArray, value);
    const std::optional<ContentRange> range = ContentRange::Parse(value);
    QTEST(range.has_value(), "ok");
    if (!range)
        return;
    QTEST(range->first, "first");
    QTEST(range->last, "last");
    QTEST(range->total, "total");
}

void tst_transfer_parsing::chunked_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("piece");
    QTest::addColumn<int>("status"); // of the last step
    QTest::addColumn<QByteArray>("entity");
    QTest::addColumn<qint64>("tail"); // input bytes left after Done (not looked at otherwise)

    using S = ChunkedDecoder::Status;
    const QByteArray framed("5\r\nHello\r\n1A;name=value\r\nabcdefghijklmnopqrstuvwxyz\r\n0\r\nTrailer: t\r\n\r\n");
    const QByteArray entity("Helloabcdefghijklmnopqrstuvwxyz");
    for (int piece : {0, 1, 4})
        QTest::addRow("extension and trailer, pieces of %d", piece) << framed << piece << int(S::Done) << entity
                                                                    << qint64(0);
    QTest::newRow("bytes after the end are left") << QByteArray("3\r\nabc\r\n0\r\n\r\nHTTP/1.1") << 0 << int(S::Done)
                                                  << QByteArray("abc") << qint64(8);
    QTest::newRow("upper-case hex, bare line feeds") << QByteArray("A\nabcdefghij\n0\n\n") << 0 << int(S::Done)
                                                     << QByteArray("abcdefghij") << qint64(0);
    QTest::newRow("truncated data") << QByteArray("10\r\nabc") << 0 << int(S::Continue) << QByteArray("abc")
                                    << qint64(0);
    QTest::newRow("size not hex") << QByteArray("zz\r\n") << 0 << int(S::Error) << QByteArray() << qint64(0);
    QTest::newRow("data longer than its size") << QByteArray("2\r\nabc\r\n") << 0 << int(S::Error)
                                               << QByteArray("ab") << qint64(0);
    QTest::newRow("size beyond 64 bits") << QByteArray("80000000000000000\r\n") << 0 << int(S::Error)
                                         << QByteArray() << qint64(0);
    QTest::newRow("endless size line") << QByteArray("1;") + QByteArray(5000, 'x') << 0 << int(S::Error)
                                       << QByteArray() << qint64(0);
}

void tst_transfer_parsing::chunked()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, piece);
    ChunkedDecoder decoder;
    QByteArray entity;
    ChunkedDecoder::Step step;
    qint64 tail = 0;
    const QList<QByteArray> pieces = Pieces(bytes, piece);
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const char *data = pieces.at(i).constData();
        qint64 size = pieces.at(i).size();
        do {
            step = decoder.Next(data, size);
            QVERIFY(step.dataOffset + step.dataSize <= step.consumed);
            entity.append(data + step.dataOffset, step.dataSize);
            data += step.consumed;
            size -= step.consumed;
        } while (size > 0 && step.status == ChunkedDecoder::Status::Continue);
        if (step.status != ChunkedDecoder::Status::Continue) {
            tail = size;
            for (qsizetype j = i + 1; j < pieces.size(); ++j)
                tail += pieces.at(j).size();
            break;
        }
    }
    QTEST(int(step.status), "status");
    QTEST(entity, "entity");
    if (step.status == ChunkedDecoder::Status::Done)
        QTEST(tail, "tail");
}

QTEST_GUILESS_MAIN(tst_transfer_parsing)
#include "tst_transfer_parsing.moc"
