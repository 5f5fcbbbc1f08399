#include "store/RecordTableModel.h"
#include "ui/ProgressRules.h"
#include "ui/StatusDelegate.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStandardItemModel>
#include <QTest>

#include <cstdlib>

namespace {

constexpr int kWidth = 100;
constexpr int kHeight = 24;
const QColor kSelectionBack(178, 208, 249);
const QColor kSelectionText(Qt::black);
const QColor kUntouched(1, 2, 3);

// The cell painted into an image that starts in a colour no painter uses.
QImage Paint(const QVariant &status, bool selected)
{
    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), status, RecordTableModel::RawValueRole);
    model.setData(model.index(0, 0), status, Qt::DisplayRole);
    StatusDelegate delegate;
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, kWidth, kHeight);
    option.state = QStyle::State_Enabled | QStyle::State_Active;
    if (selected)
        option.state |= QStyle::State_Selected;
    option.palette.setColor(QPalette::Highlight, kSelectionBack);
    option.palette.setColor(QPalette::HighlightedText, kSelectionText);
    option.font = QApplication::font();
    option.fontMetrics = QFontMetrics(option.font);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(kUntouched);
    QPainter painter(&image);
    delegate.paint(&painter, option, model.index(0, 0));
    return image;
}

// The width of the run of `colour` from the left of the top pixel row (no text there).
int RunFrom0(const QImage &image, const QColor &colour)
{
    int x = 0;
    while (x < image.width() && image.pixelColor(x, 0) == colour)
        ++x;
    return x;
}

int CountInMiddleRow(const QImage &image, const QColor &colour)
{
    int count = 0;
    for (int x = 0; x < image.width(); ++x)
        count += image.pixelColor(x, image.height() / 2) == colour;
    return count;
}

} // namespace

