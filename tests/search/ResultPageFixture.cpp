#include "ResultPageFixture.h"

namespace ResultPageFixture {

Page Build(const QString &title, const QList<Hit> &hits, const Markers &m)
{
    Page page;
    page.text = QLatin1String("<html><head><title>") + title + m.endTitle
                + QLatin1String("</head><body>\n<h2>Search results</h2>\n");
    page.countEnd = page.text.indexOf(m.endTitle) + m.endTitle.size();
    const QString nbsp2 = m.nbsp + m.nbsp;
    for (const Hit &hit : hits) {
        page.hitStarts.append(page.text.size());
        page.text += QLatin1String("<div class=\"hit\"><a ") + m.href + QLatin1String("=\"") + hit.link
                     + QLatin1String("\" class=\"") + m.row + QLatin1String("\">") + hit.title + m.endLink;
        page.linkEnds.append(page.text.size());
        page.text += QLatin1String("<br>\n<span class=\"info\">") + m.ext + QLatin1Char(' ') + hit.ext + nbsp2
                     + hit.size + nbsp2;
        if (!hit.partSize.isEmpty())
            page.text += hit.partSize + nbsp2;
        if (hit.date)
            page.text += m.date + QLatin1Char(' ') + *hit.date;
        page.dateEnds.append(page.text.size() + 1);
        page.text += QLatin1String("</span>\n");
        if (hit.source)
            page.text += QLatin1String("<div class=\"src\">") + m.source + QLatin1Char(' ') + *hit.source + m.endDiv;
        page.text += QLatin1String("\n</div>\n");
    }
    page.text += QLatin1String("</body></html>\n");
    return page;
}

QList<Hit> NumberedHits(int count)
{
    QList<Hit> hits;
    for (int i = 1; i <= count; ++i) {
        Hit hit;
        hit.title = QStringLiteral("File %1").arg(i);
        hit.link = QStringLiteral("http://search.test/details/%1.html").arg(i);
        hit.source = QStringLiteral("Source %1").arg(i);
        hits.append(hit);
    }
    return hits;
}

} // namespace ResultPageFixture
