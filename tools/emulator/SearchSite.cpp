#include "SearchSite.h"

#include "ServiceEmulator.h"

#include <QUrl>

#include <algorithm>
#include <memory>

namespace {

constexpr int kHitsPerPage = 10;
constexpr qint64 kMiB = 1024 * 1024;

QHash<QString, QString> ParseQuery(const QString &query)
{
    QHash<QString, QString> values;
    for (const QString &pair : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf(QLatin1Char('='));
        const QString key = equals < 0 ? pair : pair.left(equals);
        if (!values.contains(key))
            values.insert(key, equals < 0 ? QString() : QUrl::fromPercentEncoding(pair.mid(equals + 1).toUtf8()));
    }
    return values;
}

QString Html(const QString &text)
{
    return text.toHtmlEscaped();
}

// `text` with every stretch that one of `words` matches (letter case ignored) in bold.
QString Bolded(const QString &text, const QStringList &words)
{
    QList<bool> bold(text.size(), false);
    for (const QString &word : words) {
        for (qsizetype at = text.indexOf(word, 0, Qt::CaseInsensitive); at >= 0;
             at = text.indexOf(word, at + 1, Qt::CaseInsensitive))
            std::fill(bold.begin() + at, bold.begin() + at + word.size(), true);
    }
    QString html;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (bold[i] && (i == 0 || !bold[i - 1]))
            html += QLatin1String("<b>");
        html += Html(QString(text[i]));
        if (bold[i] && (i + 1 == text.size() || !bold[i + 1]))
            html += QLatin1String("</b>");
    }
    return html;
}

QString SizeText(qint64 bytes)
{
    if (bytes < kMiB)
        return QString::number((bytes + 1023) / 1024) + QLatin1String(" KB");
    if (bytes < 1024 * kMiB)
        return QString::number(double(bytes) / double(kMiB), 'f', 1) + QLatin1String(" MB");
    return QString::number(double(bytes) / double(1024 * kMiB), 'f', 2) + QLatin1String(" GB");
}

// Days back from the site's today that each date choice reaches; 0: no limit.
int DateWindow(const QString &choice)
{
    static const int days[] = {0, 1, 7, 31, 62, 124, 183, 365};
    bool ok = false;
    const int index = choice.toInt(&ok);
    return ok && index >= 0 && index < int(std::size(days)) ? days[index] : 0;
}

QByteArray Page(int status, const QByteArray &reason, const QString &html)
{
    return ServiceEmulator::HttpResponse(status, reason, "text/html; charset=utf-8", html.toUtf8());
}

QByteArray NotFound()
{
    return Page(404, "Not Found", QStringLiteral("<html><body><h1>404 Not Found</h1></body></html>"));
}

} // namespace

SearchSite::SearchSite(std::function<QString()> selfHost)
    : m_selfHost(std::move(selfHost))
{
}

void SearchSite::Register(ServiceEmulator &emulator)
{
    auto site = std::make_shared<SearchSite>([&emulator] { return emulator.Host(); });
    auto respond = [site](const QString &pathAndQuery) { return site->Respond(pathAndQuery); };
    emulator.AddRoute(QStringLiteral("/search.html"), respond);
    emulator.AddRoute(QStringLiteral("//search.html"), respond);
    emulator.AddRoute(QStringLiteral("/details/"), respond);
}

QByteArray SearchSite::Respond(const QString &pathAndQuery) const
{
    const qsizetype question = pathAndQuery.indexOf(QLatin1Char('?'));
    QString path = question < 0 ? pathAndQuery : pathAndQuery.left(question);
    while (path.startsWith(QLatin1String("//")))
        path.remove(0, 1);
    if (path == QLatin1String("/search.html"))
        return ResultPage(ParseQuery(question < 0 ? QString() : pathAndQuery.mid(question + 1)));
    if (path.startsWith(QLatin1String("/details/")) && path.endsWith(QLatin1String(".html"))) {
        bool ok = false;
        const int id = path.mid(9, path.size() - 9 - 5).toInt(&ok);
        if (ok)
            return DetailsPage(id);
    }
    return NotFound();
}

