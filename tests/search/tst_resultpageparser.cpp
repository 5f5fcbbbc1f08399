#include "search/ResultPageParser.h"

#include "ResultPageFixture.h"

#include <QTest>

using namespace Qt::StringLiterals;

using ResultPageFixture::Hit;

Q_DECLARE_METATYPE(ResultPageFixture::Hit)
Q_DECLARE_METATYPE(ResultPageFixture::Markers)

namespace {

QString PageWith(const QString &title, const QList<Hit> &hits, const ResultPageFixture::Markers &markers = {})
{
    return ResultPageFixture::Build(title, hits, markers).text;
}

// The slots are filled from 0 without gaps; the rest are wholly empty.
void VerifySlots(const SearchResultPage &result, int filled)
{
    QCOMPARE(result.Items.size(), SearchResultPage::SlotCount);
    QCOMPARE(result.Found, filled > 0);
    for (int i = 0; i < SearchResultPage::SlotCount; ++i) {
        const SearchResultItem &item = result.Items[i];
        QCOMPARE(item.Filled, i < filled);
        if (i >= filled) {
            QVERIFY(item.FileName.isEmpty() && item.DetailsLink.isEmpty() && item.FileExt.isEmpty());
            QVERIFY(item.FileSize.isEmpty() && item.DateAdded.isEmpty() && item.FileDesc.isEmpty());
        }
    }
}

} // namespace

class tst_ResultPageParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void totalAndPages_data();
    void totalAndPages();
    void hitFields_data();
    void hitFields();
    void sizes_data();
    void sizes();
    void sourceTitle_data();
    void sourceTitle();
    void readsTenOfTwelve();
    void fifthHitWithoutDate();
    void stopKeepsWhatWasRead_data();
    void stopKeepsWhatWasRead();
};

void tst_ResultPageParser::totalAndPages_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("total");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("filled");

    const auto ten = ResultPageFixture::NumberedHits(10);
    const auto three = ResultPageFixture::NumberedHits(3);
    QTest::newRow("37 hits, ten listed") << PageWith("linux (37)", ten) << "37" << 4 << 10;
    QTest::newRow("no hits") << PageWith("nothing (0)", {}) << "0" << 0 << 0;
    QTest::newRow("10 hits make one page") << PageWith("(10)", ten) << "10" << 1 << 10;
    QTest::newRow("11 hits make two pages") << PageWith("(11)", ten) << "11" << 2 << 10;
    QTest::newRow("5000 hits cap the pages at 100") << PageWith("(5000)", ten) << "5000" << 100 << 10;
    QTest::newRow("400000 hits cap the pages at 100") << PageWith("(400000)", ten) << "400000" << 100 << 10;
    QTest::newRow("largest 32-bit count") << PageWith("(2147483647)", three) << "2147483647" << 100 << 3;
    QTest::newRow("last parenthesis before the title end") << PageWith("linux (dvd) (37)", three) << "37" << 4 << 3;
    QTest::newRow("thousands comma ends the number") << PageWith("(1,234)", three) << "1" << 1 << 3;
    QTest::newRow("blanks before the number skipped") << PageWith("(  42 files)", three) << "42" << 5 << 3;
    QTest::newRow("a half rounds down to even") << PageWith("(2.5)", three) << "2" << 1 << 3;
    QTest::newRow("a half rounds up to even") << PageWith("(3.5)", three) << "4" << 1 << 3;
    QTest::newRow("above a half rounds up") << PageWith("(2.51)", three) << "3" << 1 << 3;
    QTest::newRow("negative count gives no pages") << PageWith("(-15)", three) << "-15" << 0 << 3;
    QTest::newRow("text without a number reads as 0") << PageWith("(many)", three) << "0" << 0 << 3;
    // Without a readable total nothing is read, and no count of an earlier page lingers.
    QTest::newRow("count beyond 32 bits") << PageWith("(99999999999)", three) << "0" << 0 << 0;
    QTest::newRow("title without parentheses") << PageWith("linux", three) << "0" << 0 << 0;
    QTest::newRow("opening parenthesis only") << PageWith("linux (37", {}) << "0" << 0 << 0;
    ResultPageFixture::Markers noTitleEnd;
    noTitleEnd.endTitle = QStringLiteral("</titel>");
    QTest::newRow("no title end") << PageWith("linux (37)", three, noTitleEnd) << "0" << 0 << 0;
    QTest::newRow("empty page") << QString() << "0" << 0 << 0;
}

