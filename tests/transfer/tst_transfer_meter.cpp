#include "transfer/TransferMeter.h"

#include <QTest>

class tst_transfer_meter final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readings_data();
    void readings();
    void ringCarriesOverBetweenTransfers();
};

using Ticks = QList<qint64>; // bytes added before each tick

void tst_transfer_meter::readings_data()
{
    QTest::addColumn<qint64>("base"); // bytes in the file before the transfer
    QTest::addColumn<Ticks>("ticks");
    QTest::addColumn<qint64>("fileSize");
    QTest::addColumn<QList<qint64>>("speeds"); // after each tick
    // Figures of the last tick: percent, downloaded, remaining bytes and seconds.
    QTest::addColumn<double>("percent");
    QTest::addColumn<qint64>("downloaded");
    QTest::addColumn<qint64>("remainBytes");
    QTest::addColumn<double>("remainSeconds");

    QTest::newRow("1000 bytes a second fills the ring a quarter at a time") << qint64(0)
        << Ticks{1000, 1000, 1000, 1000} << qint64(0) << QList<qint64>{250, 500, 750, 1000} << -1.0
        << qint64(4000) << qint64(-1) << -1.0;
    QTest::newRow("known size: 25 %, 500 B/s, 7500 left, 15 s") << qint64(0)
        << Ticks{500, 500, 500, 500, 500} << qint64(10000) << QList<qint64>{125, 250, 375, 500, 500} << 25.0
        << qint64(2500) << qint64(7500) << 15.0;
    QTest::newRow("speed 0 counts as 1 byte a second") << qint64(0) << Ticks{0} << qint64(10000) << QList<qint64>{0} << 0.0
                                                       << qint64(0) << qint64(10000) << 10000.0;
    QTest::newRow("speed halves go to the even neighbour") << qint64(0)
        << Ticks{10, 4, 0, 0, 0} << qint64(0) << QList<qint64>{2, 4, 4, 4, 1} << -1.0 << qint64(14) << qint64(-1)
        << -1.0;
    QTest::newRow("percent rounds to two decimals") << qint64(0) << Ticks{1} << qint64(3) << QList<qint64>{0} << 33.33
                                                    << qint64(1) << qint64(2) << 2.0;
    QTest::newRow("sizes over 4 GiB stay exact") << qint64(0)
        << Ticks{4294967296LL, 4294967296LL} << qint64(10737418240LL)
        << QList<qint64>{1073741824LL, 2147483648LL} << 80.0 << qint64(8589934592LL) << qint64(2147483648LL)
        << 1.0;
    QTest::newRow("a resumed transfer: the file's bytes count for the share, arrivals for the speed")
        << qint64(4000) << Ticks{1000} << qint64(10000) << QList<qint64>{250} << 50.0 << qint64(5000) << qint64(5000)
        << 20.0;
}

void tst_transfer_meter::readings()
{
    QFETCH(qint64, base);
    QFETCH(Ticks, ticks);
    QFETCH(qint64, fileSize);
    QFETCH(QList<qint64>, speeds);
    TransferMeter meter;
    meter.SetBase(base);
    TransferMeter::Reading reading;
    for (qsizetype i = 0; i < ticks.size(); ++i) {
        meter.AddBytes(ticks.at(i));
        reading = meter.Tick(fileSize);
        QCOMPARE(reading.bytesPerSecond, speeds.at(i));
    }
    QTEST(reading.percent, "percent");
    QTEST(reading.downloaded, "downloaded");
    QTEST(reading.remainBytes, "remainBytes");
    QTEST(reading.remainSeconds, "remainSeconds");
}

void tst_transfer_meter::ringCarriesOverBetweenTransfers()
{
    TransferMeter meter;
    for (int i = 0; i < 4; ++i) {
        meter.AddBytes(1000);
        meter.Tick(0);
    }
    meter.Restart();
    QCOMPARE(meter.Total(), qint64(0));
    QCOMPARE(meter.Speed(), qint64(0));
    // The first tick of the next transfer still averages three old samples.
    meter.AddBytes(200);
    const TransferMeter::Reading reading = meter.Tick(1000);
    QCOMPARE(reading.bytesPerSecond, qint64(800));
    QCOMPARE(reading.downloaded, qint64(200));
    QCOMPARE(reading.percent, 20.0);
    QCOMPARE(reading.remainSeconds, 1.0);
}

QTEST_GUILESS_MAIN(tst_transfer_meter)
#include "tst_transfer_meter.moc"
