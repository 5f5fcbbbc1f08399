#include "search/TextScan.h"

namespace TextScan {

namespace {

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// `c` equals the marker character `m`, ASCII letters compared without case.
// Setting bit 0x20 maps 'A'..'Z' onto 'a'..'z' and no other UTF-16 unit onto them.
bool SameChar(char16_t c, char m)
{
    return IsAsciiLetter(m) ? char16_t(c | 0x20) == char16_t(m | 0x20) : c == char16_t(uchar(m));
}

bool MatchesAt(const char16_t *at, QLatin1String marker)
{
    for (qsizetype k = 0; k < marker.size(); ++k) {
        if (!SameChar(at[k], marker[k].toLatin1()))
            return false;
    }
    return true;
}

} // namespace

qsizetype Find(QStringView text, QLatin1String marker, qsizetype from)
{
    const qsizetype length = marker.size();
    if (from < 0)
        from = 0;
    if (length == 0 || length > text.size() || from > text.size() - length)
        return -1;
    const char16_t *data = text.utf16();
    const qsizetype last = text.size() - length;
    const char first = marker[0].toLatin1();
    if (!IsAsciiLetter(first)) {
        // A punctuation lead ("<", "&", "(") is found by Qt's vectorised search.
        for (qsizetype i = text.indexOf(QChar(uchar(first)), from); i >= 0 && i <= last;
             i = text.indexOf(QChar(uchar(first)), i + 1)) {
            if (MatchesAt(data + i, marker))
                return i;
        }
        return -1;
    }
    const char16_t folded = char16_t(first | 0x20);
    for (qsizetype i = from; i <= last; ++i) {
        if (char16_t(data[i] | 0x20) == folded && MatchesAt(data + i, marker))
            return i;
    }
    return -1;
}

Either FindEither(QStringView text, QLatin1String first, QLatin1String second, qsizetype from)
{
    if (from < 0)
        from = 0;
    const char16_t *data = text.utf16();
    const qsizetype size = text.size();
    // Setting bit 0x20 is a cheap first test for either lead; MatchesAt decides.
    const char16_t leadFirst = char16_t(first[0].toLatin1() | 0x20);
    const char16_t leadSecond = char16_t(second[0].toLatin1() | 0x20);
    for (qsizetype i = from; i < size; ++i) {
        const char16_t folded = char16_t(data[i] | 0x20);
        if (folded == leadFirst && first.size() <= size - i && MatchesAt(data + i, first))
            return {i, false};
        if (folded == leadSecond && second.size() <= size - i && MatchesAt(data + i, second))
            return {i, true};
    }
    return {};
}

qsizetype FindBack(QStringView text, QLatin1String marker, qsizetype end)
{
    const qsizetype length = marker.size();
    if (end > text.size())
        end = text.size();
    if (length == 0 || end < length)
        return -1;
    const char16_t *data = text.utf16();
    for (qsizetype i = end - length; i >= 0; --i) {
        if (MatchesAt(data + i, marker))
            return i;
    }
    return -1;
}

std::optional<QStringView> Cut(QStringView text, qsizetype from, qsizetype end)
{
    if (from < 0 || end < from || from > text.size())
        return std::nullopt;
    return text.mid(from, end - from);
}

QString TrimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin).toString();
}

QString Unbold(QString text)
{
    text.remove(QLatin1String("<b>"), Qt::CaseInsensitive);
    text.remove(QLatin1String("</b>"), Qt::CaseInsensitive);
    return text;
}

} // namespace TextScan