void tst_ResultPageParser::totalAndPages()
{
    QFETCH(QString, page);
    QFETCH(QString, total);
    QFETCH(int, pages);
    QFETCH(int, filled);

    const SearchResultPage result = ParseResultPage(page);
    QCOMPARE(result.TotalCount, total);
    QCOMPARE(result.PageCount, qint16(pages));
    VerifySlots(result, filled);
}

void tst_ResultPageParser::hitFields_data()
{
    QTest::addColumn<ResultPageFixture::Markers>("markers");
    QTest::addColumn<QString>("bold");
    QTest::addColumn<QString>("unbold");

    QTest::newRow("lower-case markers") << ResultPageFixture::Markers() << "<b>" << "</b>";
    ResultPageFixture::Markers capitals;
    for (QString *marker : {&capitals.endTitle, &capitals.href, &capitals.row, &capitals.endLink, &capitals.ext,
                            &capitals.nbsp, &capitals.date, &capitals.source, &capitals.endDiv})
        *marker = marker->toUpper();
    QTest::newRow("markers and bold tags in capitals") << capitals << "<B>" << "</B>";
    ResultPageFixture::Markers mixed;
    mixed.row = QStringLiteral("ResultsLINK");
    mixed.nbsp = QStringLiteral("&Nbsp;");
    mixed.date = QStringLiteral("Date:");
    mixed.source = QStringLiteral("source TITLE:");
    QTest::newRow("mixed-case markers and bold tags") << mixed << "<b>" << "</B>";
}

void tst_ResultPageParser::hitFields()
{
    QFETCH(ResultPageFixture::Markers, markers);
    QFETCH(QString, bold);
    QFETCH(QString, unbold);

    Hit first;
    first.title = bold + QStringLiteral("Linux") + unbold + QStringLiteral(" DVD ") + bold + QStringLiteral("x86")
                  + unbold;
    first.link = QStringLiteral("http://search.test/details/linux-dvd.html");
    first.ext = QStringLiteral("  ") + bold + QStringLiteral("iso") + unbold;
    first.size = QStringLiteral("4.3 GB");
    first.date = QStringLiteral(" 2008-02-14 ");
    first.source = bold + QStringLiteral("Distro") + unbold + QStringLiteral(" mirror ");
    Hit second;
    second.title = QStringLiteral("Holiday.Video");
    second.link = QStringLiteral("/details?id=2&amp;x=1");
    second.ext = QStringLiteral("avi");
    second.size = QStringLiteral("Part 1 of 2");
    second.partSize = QStringLiteral("350 MB");
    second.date = QStringLiteral("2007-12-31");
    second.source = std::nullopt;

    const SearchResultPage result =
        ParseResultPage(ResultPageFixture::Build(QStringLiteral("results (2)"), {first, second}, markers).text);
    QCOMPARE(result.TotalCount, QStringLiteral("2"));
    QCOMPARE(result.PageCount, qint16(1));
    VerifySlots(result, 2);

    const SearchResultItem &a = result.Items[0];
    QCOMPARE(a.FileName, QStringLiteral("Linux DVD x86"));
    QCOMPARE(a.DetailsLink, first.link);
    QCOMPARE(a.FileExt, QStringLiteral("iso"));
    QCOMPARE(a.FileSize, QStringLiteral("4.3 GB"));
    QCOMPARE(a.DateAdded, QStringLiteral("2008-02-14"));
    QCOMPARE(a.FileDesc, QStringLiteral("Distro mirror"));

    const SearchResultItem &b = result.Items[1];
    QCOMPARE(b.FileName, QStringLiteral("Holiday.Video"));
    QCOMPARE(b.DetailsLink, second.link); // as written, entities and all
    QCOMPARE(b.FileExt, QStringLiteral("avi"));
    QCOMPARE(b.FileSize, QStringLiteral("Part 1 of 2 size:350 MB"));
    QCOMPARE(b.DateAdded, QStringLiteral("2007-12-31"));
    QCOMPARE(b.FileDesc, QStringLiteral("Not Available"));
}

