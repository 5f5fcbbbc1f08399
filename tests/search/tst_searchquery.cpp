#include "search/SearchQuery.h"

#include <QTest>

class tst_SearchQuery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void query_data();
    void query();
};

void tst_SearchQuery::query_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("sortBy");
    QTest::addColumn<int>("extension");
    QTest::addColumn<int>("webSite");
    QTest::addColumn<int>("date");
    QTest::addColumn<int>("sizeFrom");
    QTest::addColumn<int>("sizeTo");
    QTest::addColumn<int>("page"); // -1: no page parameter
    QTest::addColumn<QString>("expected");

    QTest::newRow("every part, page last") << "linux" << 4 << 8 << 1 << 2 << 100 << 0 << 3
                                           << "q=linux&sort=dd&select=rar&hosting=1&date=2&sizefrom=100&page=3";
    QTest::newRow("defaults") << "abc" << 0 << 0 << 0 << 0 << 0 << 0 << -1
                              << "q=abc&select=All&hosting=All&date=0";
    QTest::newRow("text as stored: blanks, & and = unescaped") << " linux dvd&x=1 " << 0 << 0 << 0 << 0 << 0 << 0
                                                               << -1 << "q= linux dvd&x=1 &select=All&hosting=All&date=0";
    QTest::newRow("non-ASCII letters unescaped") << "Ärger über" << 0 << 0 << 0 << 0 << 0 << 0 << -1
                                                 << "q=Ärger über&select=All&hosting=All&date=0";
    QTest::newRow("size from only") << "a" << 0 << 0 << 0 << 0 << 10 << 0 << -1
                                    << "q=a&select=All&hosting=All&date=0&sizefrom=10";
    QTest::newRow("size to only") << "a" << 0 << 0 << 0 << 0 << 0 << 700 << -1
                                  << "q=a&select=All&hosting=All&date=0&sizeto=700";
    QTest::newRow("from above to sent unchanged") << "a" << 0 << 0 << 0 << 0 << 10 << 5 << -1
                                                  << "q=a&select=All&hosting=All&date=0&sizefrom=10&sizeto=5";
    QTest::newRow("negative from drops the size part") << "a" << 0 << 0 << 0 << 0 << -3 << 50 << -1
                                                       << "q=a&select=All&hosting=All&date=0";
    QTest::newRow("negative to drops the size part") << "a" << 0 << 0 << 0 << 0 << 30 << -1 << -1
                                                     << "q=a&select=All&hosting=All&date=0";
    QTest::newRow("sort 7 has no sort part") << "a" << 7 << 0 << 0 << 0 << 0 << 0 << -1
                                             << "q=a&select=All&hosting=All&date=0";
    QTest::newRow("sort -1 has no sort part") << "a" << -1 << 0 << 0 << 0 << 0 << 0 << -1
                                              << "q=a&select=All&hosting=All&date=0";
    QTest::newRow("sort 1 size ascending") << "a" << 1 << 0 << 0 << 0 << 0 << 0 << -1
                                           << "q=a&sort=sa&select=All&hosting=All&date=0";
    QTest::newRow("sort 6 popularity descending") << "a" << 6 << 0 << 0 << 0 << 0 << 0 << -1
                                                  << "q=a&sort=pd&select=All&hosting=All&date=0";
    QTest::newRow("extension 12 zip") << "a" << 0 << 12 << 0 << 0 << 0 << 0 << -1
                                      << "q=a&select=zip&hosting=All&date=0";
    QTest::newRow("extension 13 has no select part") << "a" << 0 << 13 << 0 << 0 << 0 << 0 << -1
                                                     << "q=a&hosting=All&date=0";
    QTest::newRow("extension -1 has no select part") << "a" << 0 << -1 << 0 << 0 << 0 << 0 << -1
                                                     << "q=a&hosting=All&date=0";
    QTest::newRow("hosting number as given") << "a" << 0 << 0 << -7 << 0 << 0 << 0 << -1
                                             << "q=a&select=All&hosting=-7&date=0";
    QTest::newRow("negative date in plain decimal") << "a" << 0 << 0 << 0 << -1 << 0 << 0 << -1
                                                    << "q=a&select=All&hosting=All&date=-1";
    QTest::newRow("page 1 is sent") << "a" << 0 << 0 << 1 << 7 << 1 << 2 << 1
                                    << "q=a&select=All&hosting=1&date=7&sizefrom=1&sizeto=2&page=1";
}

void tst_SearchQuery::query()
{
    QFETCH(QString, text);
    QFETCH(int, sortBy);
    QFETCH(int, extension);
    QFETCH(int, webSite);
    QFETCH(int, date);
    QFETCH(int, sizeFrom);
    QFETCH(int, sizeTo);
    QFETCH(int, page);
    QFETCH(QString, expected);

    SearchQuery query;
    query.SearchText = text;
    query.SortBy = sortBy;
    query.Extension = extension;
    query.WebSite = webSite;
    query.FilterByDate = date;
    query.FilterSizeFrom = qint16(sizeFrom);
    query.FilterSizeTo = qint16(sizeTo);
    QCOMPARE(BuildSearchQuery(query, page < 0 ? std::nullopt : std::optional<qint32>(page)), expected);
}

QTEST_GUILESS_MAIN(tst_SearchQuery)
#include "tst_searchquery.moc"
