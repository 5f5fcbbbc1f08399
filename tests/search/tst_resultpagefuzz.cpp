#include "search/ResultPageParser.h"

#include "ResultPageFixture.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

// Feeds the parser damaged pages: every prefix of a page, pages cut into pieces
// and shuffled, and pages that lose one marker from some hit on. The parser
// must never read a field past the end of what it was given, nor fill a slot
// once a marker it needs is missing.
class tst_ResultPageFuzz : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyPrefix_data();
    void everyPrefix();
    void markerRemovedFromOneHitOn_data();
    void markerRemovedFromOneHitOn();
    void shuffledPieces();
};

namespace {

using ResultPageFixture::Hit;

QString RandomCase(QRandomGenerator &random, const QString &text)
{
    QString mixed = text;
    for (QChar &c : mixed) {
        if (random.bounded(2))
            c = c.toUpper();
    }
    return mixed;
}

QString RandomWords(QRandomGenerator &random, int count)
{
    static const QStringList words = {"linux", "holiday", "<b>movie</b>", "Song", "x86", "DVD", "<B>HD</B>",
                                      "ünïcödé", "a&amp;b", "(2008)", "part", "  "};
    QStringList picked;
    for (int i = 0; i < count; ++i)
        picked << words[random.bounded(int(words.size()))];
    return picked.join(QLatin1Char(' '));
}

// A page of `hitCount` hits with varied fields, every hit with a date and a
// source title, and every marker in a random letter case.
ResultPageFixture::Page RandomPage(quint32 seed, int hitCount)
{
    QRandomGenerator random(seed);
    ResultPageFixture::Markers markers;
    for (QString *marker : {&markers.endTitle, &markers.href, &markers.row, &markers.endLink, &markers.ext,
                            &markers.nbsp, &markers.date, &markers.source, &markers.endDiv})
        *marker = RandomCase(random, *marker);
    QList<Hit> hits;
    for (int i = 0; i < hitCount; ++i) {
        Hit hit;
        hit.title = RandomWords(random, 1 + random.bounded(4));
        hit.link = QStringLiteral("http://search.test/details/%1.html").arg(random.bounded(100000));
        hit.ext = QStringList{"rar", "avi", "zip", "mp3"}[random.bounded(4)];
        if (random.bounded(3) == 0) {
            hit.size = QStringLiteral("Part %1 of 3").arg(1 + random.bounded(3));
            hit.partSize = QStringLiteral("%1 MB").arg(random.bounded(1000));
        } else {
            hit.size = QStringLiteral("%1 MB").arg(random.bounded(5000));
        }
        hit.date = QStringLiteral("2008-%1-%2").arg(1 + random.bounded(12)).arg(1 + random.bounded(28));
        hit.source = RandomWords(random, 1 + random.bounded(3));
        hits.append(hit);
    }
    return ResultPageFixture::Build(QStringLiteral("results (%1)").arg(seed % 1000), hits, markers);
}

// The invariants that hold for any text at all.
void VerifyShape(const QString &page, const SearchResultPage &result)
{
    QCOMPARE(result.Items.size(), SearchResultPage::SlotCount);
    QVERIFY(result.PageCount >= 0 && result.PageCount <= SearchResultPage::MaxPageCount);
    bool ok = false;
    result.TotalCount.toInt(&ok);
    QVERIFY(ok);
    const qsizetype markers = page.count(QStringLiteral("resultsLink\""), Qt::CaseInsensitive);
    int filled = 0;
    while (filled < SearchResultPage::SlotCount && result.Items[filled].Filled)
        ++filled;
    for (int i = filled; i < SearchResultPage::SlotCount; ++i)
        QVERIFY2(!result.Items[i].Filled, "a gap between filled slots");
    // A hit without its own href takes an earlier one, and fields read from
    // before its marker can lead the scan back to it; so slots are bounded by
    // the markers only in that none are filled without one.
    if (markers == 0)
        QCOMPARE(filled, 0);
    QCOMPARE(result.Found, filled > 0);
    for (int i = 0; i < filled; ++i)
        QVERIFY(page.contains(result.Items[i].DetailsLink));
    if (!page.contains(QStringLiteral("</title>"), Qt::CaseInsensitive)) {
        QCOMPARE(filled, 0);
        QCOMPARE(result.TotalCount, QStringLiteral("0"));
    }
}

// `part` was read from a damaged page: each field is what the whole page gives,
// or not read at all (a part size may lack its real size; a source title that
// was cut off reads "Not Available").
void VerifyReadOrEmpty(const SearchResultItem &part, const SearchResultItem &whole)
{
    for (const auto &[got, want] : {std::pair(part.FileName, whole.FileName),
                                    std::pair(part.DetailsLink, whole.DetailsLink),
                                    std::pair(part.FileExt, whole.FileExt), std::pair(part.DateAdded, whole.DateAdded)})
        QVERIFY2(got.isEmpty() || got == want, qPrintable(got + QLatin1String(" vs ") + want));
    QVERIFY2(whole.FileSize.startsWith(part.FileSize), qPrintable(part.FileSize));
    QVERIFY2(part.FileDesc.isEmpty() || part.FileDesc == whole.FileDesc || part.FileDesc == QLatin1String("Not Available"),
             qPrintable(part.FileDesc));
}

} // namespace

