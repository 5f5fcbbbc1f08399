#include "ui/ProgressRules.h"
#include "app/SearchPageRules.h"
#include "ui/SizeBoxValidator.h"
#include "ui/Twips.h"

#include <QFont>
#include <QTest>

using SearchPageRules::PagingState;
Q_DECLARE_METATYPE(SearchPageRules::PagingState)

class tst_UiRules final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void statusPercent_data()
    {
        QTest::addColumn<QVariant>("status");
        QTest::addColumn<int>("percent"); // -1: a word, drawn as text
        QTest::newRow("nothing received") << QVariant(QStringLiteral("0")) << 0;
        QTest::newRow("part received") << QVariant(QStringLiteral("42")) << 42;
        QTest::newRow("all received") << QVariant(QStringLiteral("100")) << 100;
        QTest::newRow("half rounds up to even") << QVariant(QStringLiteral("45.5")) << 46;
        QTest::newRow("half rounds down to even") << QVariant(QStringLiteral("44.5")) << 44;
        QTest::newRow("fraction rounds to nearest") << QVariant(QStringLiteral("37.51")) << 38;
        QTest::newRow("negative held at 0") << QVariant(QStringLiteral("-1")) << 0;
        QTest::newRow("above 100 held at 100") << QVariant(QStringLiteral("150")) << 100;
        QTest::newRow("huge does not overflow") << QVariant(QStringLiteral("1e300")) << 100;
        QTest::newRow("hugely negative does not overflow") << QVariant(QStringLiteral("-1e300")) << 0;
        QTest::newRow("number value") << QVariant(42.6) << 43;
        QTest::newRow("queued is a word") << QVariant(QStringLiteral("Queued")) << -1;
        QTest::newRow("complete is a word") << QVariant(QStringLiteral("Complete")) << -1;
        QTest::newRow("waiting text is a word") << QVariant(QStringLiteral("Wait 35 Seconds")) << -1;
        QTest::newRow("empty is no number") << QVariant(QString()) << -1;
        QTest::newRow("null is no number") << QVariant() << -1;
        QTest::newRow("not a number is no number") << QVariant(QStringLiteral("nan")) << -1;
    }
    void statusPercent()
    {
        QFETCH(QVariant, status);
        QFETCH(int, percent);
        QCOMPARE(ProgressRules::Percent(status).value_or(-1), percent);
    }

    void barWidth()
    {
        QCOMPARE(ProgressRules::BarWidth(0, 100), 0);
        QCOMPARE(ProgressRules::BarWidth(42, 100), 42);
        QCOMPARE(ProgressRules::BarWidth(100, 100), 100);
        QCOMPARE(ProgressRules::BarWidth(46, 99), 46); // 45.54 to the nearest pixel
        QCOMPARE(ProgressRules::BarWidth(50, 75), 38); // 37.5 rounds up
    }

    void twips_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<qreal>("dpi");
        QTest::addColumn<int>("pixels");
        QTest::newRow("15 twips make a pixel at 96 dpi") << 15 << qreal(96) << 1;
        QTest::newRow("minimum width at 96 dpi") << 8640 << qreal(96) << 576;
        QTest::newRow("minimum height at 96 dpi") << 5664 << qreal(96) << 378;
        QTest::newRow("twice the dpi, twice the pixels") << 8640 << qreal(192) << 1152;
        QTest::newRow("menu offset at 96 dpi") << 800 << qreal(96) << 53;
        QTest::newRow("toolbar at 120 dpi") << 1050 << qreal(120) << 88;
    }
    void twips()
    {
        QFETCH(int, twips);
        QFETCH(qreal, dpi);
        QFETCH(int, pixels);
        QCOMPARE(Twips::ToPixels(twips, dpi), pixels);
    }

    // The layout was made for 8-point text and keeps its proportions to the text.
    void layoutDpi_data()
    {
        QTest::addColumn<qreal>("points");
        QTest::addColumn<qreal>("dpi");
        QTest::newRow("8 points: the screen's dpi") << qreal(8) << qreal(96);
        QTest::newRow("12 points: half as large again") << qreal(12) << qreal(144);
        QTest::newRow("6 points: smaller") << qreal(6) << qreal(72);
        QTest::newRow("unknown size: the screen's dpi") << qreal(-1) << qreal(96);
    }
    void layoutDpi()
    {
        QFETCH(qreal, points);
        QTEST(Twips::LayoutDpi(96, points), "dpi");
    }

    // Headings grow with the text the same way, whichever unit the desktop font has.
    void layoutFont_data()
    {
        QTest::addColumn<QFont>("font");
        QTest::addColumn<qreal>("points");
        QTest::addColumn<qreal>("pointSize"); // -1: none
        QTest::addColumn<int>("pixelSize"); // -1: none
        QFont pointSized;
        pointSized.setPointSizeF(10);
        QFont pixelSized;
        pixelSized.setPixelSize(13);
        QTest::newRow("10 points as 12 of 8: 15 points") << pointSized << qreal(12) << qreal(15) << -1;
        QTest::newRow("13 pixels as 14 of 8: 23 pixels") << pixelSized << qreal(14) << qreal(-1) << 23;
    }
    void layoutFont()
    {
        QFETCH(QFont, font);
        QFETCH(qreal, points);
        const QFont grown = Twips::LayoutFont(font, points);
        QTEST(grown.pointSizeF(), "pointSize");
        QTEST(grown.pixelSize(), "pixelSize");
    }

    void searchText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("empty");
        QTest::newRow("nothing typed") << QString() << true;
        QTest::newRow("the hint") << QStringLiteral("Type the search text") << true;
        QTest::newRow("blanks are searched for") << QStringLiteral("   ") << false;
        QTest::newRow("hint with a blank is text") << QStringLiteral("Type the search text ") << false;
        QTest::newRow("a word") << QStringLiteral("ubuntu") << false;
    }
    void searchText()
    {
        QFETCH(QString, text);
        QFETCH(bool, empty);
        QCOMPARE(SearchPageRules::IsSearchTextEmpty(text), empty);
    }

    void summaryCaption()
    {
        QCOMPARE(SearchPageRules::SummaryCaption(QStringLiteral("x"), QStringLiteral("37"), 4),
                 QStringLiteral("Search for \"x\" [37 Files Found]"));
        QCOMPARE(SearchPageRules::SummaryCaption(QStringLiteral("two words"), QStringLiteral("7"), 1),
                 QStringLiteral("Search for \"two words\" [7 Files Found]"));
        // Without a page the total is not shown, whatever it says.
        QCOMPARE(SearchPageRules::SummaryCaption(QStringLiteral("x"), QStringLiteral("12"), 0),
                 QStringLiteral("Search for \"x\" [0 Files Found]"));
    }

    void paging_data()
    {
        QTest::addColumn<int>("pageCount");
        QTest::addColumn<int>("selected");
        QTest::addColumn<PagingState>("state");
        QTest::newRow("no pages: nothing to choose") << 0 << 0 << PagingState{};
        QTest::newRow("negative page count") << -1 << 0 << PagingState{};
        QTest::newRow("one page: no stepping") << 1 << 0 << PagingState{true, false, false};
        QTest::newRow("first of four: next only") << 4 << 0 << PagingState{true, false, true};
        QTest::newRow("middle: both ways") << 4 << 2 << PagingState{true, true, true};
        QTest::newRow("last of four: previous only") << 4 << 3 << PagingState{true, true, false};
    }
    void paging()
    {
        QFETCH(int, pageCount);
        QFETCH(int, selected);
        QFETCH(PagingState, state);
        QCOMPARE(SearchPageRules::Paging(pageCount, selected), state);
    }

    void directLinks_data()
    {
        QTest::addColumn<QString>("collected");
        QTest::addColumn<QString>("normalised");
        QTest::newRow("blocks joined by leading pairs") << QStringLiteral("\r\nA\r\nB") << QStringLiteral("A\r\nB");
        QTest::newRow("links in a block split at blanks") << QStringLiteral("\r\nA B") << QStringLiteral("A\r\nB");
        QTest::newRow("blanks at the ends go") << QStringLiteral("  A  \r\n") << QStringLiteral("A");
        QTest::newRow("every blank becomes a pair") << QStringLiteral("A  B") << QStringLiteral("A\r\n\r\nB");
        QTest::newRow("a lone line feed stays") << QStringLiteral("A\nB") << QStringLiteral("A\nB");
        QTest::newRow("tabs are not blanks") << QStringLiteral("\tA") << QStringLiteral("\tA");
        QTest::newRow("nothing collected") << QString() << QString();
    }
    void directLinks()
    {
        QFETCH(QString, collected);
        QFETCH(QString, normalised);
        QCOMPARE(SearchPageRules::NormaliseDirectLinks(collected), normalised);
    }

    void sizeBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("empty box") << QString() << true;
        QTest::newRow("digits") << QStringLiteral("700") << true;
        QTest::newRow("largest size") << QStringLiteral("32767") << true;
        QTest::newRow("leading zeros") << QStringLiteral("000123") << true;
        QTest::newRow("one more than the largest") << QStringLiteral("32768") << false;
        QTest::newRow("far too large") << QStringLiteral("99999999999") << false;
        QTest::newRow("letter") << QStringLiteral("12a") << false;
        QTest::newRow("minus sign") << QStringLiteral("-1") << false;
        QTest::newRow("plus sign") << QStringLiteral("+1") << false;
        QTest::newRow("blank") << QStringLiteral(" 1") << false;
        QTest::newRow("decimal point") << QStringLiteral("1.5") << false;
        QTest::newRow("other digits") << QString::fromUtf8("\u0661\u0662") << false;
    }
    void sizeBox()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        SizeBoxValidator validator;
        int position = int(text.size());
        QCOMPARE(validator.validate(text, position) == QValidator::Acceptable, accepted);
    }
};

QTEST_GUILESS_MAIN(tst_UiRules)
#include "tst_uirules.moc"