class tst_StatusDelegate final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void numericStatusIsABar_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("barWidth");
        QTest::newRow("0: empty bar") << QStringLiteral("0") << 0;
        QTest::newRow("42: bar over 42 of 100 pixels") << QStringLiteral("42") << 42;
        QTest::newRow("100: full bar") << QStringLiteral("100") << 100;
        QTest::newRow("45.5 draws 46") << QStringLiteral("45.5") << 46;
        QTest::newRow("44.5 draws 44") << QStringLiteral("44.5") << 44;
        QTest::newRow("-1 draws no bar") << QStringLiteral("-1") << 0;
        QTest::newRow("above 100 draws a full bar") << QStringLiteral("180") << 100;
    }
    void numericStatusIsABar()
    {
        QFETCH(QString, status);
        QFETCH(int, barWidth);
        const QPalette system = QGuiApplication::palette();
        const auto [bar, rest] = ProgressRules::ReadableBarColours(system.color(QPalette::Active, QPalette::Highlight),
                                                                   system.color(QPalette::Active, QPalette::HighlightedText));
        QVERIFY(ProgressRules::ContrastRatio(bar, rest) >= ProgressRules::MinimumContrast);

        const QImage image = Paint(status, false);
        QCOMPARE(RunFrom0(image, bar), barWidth);
        for (int x = barWidth; x < kWidth; ++x)
            QCOMPARE(image.pixelColor(x, 0), rest);
        for (int y = 0; y < kHeight; ++y)
            QVERIFY(image.pixelColor(kWidth - 1, y) != kUntouched);
        // The percentage is written across the middle, inverted over the bar: where
        // it lies on the bar it differs from the bar, elsewhere from the rest.
        int onBar = 0;
        int onRest = 0;
        for (int x = 0; x < kWidth; ++x) {
            const QColor pixel = image.pixelColor(x, kHeight / 2);
            onBar += x < barWidth && pixel != bar;
            onRest += x >= barWidth && pixel != rest;
        }
        QVERIFY(onBar + onRest > 0);
        if (std::abs(barWidth - kWidth / 2) <= 6) { // the centred text lies across the bar's end
            QVERIFY(onBar > 0);
            QVERIFY(onRest > 0);
        }
    }

    // The percentage is the one colour over the other, so one ratio covers both parts.
    void percentageReadsOverBothParts_data()
    {
        QTest::addColumn<QColor>("highlight");
        QTest::addColumn<QColor>("highlightText");
        QTest::newRow("Qt's own blue on white") << QColor(0x30, 0x8c, 0xc6) << QColor(Qt::white);
        QTest::newRow("a pale blue on white") << QColor(0x99, 0xc1, 0xf1) << QColor(Qt::white);
        QTest::newRow("dark theme: bright blue, near-white text") << QColor(0x3d, 0xae, 0xe9) << QColor(0xfc, 0xfc, 0xfc);
        QTest::newRow("yellow on dark text") << QColor(0x80, 0x80, 0x00) << QColor(0x20, 0x20, 0x20);
        QTest::newRow("the same colour twice") << QColor(0x77, 0x77, 0x77) << QColor(0x77, 0x77, 0x77);
        QTest::newRow("already readable: kept") << QColor(0x06, 0x2b, 0x5d) << QColor(Qt::white);
    }
    void percentageReadsOverBothParts()
    {
        QFETCH(QColor, highlight);
        QFETCH(QColor, highlightText);
        const ProgressRules::BarColours colours = ProgressRules::ReadableBarColours(highlight, highlightText);
        QVERIFY2(ProgressRules::ContrastRatio(colours.bar, colours.rest) >= ProgressRules::MinimumContrast,
                 qPrintable(colours.bar.name() + QLatin1Char('/') + colours.rest.name()));
        if (ProgressRules::ContrastRatio(highlight, highlightText) >= ProgressRules::MinimumContrast) {
            QCOMPARE(colours.bar, highlight);
            QCOMPARE(colours.rest, highlightText);
        }
        // The delegate paints exactly these colours.
        QPalette palette = QGuiApplication::palette();
        palette.setColor(QPalette::Active, QPalette::Highlight, highlight);
        palette.setColor(QPalette::Active, QPalette::HighlightedText, highlightText);
        const QPalette before = QGuiApplication::palette();
        QGuiApplication::setPalette(palette);
        const QImage image = Paint(QStringLiteral("50"), false);
        QGuiApplication::setPalette(before);
        QCOMPARE(image.pixelColor(0, 0), colours.bar);
        QCOMPARE(image.pixelColor(kWidth - 1, 0), colours.rest);
    }

    void selectedCellTakesTheSelectionColours()
    {
        const QImage image = Paint(QStringLiteral("30"), true);
        QCOMPARE(RunFrom0(image, kSelectionBack), kWidth); // no partial bar
        const QPalette system = QGuiApplication::palette();
        QCOMPARE(CountInMiddleRow(image, system.color(QPalette::Active, QPalette::Highlight)), 0);
        QVERIFY(CountInMiddleRow(image, kSelectionBack) > kWidth / 2);
        // The text is there, in the selection's text colour (antialiased edges aside).
        int dark = 0;
        for (int x = 0; x < kWidth; ++x)
            dark += image.pixelColor(x, kHeight / 2).lightness() < 80;
        QVERIFY(dark > 0);
    }

    void wordsAreLeftToTheGrid_data()
    {
        QTest::addColumn<QString>("status");
        QTest::newRow("queued") << QStringLiteral("Queued");
        QTest::newRow("complete") << QStringLiteral("Complete");
        QTest::newRow("error") << QStringLiteral("Error");
        QTest::newRow("waiting") << QStringLiteral("Wait 35 Seconds");
    }
    void wordsAreLeftToTheGrid()
    {
        QFETCH(QString, status);
        const QColor bar = QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
        const QImage image = Paint(status, false);
        // No bar: the base delegate leaves the background alone and writes the word.
        QCOMPARE(RunFrom0(image, kUntouched), kWidth);
        QCOMPARE(CountInMiddleRow(image, bar), 0);
        int written = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x)
                written += image.pixelColor(x, y) != kUntouched;
        }
        QVERIFY(written > 0);
    }
};

QTEST_MAIN(tst_StatusDelegate)
#include "tst_statusdelegate.moc"
