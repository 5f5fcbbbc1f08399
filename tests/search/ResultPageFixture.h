#pragma once

#include <QList>
#include <QString>

#include <optional>

// Result pages in the search site's layout, built hit by hit for the parser tests.
namespace ResultPageFixture {

struct Hit {
    QString title = QStringLiteral("Some File");
    QString link = QStringLiteral("http://search.test/details/1.html");
    QString ext = QStringLiteral("rar");
    QString size = QStringLiteral("700 MB");
    QString partSize; // when set, `size` is the part text ("Part 1 of 3") and this the real size
    std::optional<QString> date = QStringLiteral("2008-05-17");
    std::optional<QString> source = QStringLiteral("Some Source");
};

// The marker texts as written into the page (tests vary their letter case).
struct Markers {
    QString endTitle = QStringLiteral("</title>");
    QString href = QStringLiteral("href");
    QString row = QStringLiteral("resultsLink");
    QString endLink = QStringLiteral("</a>");
    QString ext = QStringLiteral("ext:");
    QString nbsp = QStringLiteral("&nbsp;");
    QString date = QStringLiteral("date:");
    QString source = QStringLiteral("Source title:");
    QString endDiv = QStringLiteral("</div>");
};

struct Page {
    QString text;
    qsizetype countEnd = 0;      // shortest prefix from which the total can be read
    QList<qsizetype> hitStarts;  // where each hit's block begins
    QList<qsizetype> linkEnds;   // shortest prefix holding each hit's title and its "</a>"
    QList<qsizetype> dateEnds;   // shortest prefix holding each hit's date and the "<" after it
};

// A page whose title is `title` (the total in its last parentheses) listing `hits`.
Page Build(const QString &title, const QList<Hit> &hits, const Markers &markers = {});

// `count` plain hits numbered from 1, each with its own title and details link.
QList<Hit> NumberedHits(int count);

} // namespace ResultPageFixture
