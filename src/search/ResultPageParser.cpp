#include "search/ResultPageParser.h"

#include "search/TextScan.h"

#include <limits>

using namespace TextScan;

namespace {

const QLatin1String kRowMarker("resultsLink\""); // the hit's link, with the attribute's closing quote
const QLatin1String kNbsp("&nbsp");
const QLatin1String kDoubleNbsp("&nbsp;&nbsp;");
const QLatin1String kSourceTitle("Source title:");

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// The whole number at the start of `text`, read as the platform's numeric
// prefix: blanks skipped, an optional sign, digits and an optional decimal
// point, rounded to the nearest whole number with halves going to the even one.
// 0 when there is no number; nothing when it does not fit in 32 bits.
std::optional<qint32> ReadLeadingNumber(QStringView text)
{
    qsizetype i = 0;
    // The next character that is not a blank, or a null character at the end.
    auto peek = [&]() -> QChar {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        return i < text.size() ? text[i] : QChar();
    };
    auto digit = [](QChar c) { return c >= u'0' && c <= u'9' ? int(c.unicode() - u'0') : -1; };

    bool negative = false;
    if (const QChar sign = peek(); sign == u'-' || sign == u'+') {
        negative = sign == u'-';
        ++i;
    }
    constexpr quint64 limit = quint64(std::numeric_limits<qint32>::max()) + 1;
    quint64 whole = 0;
    for (int d = digit(peek()); d >= 0; ++i, d = digit(peek()))
        whole = qMin(whole * 10 + quint64(d), limit + 1); // capped: stays above the limit, never wraps
    if (peek() == u'.') {
        ++i;
        int firstDigit = -1;
        bool restNonZero = false;
        for (int d = digit(peek()); d >= 0; ++i, d = digit(peek())) {
            if (firstDigit < 0)
                firstDigit = d;
            else
                restNonZero = restNonZero || d != 0;
        }
        if (firstDigit > 5 || (firstDigit == 5 && (restNonZero || whole % 2 == 1)))
            ++whole;
    }
    if (whole > (negative ? limit : limit - 1))
        return std::nullopt;
    return negative ? qint32(-qint64(whole)) : qint32(whole);
}

qint16 PagesFor(qint32 total)
{
    if (total <= 0)
        return 0;
    const qint64 pages = (qint64(total) + 9) / 10;
    return qint16(qMin<qint64>(pages, SearchResultPage::MaxPageCount));
}

// Where the next hit is searched from: the last hit's "date:" marker. The
// search for that hit's source title has already scanned from `scannedFrom`
// up to `resumeAt` (-1: to the end) without meeting "resultsLink", so that
// stretch is not scanned again for the row marker.
struct RowCursor {
    qsizetype start = 0;
    qsizetype scannedFrom = -1;
    qsizetype resumeAt = -1;
};

// The first row marker at or after `cursor.start`; -1 when there is none.
qsizetype FindRow(QStringView page, const RowCursor &cursor)
{
    if (cursor.scannedFrom < 0)
        return Find(page, kRowMarker, cursor.start);
    // A marker starting before the scanned stretch ends at most 11 characters into it.
    const qsizetype before = Find(page.left(cursor.scannedFrom + kRowMarker.size() - 1), kRowMarker, cursor.start);
    if (before >= 0 || cursor.resumeAt < 0)
        return before;
    return Find(page, kRowMarker, cursor.resumeAt);
}

// Reads the hit at the next row marker into `item`. False when a marker is
// missing: the parse stops there, keeping the fields already read. On success
// the cursor moves on to the hit's "date:".
bool ReadHit(QStringView page, RowCursor &cursor, SearchResultItem &item)
{
    const qsizetype r = FindRow(page, cursor);
    if (r < 0)
        return false;
    const qsizetype e = Find(page, QLatin1String("</a>"), r);
    // The title follows the marker's quote and the closing bracket of the tag.
    const auto title = e < 0 ? std::nullopt : Cut(page, r + kRowMarker.size() + 1, e);
    if (!title)
        return false;
    item.Filled = true;
    item.FileName = Unbold(title->toString());

    const qsizetype h = FindBack(page, QLatin1String("href"), r);
    if (h < 0)
        return false;
    const qsizetype q = page.indexOf(u'"', h + 7);
    const auto link = q < 0 ? std::nullopt : Cut(page, h + 6, q); // after href="
    if (!link)
        return false;
    item.DetailsLink = link->toString();

    const qsizetype x = Find(page, QLatin1String("ext:"), q);
    if (x < 0)
        return false;
    qsizetype n = Find(page, kNbsp, x + 7);
    const auto ext = n < 0 ? std::nullopt : Cut(page, x + 4, n);
    if (!ext)
        return false;
    item.FileExt = Unbold(TrimBlanks(*ext));

    // The size sits between a double non-breaking space and the next one.
    auto readSize = [&]() -> std::optional<QString> {
        const qsizetype s = Find(page, kDoubleNbsp, n);
        if (s < 0)
            return std::nullopt;
        n = Find(page, kNbsp, s + 8);
        const auto size = n < 0 ? std::nullopt : Cut(page, s + kDoubleNbsp.size(), n);
        if (!size)
            return std::nullopt;
        return TrimBlanks(*size);
    };
    const auto size = readSize();
    if (!size)
        return false;
    item.FileSize = *size;
    if (QStringView(item.FileSize).left(4).compare(QLatin1String("part"), Qt::CaseInsensitive) == 0) {
        const auto partSize = readSize();
        if (!partSize)
            return false;
        item.FileSize += QLatin1String(" size:") + *partSize;
    }
    item.FileSize = Unbold(item.FileSize);

    const qsizetype d = Find(page, QLatin1String("date:"), n);
    if (d < 0)
        return false;
    const qsizetype l = page.indexOf(u'<', d + 5);
    const auto date = l < 0 ? std::nullopt : Cut(page, d + 5, l);
    if (!date)
        return false;
    item.DateAdded = TrimBlanks(*date);

    // A source title belongs to this hit when it comes before the next hit's
    // marker; the last hit of the page takes the one that follows it. One scan
    // finds whichever of the two comes first.
    const Either next = FindEither(page, QLatin1String("resultsLink"), kSourceTitle, l);
    item.FileDesc = QStringLiteral("Not Available");
    if (next.second) {
        const qsizetype st = next.position + kSourceTitle.size();
        const qsizetype te = Find(page, QLatin1String("</div>"), st);
        if (const auto desc = te < 0 ? std::nullopt : Cut(page, st, te))
            item.FileDesc = Unbold(TrimBlanks(*desc));
    }
    cursor = {d, l, next.position};
    return true;
}

} // namespace

SearchResultPage ParseResultPage(QStringView page)
{
    SearchResultPage result;
    result.TotalCount = QStringLiteral("0");
    result.Items.resize(SearchResultPage::SlotCount);

    const qsizetype t = Find(page, QLatin1String("</title>"), 0);
    const qsizetype o = t < 0 ? -1 : FindBack(page, QLatin1String("("), t);
    const qsizetype k = o < 0 ? -1 : page.indexOf(u')', o);
    const auto count = k < 0 ? std::nullopt : Cut(page, o + 1, k);
    const auto total = count ? ReadLeadingNumber(*count) : std::nullopt;
    if (!total)
        return result;
    result.TotalCount = QString::number(*total);
    result.PageCount = PagesFor(*total);

    RowCursor cursor;
    for (SearchResultItem &item : result.Items) {
        if (!ReadHit(page, cursor, item))
            break;
    }
    result.Found = result.Items.front().Filled;
    return result;
}
