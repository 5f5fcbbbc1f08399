#include "transfer/ContentRange.h"

#include "transfer/HttpResponseHead.h"

std::optional<ContentRange> ContentRange::Parse(QByteArrayView value)
{
    constexpr QByteArrayView unit("bytes ");
    if (value.size() < unit.size() || value.first(unit.size()).compare(unit, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QByteArrayView range = value.sliced(unit.size());
    const qsizetype dash = range.indexOf('-');
    const qsizetype slash = range.indexOf('/');
    if (dash < 0 || slash < dash)
        return std::nullopt;

    ContentRange parsed;
    parsed.first = HttpResponseHead::ByteCount(range.first(dash));
    parsed.last = HttpResponseHead::ByteCount(range.sliced(dash + 1, slash - dash - 1));
    const QByteArrayView total = range.sliced(slash + 1);
    parsed.total = total == "*" ? -1 : HttpResponseHead::ByteCount(total);
    if (parsed.first < 0 || parsed.last < parsed.first || (total != "*" && parsed.total <= parsed.last))
        return std::nullopt;
    return parsed;
}