QList<const SearchEntry *> SearchSite::Select(const QHash<QString, QString> &query)
{
    const QStringList words = query.value(QStringLiteral("q")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString type = query.value(QStringLiteral("select"), QStringLiteral("All"));
    const QString hosting = query.value(QStringLiteral("hosting"), QStringLiteral("All"));
    const int window = DateWindow(query.value(QStringLiteral("date")));
    const qint64 from = qMax(0, query.value(QStringLiteral("sizefrom")).toInt()) * kMiB;
    const qint64 to = qMax(0, query.value(QStringLiteral("sizeto")).toInt()) * kMiB;

    QList<const SearchEntry *> hits;
    if (hosting != QLatin1String("All") && hosting != QLatin1String("1"))
        return hits; // the site's other hosting services keep nothing here
    for (const SearchEntry &entry : SearchCatalogue()) {
        const bool wordsMatch = std::all_of(words.begin(), words.end(), [&](const QString &word) {
            return entry.title.contains(word, Qt::CaseInsensitive);
        });
        if (!wordsMatch || (type.compare(QLatin1String("All"), Qt::CaseInsensitive) != 0
                            && type.compare(entry.ext, Qt::CaseInsensitive) != 0))
            continue;
        if ((window > 0 && entry.added.daysTo(SearchCatalogueToday()) > window) || entry.size < from
            || (to > 0 && entry.size > to))
            continue;
        hits.append(&entry);
    }

    const QString sort = query.value(QStringLiteral("sort"));
    auto key = [&sort](const SearchEntry *entry) -> qint64 {
        switch (sort.isEmpty() ? 0 : sort[0].toLatin1()) {
        case 's': return entry->size;
        case 'd': return entry->added.toJulianDay();
        case 'p': return entry->popularity;
        default: return 0;
        }
    };
    const bool descending = sort.size() == 2 && sort[1] == u'd';
    if (sort.size() == 2 && QStringLiteral("sdp").contains(sort[0]) && QStringLiteral("ad").contains(sort[1])) {
        std::stable_sort(hits.begin(), hits.end(), [&](const SearchEntry *a, const SearchEntry *b) {
            return descending ? key(a) > key(b) : key(a) < key(b);
        });
    }
    return hits;
}

QByteArray SearchSite::ResultPage(const QHash<QString, QString> &query) const
{
    const QString text = query.value(QStringLiteral("q"));
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QList<const SearchEntry *> hits = Select(query);
    const qsizetype pages = (hits.size() + kHitsPerPage - 1) / kHitsPerPage;
    const qsizetype page = qMax(1, query.value(QStringLiteral("page")).toInt());

    QString html = QStringLiteral("<html><head><title>RapidShare Search: %1 (%2)</title>\n"
                                  "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"></head>\n"
                                  "<body>\n<h1>RapidShare Search</h1>\n<p class=\"summary\">%2 files found</p>\n")
                       .arg(Html(text), QString::number(hits.size()));
    for (qsizetype i = (page - 1) * kHitsPerPage; i < qMin(hits.size(), page * kHitsPerPage); ++i) {
        const SearchEntry &entry = *hits[i];
        QString size = SizeText(entry.size);
        if (entry.parts > 0)
            size = QStringLiteral("Part %1 of %2&nbsp;&nbsp;").arg(entry.part).arg(entry.parts) + size;
        html += QStringLiteral("<div class=\"result\">\n<a href=\"%1\" class=\"resultsLink\">%2</a>\n"
                               "<div class=\"info\">ext: %3&nbsp;&nbsp;%4&nbsp;&nbsp;date: %5</div>\n")
                    .arg(DetailsLink(entry), Bolded(entry.title, words), entry.ext, size,
                         entry.added.toString(Qt::ISODate));
        if (!entry.source.isEmpty())
            html += QStringLiteral("<div class=\"source\">Source title: %1</div>\n").arg(Bolded(entry.source, words));
        html += QLatin1String("</div>\n");
    }
    html += QStringLiteral("<div class=\"pages\">Page %1 of %2</div>\n</body></html>\n").arg(page).arg(pages);
    return Page(200, "OK", html);
}

QByteArray SearchSite::DetailsPage(int id) const
{
    const QList<SearchEntry> &catalogue = SearchCatalogue();
    if (id < 1 || id > catalogue.size())
        return NotFound();
    const SearchEntry &entry = catalogue[id - 1];
    QStringList links;
    for (qsizetype i = 0; i < entry.fileIds.size(); ++i)
        links << QLatin1String("http://rapidshare.com/files/") + entry.fileIds[i] + QLatin1Char('/') + entry.fileNames[i];
    const QString html = QStringLiteral("<html><head><title>%1 - RapidShare Search</title></head>\n<body>\n"
                                        "<h1>%1</h1>\n<p>Type: %2, size: %3, added %4</p>\n"
                                        "<p>Direct links:</p>\n<pre>%5</pre>\n</body></html>\n")
                             .arg(Html(entry.title), entry.ext, SizeText(entry.size),
                                  entry.added.toString(Qt::ISODate), links.join(QLatin1String("\r\n")));
    return Page(200, "OK", html);
}

QString SearchSite::DetailsLink(const SearchEntry &entry) const
{
    return QStringLiteral("http://%1/details/%2.html").arg(m_selfHost()).arg(entry.id);
}