void tst_ResultPageParser::sizes_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("partSize");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain size") << "700 MB" << "" << "700 MB";
    QTest::newRow("part text joined with its size") << "Part 1 of 3" << "700 MB" << "Part 1 of 3 size:700 MB";
    QTest::newRow("part in capitals") << "PART 2 of 3" << "1.2 GB" << "PART 2 of 3 size:1.2 GB";
    QTest::newRow("blanks trimmed on both") << "  Part 3 of 3 " << " 50 MB  " << "Part 3 of 3 size:50 MB";
    QTest::newRow("bold removed after the join") << "Part 1 of 2" << "<b>1 GB</b>" << "Part 1 of 2 size:1 GB";
    QTest::newRow("tabs are not trimmed") << "\t700 MB" << "" << "\t700 MB";
}

void tst_ResultPageParser::sizes()
{
    QFETCH(QString, size);
    QFETCH(QString, partSize);
    QFETCH(QString, expected);

    Hit hit;
    hit.size = size;
    hit.partSize = partSize;
    const SearchResultPage result = ParseResultPage(PageWith(QStringLiteral("(1)"), {hit, Hit()}));
    VerifySlots(result, 2);
    QCOMPARE(result.Items[0].FileSize, expected);
    QCOMPARE(result.Items[0].DateAdded, QStringLiteral("2008-05-17"));
    QCOMPARE(result.Items[1].FileSize, QStringLiteral("700 MB"));
}

void tst_ResultPageParser::sourceTitle_data()
{
    QTest::addColumn<QList<Hit>>("hits");
    QTest::addColumn<QStringList>("descriptions");

    auto hit = [](std::optional<QString> source) {
        Hit h;
        h.source = std::move(source);
        return h;
    };
    const QString na = QStringLiteral("Not Available");
    QTest::newRow("each hit its own title") << QList<Hit>{hit(u"A"_s), hit(u"B"_s)} << QStringList{"A", "B"};
    QTest::newRow("missing title before the next hit") << QList<Hit>{hit({}), hit(u"B"_s)} << QStringList{na, "B"};
    QTest::newRow("last hit takes the title after it") << QList<Hit>{hit(u"A"_s)} << QStringList{"A"};
    QTest::newRow("last hit without a title") << QList<Hit>{hit(u"A"_s), hit({})} << QStringList{"A", na};
    QTest::newRow("trim removes blanks only") << QList<Hit>{hit(u"\t x  "_s)} << QStringList{"\t x"};
    QTest::newRow("bold tags removed") << QList<Hit>{hit(u"<b>A</b> <B>B</B>"_s)} << QStringList{"A B"};
}

void tst_ResultPageParser::sourceTitle()
{
    QFETCH(QList<Hit>, hits);
    QFETCH(QStringList, descriptions);

    const SearchResultPage result = ParseResultPage(PageWith(QStringLiteral("(9)"), hits));
    VerifySlots(result, int(hits.size()));
    for (int i = 0; i < descriptions.size(); ++i)
        QCOMPARE(result.Items[i].FileDesc, descriptions[i]);
}

