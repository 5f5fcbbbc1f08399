#include "search/SearchQuery.h"

#include <array>

namespace {

QString SortPart(qint32 sortBy)
{
    static const std::array<const char *, 7> codes = {nullptr, "sa", "sd", "da", "dd", "pa", "pd"};
    if (sortBy < 1 || sortBy >= qint32(codes.size()))
        return {};
    return QLatin1String("&sort=") + QLatin1String(codes[sortBy]);
}

QString SelectPart(qint32 extension)
{
    static const std::array<const char *, 13> types = {"All", "3gp", "avi", "mkv", "mp3", "mp4", "mpeg",
                                                       "mpg", "rar", "rmvb", "wma", "wmv", "zip"};
    if (extension < 0 || extension >= qint32(types.size()))
        return {};
    return QLatin1String("&select=") + QLatin1String(types[extension]);
}

QString HostingPart(qint32 webSite)
{
    return QLatin1String("&hosting=") + (webSite == 0 ? QStringLiteral("All") : QString::number(webSite));
}

QString SizePart(qint16 from, qint16 to)
{
    if (from < 0 || to < 0)
        return {};
    QString part;
    if (from > 0)
        part += QLatin1String("&sizefrom=") + QString::number(from);
    if (to > 0)
        part += QLatin1String("&sizeto=") + QString::number(to);
    return part;
}

} // namespace

QString BuildSearchQuery(const SearchQuery &query, std::optional<qint32> page)
{
    QString text = QLatin1String("q=") + query.SearchText + SortPart(query.SortBy) + SelectPart(query.Extension)
                   + HostingPart(query.WebSite) + QLatin1String("&date=") + QString::number(query.FilterByDate)
                   + SizePart(query.FilterSizeFrom, query.FilterSizeTo);
    if (page)
        text += QLatin1String("&page=") + QString::number(*page);
    return text;
}
