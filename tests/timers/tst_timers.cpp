#include "timers/CTimer.h"
#include "timers/CTimers.h"
#include "timers/MTimer.h"
#include "timers/TimerError.h"

#include <QSignalSpy>
#include <QTest>

class tst_Timers final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stoppedAfterConstruction()
    {
        CTimer timer;
        QCOMPARE(timer.Interval(), 2000);
        QVERIFY(!timer.Enabled());
        timer.Disable(); // on a stopped timer: nothing changes
        QVERIFY(!timer.Enabled());
        timer.setEnabled(false);
        QVERIFY(!timer.Enabled());
    }

    void zeroIntervalNeverRuns()
    {
        CTimer timer;
        timer.setInterval(0);
        timer.Enable();
        QVERIFY(!timer.Enabled());
        timer.setInterval(-5);
        timer.setEnabled(true);
        QVERIFY(!timer.Enabled());
    }

    void ticksUntilDisabled()
    {
        CTimer timer;
        QSignalSpy ticks(&timer, &CTimer::Timer);
        timer.EnableTimer(10);
        QVERIFY(timer.Enabled());
        QCOMPARE(timer.Interval(), 10);
        QVERIFY(ticks.wait(1000));
        timer.Disable();
        QVERIFY(!timer.Enabled());
        QVERIFY(!MTimer::IsTimerRegistered(timer.TimerId()));
        const qsizetype seen = ticks.count();
        QTest::qWait(50);
        QCOMPARE(ticks.count(), seen);
    }

    void resetGivesNewIdAndDropsTheOld()
    {
        CTimer timer;
        timer.setInterval(1000);
        timer.Enable();
        const int first = timer.TimerId();
        QVERIFY(MTimer::IsTimerRegistered(first));
        timer.setEnabled(true); // on a running timer: a reset
        QVERIFY(timer.Enabled());
        QVERIFY(timer.TimerId() != first);
        QVERIFY(!MTimer::IsTimerRegistered(first));
        QVERIFY(MTimer::IsTimerRegistered(timer.TimerId()));
    }

    void intervalChangeWaitsForNextStart()
    {
        CTimer timer;
        timer.EnableTimer(5000); // stopped timer with 2000: runs with 5000
        QVERIFY(timer.Enabled());
        QCOMPARE(timer.Interval(), 5000);
        QSignalSpy ticks(&timer, &CTimer::Timer);
        timer.setInterval(10); // does not touch the running timer
        QTest::qWait(60);
        QCOMPARE(ticks.count(), 0);
        timer.Reset();
        QVERIFY(ticks.wait(1000));
    }

    void strayTickIsKilledSilently()
    {
        CTimer timer;
        QSignalSpy ticks(&timer, &CTimer::Timer);
        const int stray = MTimer::CreatePlatformTimer(5);
        QVERIFY(stray > 0);
        MTimer::TimerProc(stray); // not registered: killed, nothing raised
        QTest::qWait(30);
        QCOMPARE(ticks.count(), 0);
        QVERIFY(!MTimer::IsTimerRegistered(stray));
    }

    void collectionRaisesItsIndex()
    {
        CTimers timers;
        QVERIFY(timers.RegistrationNumber() > 0);
        QCOMPARE(timers.Add(), qint16(1));
        QCOMPARE(timers.Add(), qint16(2));
        QCOMPARE(timers.Item(2)->Index(), 2);
        QCOMPARE(timers.Item(2)->ParentKey(), int(timers.RegistrationNumber()));
        QVERIFY(!timers.Item(1)->Enabled()); // added stopped
        QSignalSpy ticks(&timers, &CTimers::Timer);
        timers.Item(2)->EnableTimer(10);
        QVERIFY(ticks.wait(1000));
        QCOMPARE(ticks.first().first().value<qint16>(), qint16(2));
        timers.Item(2)->Disable();
    }

    void bulkLoadBounds_data()
    {
        QTest::addColumn<int>("num");
        QTest::addColumn<int>("count"); // -1: refused
        QTest::newRow("one adds two") << 1 << 2;
        QTest::newRow("199 adds 200") << 199 << 200;
        QTest::newRow("zero refused") << 0 << -1;
        QTest::newRow("200 refused") << 200 << -1;
        QTest::newRow("negative refused") << -3 << -1;
    }
    void bulkLoadBounds()
    {
        QFETCH(int, num);
        QFETCH(int, count);
        CTimers timers;
        try {
            timers.BulkLoad(qint16(num));
            QCOMPARE(int(timers.Count()), count);
        } catch (const TimerError &error) {
            QCOMPARE(count, -1);
            QCOMPARE(error.Number(), qint32(-2147221504));
            QCOMPARE(error.Source(), QStringLiteral("CTimers.BulkLoad"));
            QCOMPARE(error.Description(), QStringLiteral("No more than 200 times allowed per class"));
            QCOMPARE(int(timers.Count()), 0);
        }
    }

    void itemPastCountRaises()
    {
        CTimers timers;
        timers.Add();
        try {
            timers.Item(2);
            QFAIL("no error raised");
        } catch (const TimerError &error) {
            QCOMPARE(error.Number(), TimerError::ApplicationError);
            QCOMPARE(error.Source(), QStringLiteral("CTimers.Item"));
            QCOMPARE(error.Description(), QStringLiteral("Index does not Exist"));
        }
    }

    void tickOfRemovedCollectionIsKilled()
    {
        auto timers = std::make_unique<CTimers>();
        timers->Add();
        CTimer *timer = timers->Item(1);
        timer->EnableTimer(1000);
        const int id = timer->TimerId();
        MTimer::UnregisterCollection(timers->RegistrationNumber());
        QSignalSpy ticks(timers.get(), &CTimers::Timer);
        MTimer::TimerProc(id);
        QCOMPARE(ticks.count(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_Timers)
#include "tst_timers.moc"