void tst_ResultPageParser::readsTenOfTwelve()
{
    const SearchResultPage result =
        ParseResultPage(PageWith(QStringLiteral("(12)"), ResultPageFixture::NumberedHits(12)));
    VerifySlots(result, 10);
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(result.Items[i].FileName, QStringLiteral("File %1").arg(i + 1));
        QCOMPARE(result.Items[i].DetailsLink, QStringLiteral("http://search.test/details/%1.html").arg(i + 1));
        QCOMPARE(result.Items[i].FileDesc, QStringLiteral("Source %1").arg(i + 1));
    }
}

void tst_ResultPageParser::fifthHitWithoutDate()
{
    QList<Hit> hits = ResultPageFixture::NumberedHits(5);
    hits[4].date = std::nullopt;
    const SearchResultPage result = ParseResultPage(PageWith(QStringLiteral("(5)"), hits));
    VerifySlots(result, 5);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(result.Items[i].DateAdded, QStringLiteral("2008-05-17"));
        QCOMPARE(result.Items[i].FileDesc, QStringLiteral("Source %1").arg(i + 1));
    }
    const SearchResultItem &fifth = result.Items[4];
    QCOMPARE(fifth.FileName, QStringLiteral("File 5"));
    QCOMPARE(fifth.DetailsLink, QStringLiteral("http://search.test/details/5.html"));
    QCOMPARE(fifth.FileExt, QStringLiteral("rar"));
    QCOMPARE(fifth.FileSize, QStringLiteral("700 MB"));
    QVERIFY(fifth.DateAdded.isEmpty());
    QVERIFY(fifth.FileDesc.isEmpty());
}

void tst_ResultPageParser::stopKeepsWhatWasRead_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("filled");
    QTest::addColumn<QStringList>("lastSlot"); // name, link, type, size, date of the last filled slot

    const QString head = QStringLiteral("<title>t (3)</title>");
    QTest::newRow("title end closer than its offset")
        << head + QStringLiteral("<a href=\"x\" class=\"resultsLink\"</a> ext: rar&nbsp;&nbsp;1 MB&nbsp; date: d<")
        << 0 << QStringList();
    QTest::newRow("no href before the row marker")
        << head + QStringLiteral("<a class=\"resultsLink\">Name</a>") << 1 << QStringList{"Name", "", "", "", ""};
    QTest::newRow("no ext: after the link")
        << head + QStringLiteral("<a href=\"L\" class=\"resultsLink\">Name</a> 1 MB")
        << 1 << QStringList{"Name", "L", "", "", ""};
    QTest::newRow("no size after the type")
        << head + QStringLiteral("<a href=\"L\" class=\"resultsLink\">Name</a> ext: rar&nbsp; 1 MB")
        << 1 << QStringList{"Name", "L", "rar", "", ""};
    QTest::newRow("part without its size keeps the part text")
        << head + QStringLiteral("<a href=\"L\" class=\"resultsLink\">N</a> ext: rar&nbsp;&nbsp;Part 1 of 2&nbsp;")
        << 1 << QStringList{"N", "L", "rar", "Part 1 of 2", ""};
    QTest::newRow("date without a tag after it")
        << head + QStringLiteral("<a href=\"L\" class=\"resultsLink\">N</a> ext: rar&nbsp;&nbsp;1 MB&nbsp; date: 2008")
        << 1 << QStringList{"N", "L", "rar", "1 MB", ""};
}

void tst_ResultPageParser::stopKeepsWhatWasRead()
{
    QFETCH(QString, page);
    QFETCH(int, filled);
    QFETCH(QStringList, lastSlot);

    const SearchResultPage result = ParseResultPage(page);
    QCOMPARE(result.TotalCount, QStringLiteral("3"));
    VerifySlots(result, filled);
    if (filled == 0)
        return;
    const SearchResultItem &last = result.Items[filled - 1];
    QCOMPARE(QStringList({last.FileName, last.DetailsLink, last.FileExt, last.FileSize, last.DateAdded}), lastSlot);
    QVERIFY(last.FileDesc.isEmpty());
}

QTEST_GUILESS_MAIN(tst_ResultPageParser)
#include "tst_resultpageparser.moc"
