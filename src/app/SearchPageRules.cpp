#include "app/SearchPageRules.h"

#include "util/TextRules.h"

#include <QCoreApplication>

namespace SearchPageRules {

QString SearchHint()
{
    return QCoreApplication::translate("SearchPageRules", "Type the search text");
}

bool IsSearchTextEmpty(const QString &text)
{
    return text.isEmpty() || text == SearchHint();
}

QString SummaryCaption(const QString &searchText, const QString &totalCount, int pageCount)
{
    const QString found = pageCount < 1 ? QStringLiteral("0") : totalCount;
    return QCoreApplication::translate("SearchPageRules", "Search for \"%1\" [%2 Files Found]").arg(searchText, found);
}

QString FailureCaption(const QString &searchText, const QString &reason)
{
    return QCoreApplication::translate("SearchPageRules", "Search for \"%1\" failed: %2").arg(searchText, reason);
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
