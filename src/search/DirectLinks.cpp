#include "search/DirectLinks.h"

#include "search/TextScan.h"

std::optional<QString> CutDirectLinks(QStringView page)
{
    using TextScan::Find;
    const qsizetype a = Find(page, QLatin1String("Direct links:"), 0);
    const qsizetype b = a < 0 ? -1 : Find(page, QLatin1String("<pre"), a + 1);
    const qsizetype g = b < 0 ? -1 : page.indexOf(u'>', b + 1);
    const qsizetype l = g < 0 ? -1 : page.indexOf(u'<', g + 1);
    if (l < 0)
        return std::nullopt;
    return page.mid(g + 1, l - g - 1).toString();
}
