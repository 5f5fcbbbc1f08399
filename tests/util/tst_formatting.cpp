#include "util/Formatting.h"

#include <QLocale>
#include <QTest>

class tst_Formatting final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale::c()); }

    void fileSize_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << "0 Bytes";
        QTest::newRow("negative stays bytes") << qint64(-5) << "-5 Bytes";
        QTest::newRow("last byte count") << qint64(1023) << "1023 Bytes";
        QTest::newRow("one KB, no decimals") << qint64(1024) << "1 KB";
        QTest::newRow("half KB") << qint64(1536) << "1.5 KB";
        QTest::newRow("tie rounds to even down") << qint64(1152) << "1.12 KB"; // 1.125
        QTest::newRow("tie rounds to even up") << qint64(1167) << "1.14 KB";   // 1.1396...
        QTest::newRow("rounds up but stays in unit") << qint64(1048575) << "1024 KB";
        QTest::newRow("one MB") << qint64(1048576) << "1 MB";
        QTest::newRow("quarter MB") << qint64(1310720) << "1.25 MB";
        QTest::newRow("one GB") << qint64(1073741824) << "1 GB";
        QTest::newRow("largest 32-bit") << qint64(2147483647) << "2 GB";
        QTest::newRow("over 4 GiB") << qint64(5368709120) << "5 GB";
        QTest::newRow("several TB stay in GB") << qint64(3) * 1024 * 1024 * 1024 * 1024 << "3072 GB";
    }
    void fileSize()
    {
        QFETCH(qint64, size);
        QFETCH(QString, text);
        QCOMPARE(Formatting::FormatFileSize(size), text);
    }

    void fileSizeUsesLocaleSeparator()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(Formatting::FormatFileSize(1536), QStringLiteral("1,5 KB"));
        double parsed = 0;
        QVERIFY(Formatting::ParseNumberText(Formatting::NumberText(37.5), &parsed));
        QCOMPARE(parsed, 37.5);
    }

    void duration_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "00:00:00";
        QTest::newRow("fraction rounds") << 5.4 << "00:00:05";
        QTest::newRow("sixty stays seconds") << 60.0 << "00:00:60";
        QTest::newRow("just over a minute") << 61.0 << "00:01:01";
        QTest::newRow("last of the hour") << 3599.0 << "00:59:59";
        QTest::newRow("one hour") << 3600.0 << "01:00:00";
        QTest::newRow("hour and a half minute") << 7170.0 << "01:59:30";
        QTest::newRow("hours past two digits") << 360000.0 << "100:00:00";
        QTest::newRow("unknown time left") << -1.0 << "00:00:-01";
        QTest::newRow("not a number") << qQNaN() << "";
    }
    void duration()
    {
        QFETCH(double, seconds);
        QFETCH(QString, text);
        QCOMPARE(Formatting::FormatDuration(seconds), text);
    }

    void numberText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 1.0 << "1";
        QTest::newRow("fraction") << 37.5 << "37.5";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("minus one") << -1.0 << "-1";
        QTest::newRow("fifteen digits") << 1.0 / 3.0 << "0.333333333333333";
        QTest::newRow("large byte count") << 5368709120.0 << "5368709120";
    }
    void numberText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(Formatting::NumberText(value), text);
    }
};

QTEST_GUILESS_MAIN(tst_Formatting)
#include "tst_formatting.moc"