void tst_ResultPageFuzz::everyPrefix_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("hits");
    for (quint32 seed : {1u, 2u, 3u})
        QTest::addRow("seed %u, 12 hits", seed) << seed << 12;
    QTest::addRow("seed 4, 3 hits") << 4u << 3;
}

void tst_ResultPageFuzz::everyPrefix()
{
    QFETCH(quint32, seed);
    QFETCH(int, hits);

    const ResultPageFixture::Page page = RandomPage(seed, hits);
    const SearchResultPage whole = ParseResultPage(page.text);
    QCOMPARE(whole.Items[qMin(hits, 10) - 1].Filled, true);

    for (qsizetype length = 0; length <= page.text.size(); ++length) {
        const QStringView prefix = QStringView(page.text).left(length);
        const SearchResultPage part = ParseResultPage(prefix);
        VerifyShape(prefix.toString(), part);
        if (length < page.countEnd) {
            QCOMPARE(part.TotalCount, QStringLiteral("0"));
            QCOMPARE(part.Found, false);
            continue;
        }
        QCOMPARE(part.TotalCount, whole.TotalCount);
        int expectedFilled = 0;
        while (expectedFilled < qMin(hits, 10) && page.linkEnds[expectedFilled] <= length)
            ++expectedFilled;
        for (int i = 0; i < SearchResultPage::SlotCount; ++i) {
            QCOMPARE(part.Items[i].Filled, i < expectedFilled);
            if (i >= expectedFilled)
                continue;
            VerifyReadOrEmpty(part.Items[i], whole.Items[i]);
            QCOMPARE(part.Items[i].FileName, whole.Items[i].FileName);
            QCOMPARE(part.Items[i].DateAdded.isEmpty(), page.dateEnds[i] > length);
        }
    }
}

void tst_ResultPageFuzz::markerRemovedFromOneHitOn_data()
{
    QTest::addColumn<QString>("marker");
    QTest::addColumn<bool>("hitFilled"); // whether the hit that lost it still gets its slot

    QTest::newRow("row marker") << "resultsLink\"" << false;
    QTest::newRow("link end") << "</a>" << false;
    QTest::newRow("type") << "ext:" << true;
    QTest::newRow("non-breaking space") << "&nbsp" << true;
    QTest::newRow("date") << "date:" << true;
}

void tst_ResultPageFuzz::markerRemovedFromOneHitOn()
{
    QFETCH(QString, marker);
    QFETCH(bool, hitFilled);

    for (quint32 seed = 10; seed < 20; ++seed) {
        const ResultPageFixture::Page page = RandomPage(seed, 10);
        const SearchResultPage whole = ParseResultPage(page.text);
        for (int k = 0; k < 10; ++k) {
            QString damaged = page.text;
            const qsizetype from = page.hitStarts[k];
            damaged = damaged.left(from)
                      + damaged.mid(from).remove(QRegularExpression(QRegularExpression::escape(marker),
                                                                    QRegularExpression::CaseInsensitiveOption));
            const SearchResultPage result = ParseResultPage(damaged);
            VerifyShape(damaged, result);
            for (int i = 0; i < k; ++i) {
                QCOMPARE(result.Items[i].FileName, whole.Items[i].FileName);
                QCOMPARE(result.Items[i].FileSize, whole.Items[i].FileSize);
                QCOMPARE(result.Items[i].DateAdded, whole.Items[i].DateAdded);
                QCOMPARE(result.Items[i].FileDesc, whole.Items[i].FileDesc);
            }
            QCOMPARE(result.Items[k].Filled, hitFilled);
            VerifyReadOrEmpty(result.Items[k], whole.Items[k]);
            QVERIFY(result.Items[k].DateAdded.isEmpty());
            for (int i = k + 1; i < SearchResultPage::SlotCount; ++i)
                QVERIFY2(!result.Items[i].Filled, qPrintable(QStringLiteral("slot %1 filled after hit %2").arg(i).arg(k)));
        }
    }
}

void tst_ResultPageFuzz::shuffledPieces()
{
    QRandomGenerator random(20240601);
    for (int round = 0; round < 3000; ++round) {
        const QString text = RandomPage(random.generate(), 1 + random.bounded(12)).text;
        // Cut at random points, then put the pieces together in a random order.
        QList<qsizetype> cuts = {0, text.size()};
        for (int i = random.bounded(1, 12); i > 0; --i)
            cuts << random.bounded(int(text.size()));
        std::sort(cuts.begin(), cuts.end());
        QStringList pieces;
        for (int i = 0; i + 1 < cuts.size(); ++i)
            pieces << text.mid(cuts[i], cuts[i + 1] - cuts[i]);
        std::shuffle(pieces.begin(), pieces.end(), random);
        if (random.bounded(4) == 0)
            pieces.removeAt(random.bounded(int(pieces.size())));
        const QString shuffled = pieces.join(QString());
        const SearchResultPage result = ParseResultPage(shuffled);
        VerifyShape(shuffled, result);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("round %1").arg(round)));
    }
}

QTEST_GUILESS_MAIN(tst_ResultPageFuzz)
#include "tst_resultpagefuzz.moc"
