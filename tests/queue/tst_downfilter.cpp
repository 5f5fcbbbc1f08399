#include "queue/DownGridFilter.h"
#include "queue/DownloadScheduler.h"

#include <QLocale>
#include <QTest>

class tst_DownFilter final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void visibility_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("includeComplete");
        QTest::addColumn<bool>("includeWaiting");
        QTest::addColumn<bool>("includeDownloading");
        QTest::addColumn<bool>("visibleBefore");
        QTest::addColumn<bool>("visible");
        QTest::newRow("complete hidden by default") << "Complete" << false << true << true << true << false;
        QTest::newRow("complete shown when included") << "Complete" << true << true << true << false << true;
        QTest::newRow("queued hidden without waiting") << "Queued" << true << false << true << true << false;
        QTest::newRow("queued shown with waiting") << "Queued" << false << true << true << false << true;
        QTest::newRow("percentage hidden without downloading") << "37.5" << true << true << false << true << false;
        QTest::newRow("requesting hidden without downloading")
            << "Requesting File" << true << true << false << true << false;
        QTest::newRow("waiting text hidden without downloading")
            << "Wait 12 Seconds" << true << true << false << true << false;
        QTest::newRow("unknown size shown with downloading") << "-1" << false << false << true << false << true;
        QTest::newRow("stopped keeps hidden") << "Stopped" << true << true << true << false << false;
        QTest::newRow("error keeps shown") << "Error" << false << false << false << true << true;
    }
    void visibility()
    {
        QFETCH(QString, status);
        QFETCH(bool, includeComplete);
        QFETCH(bool, includeWaiting);
        QFETCH(bool, includeDownloading);
        QFETCH(bool, visibleBefore);
        QFETCH(bool, visible);
        const DownGridFilter filter{includeComplete, includeWaiting, includeDownloading};
        QCOMPARE(filter.IsVisible(status, visibleBefore), visible);
    }

    void speedText_data()
    {
        QTest::addColumn<qint64>("bytesPerSecond");
        QTest::addColumn<QString>("text");
        QTest::newRow("two KB") << qint64(2048) << "2 KB/s";
        QTest::newRow("one decimal") << qint64(1126) << "1.1 KB/s";
        QTest::newRow("half") << qint64(1536) << "1.5 KB/s";
        QTest::newRow("zero") << qint64(0) << "0 KB/s";
        QTest::newRow("tie to even down") << qint64(1280) << "1.2 KB/s"; // 1.25
        QTest::newRow("tie to even up") << qint64(1792) << "1.8 KB/s";   // 1.75
    }
    void speedText()
    {
        QLocale::setDefault(QLocale::c());
        QFETCH(qint64, bytesPerSecond);
        QFETCH(QString, text);
        QCOMPARE(DownloadScheduler::SpeedText(bytesPerSecond), text);
    }
};

QTEST_GUILESS_MAIN(tst_DownFilter)
#include "tst_downfilter.moc"
