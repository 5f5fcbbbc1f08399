#include "app/SearchPageRules.h"

#include "util/TextRules.h"

namespace SearchPageRules {

QString SearchHint()
{
    return QStringLiteral("Type the search text");
}

bool IsSearchTextEmpty(const QString &text)
{
    return text.isEmpty() || text == SearchHint();
}

QString SummaryCaption(const QString &searchText, const QString &totalCount, int pageCount)
{
    const QString found = pageCount < 1 ? QStringLiteral("0") : totalCount;
    return QLatin1String("Search for \"") + searchText + QLatin1String("\" [") + found
        + QLatin1String(" Files Found]");
}

QString FailureCaption(const QString &searchText, const QString &reason)
{
    return QLatin1String("Search for \"") + searchText + QLatin1String("\" failed: ") + reason;
}

PagingState Paging(int pageCount, int selectedIndex)
{
    if (pageCount < 1)
        return {};
    return {true, selectedIndex > 0, selectedIndex < pageCount - 1};
}

QString NormaliseDirectLinks(const QString &links)
{
    QString joined = links;
    joined.replace(QLatin1String("\r\n"), QLatin1String(" "));
    return TextRules::TrimBlanks(joined).replace(QLatin1Char(' '), QLatin1String("\r\n"));
}

} // namespace SearchPageRules
