#include "search/DirectLinks.h"

#include <QTest>

class tst_DirectLinks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cut_data();
    void cut();
};

void tst_DirectLinks::cut_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("block");

    const QString link = QStringLiteral("http://rapidshare.com/files/1/a.rar");
    QTest::newRow("one link") << "<p>Direct links:</p><pre>" + link + "</pre>" << true << link;
    QTest::newRow("content unchanged, blanks and line breaks kept")
        << "Direct links:<pre> a b\r\nc \n</pre>" << true << " a b\r\nc \n";
    QTest::newRow("pre tag with attributes") << "Direct links: <pre class=\"links\">" + link + "</pre>" << true << link;
    QTest::newRow("markers in capitals") << "DIRECT LINKS:<PRE>" + link + "</PRE>" << true << link;
    QTest::newRow("content ends at the next tag") << "Direct links:<pre>a<br>b</pre>" << true << "a";
    QTest::newRow("empty block") << "Direct links:<pre></pre>" << true << "";
    QTest::newRow("first pre after the marker") << "<pre>menu</pre>Direct links:<pre>x</pre><pre>y</pre>" << true
                                                << "x";
    QTest::newRow("no marker") << "<pre>" + link + "</pre>" << false << "";
    QTest::newRow("no pre after the marker") << "<pre>x</pre>Direct links: none" << false << "";
    QTest::newRow("pre without its >") << "Direct links:<pre" << false << "";
    QTest::newRow("no < after the content") << "Direct links:<pre>" + link << false << "";
    QTest::newRow("empty page") << "" << false << "";
}

void tst_DirectLinks::cut()
{
    QFETCH(QString, page);
    QFETCH(bool, found);
    QFETCH(QString, block);

    const std::optional<QString> result = CutDirectLinks(page);
    QCOMPARE(result.has_value(), found);
    if (found)
        QCOMPARE(*result, block);
}

QTEST_GUILESS_MAIN(tst_DirectLinks)
#include "tst_directlinks.moc"
