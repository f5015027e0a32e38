// When the run's ticks fall due, by a clock the test sets: no waiting.

#include "sequence/tickschedule.h"

#include <QTest>

#include <algorithm>
#include <cstdint>
#include <iterator>

using mq7410::TickSchedule;

namespace {

constexpr std::int64_t Ms = 1'000'000;
constexpr std::int64_t Second = 1000 * Ms;
// Any point of a monotonic clock; nothing may depend on it being 0.
constexpr std::int64_t StartNs = 123'456'789'012;

std::int64_t wholeMsRoundedUp(std::int64_t ns)
{
    return (ns + Ms - 1) / Ms;
}

} // namespace

class TestTickSchedule : public QObject
{
    Q_OBJECT
private slots:
    void wakeUps_data();
    void wakeUps();
    void timerFiringEarlyTakesEveryTickOnceAndOnTime();
    void restartBeginsAgainFromTickOne();
    void nothingIsDueBeforeStart();
    void noTickIsTakenHalfAPeriodEarly_data();
    void noTickIsTakenHalfAPeriodEarly();
};

void TestTickSchedule::wakeUps_data()
{
    // Each wake-up: the time since start, the ticks it takes, then the wait until the next.
    QTest::addColumn<QList<qint64>>("sinceStart");
    QTest::addColumn<QList<int>>("taken");
    QTest::addColumn<QList<qint64>>("waits");

    QTest::newRow("three ticks on time")
            << QList<qint64>{Second, 2 * Second, 3 * Second} << QList<int>{1, 1, 1}
            << QList<qint64>{Second, Second, Second};
    QTest::newRow("between two ticks nothing is due")
            << QList<qint64>{Second / 2, Second} << QList<int>{0, 1}
            << QList<qint64>{Second / 2, Second};
    QTest::newRow("a late tick does not push the next one")
            << QList<qint64>{1300 * Ms, 2 * Second} << QList<int>{1, 1}
            << QList<qint64>{700 * Ms, Second};
    QTest::newRow("a stall of five seconds gives every tick due")
            << QList<qint64>{5200 * Ms, 6 * Second} << QList<int>{5, 1}
            << QList<qint64>{800 * Ms, Second};
    QTest::newRow("a stall after a tick") << QList<qint64>{Second, 4 * Second + 1}
                                          << QList<int>{1, 3} << QList<qint64>{Second, Second - 1};
    QTest::newRow("0.3 ms early takes the tick at once")
            << QList<qint64>{Second - 300'000, 2 * Second} << QList<int>{1, 1}
            << QList<qint64>{Second + 300'000, Second};
    QTest::newRow("1 ms early still takes the tick")
            << QList<qint64>{Second - Ms, 2 * Second} << QList<int>{1, 1}
            << QList<qint64>{Second + Ms, Second};
    QTest::newRow("more than 1 ms early waits for the rest")
            << QList<qint64>{Second - Ms - 1, Second} << QList<int>{0, 1}
            << QList<qint64>{Ms + 1, Second};
    QTest::newRow("2 ms early, then once more 0.5 ms early")
            << QList<qint64>{Second - 2 * Ms, Second - Ms / 2} << QList<int>{0, 1}
            << QList<qint64>{2 * Ms, Second + Ms / 2};
    QTest::newRow("a second wake-up for the same tick takes nothing")
            << QList<qint64>{Second, Second + 1, Second + 998 * Ms} << QList<int>{1, 0, 0}
            << QList<qint64>{Second, Second - 1, 2 * Ms};
    QTest::newRow("a clock before the start")
            << QList<qint64>{-5} << QList<int>{0} << QList<qint64>{Second + 5};
}

void TestTickSchedule::wakeUps()
{
    QFETCH(QList<qint64>, sinceStart);
    QFETCH(QList<int>, taken);
    QFETCH(QList<qint64>, waits);

    TickSchedule schedule;
    schedule.start(StartNs);
    QCOMPARE(schedule.nsUntilNextTick(StartNs), Second);
    int total = 0;
    for (int i = 0; i < sinceStart.size(); ++i) {
        const std::int64_t now = StartNs + sinceStart[i];
        QCOMPARE(schedule.takeDueTicks(now), taken[i]);
        QCOMPARE(schedule.nsUntilNextTick(now), waits[i]);
        total += taken[i];
    }
    QCOMPARE(schedule.ticksTaken(), total);
}

void TestTickSchedule::timerFiringEarlyTakesEveryTickOnceAndOnTime()
{
    // The caller waits for nsUntilNextTick rounded up to whole milliseconds, and its timer fires
    // up to 0.999 ms early; ten simulated minutes.
    const std::int64_t earliness[] = {0, 1, 100'000, 300'000, 999'999, 500'000, 0, 999'000};
    TickSchedule schedule;
    schedule.start(StartNs);
    std::int64_t now = StartNs;
    int wakeUps = 0;
    while (schedule.ticksTaken() < 600) {
        QVERIFY2(wakeUps < 1800, "the caller is woken far more often than the ticks");
        const std::int64_t wait = wholeMsRoundedUp(schedule.nsUntilNextTick(now)) * Ms;
        now += wait - std::min(wait, earliness[wakeUps++ % std::size(earliness)]);

        const int fresh = schedule.takeDueTicks(now);
        QVERIFY(fresh <= 1);
        if (fresh == 1) {
            const std::int64_t due = StartNs + schedule.ticksTaken() * Second;
            QVERIFY2(now >= due - schedule.earlyToleranceNs(), "tick taken too early");
            QVERIFY2(now < due + Ms, "tick taken late");
        }
    }
    QCOMPARE(schedule.earlyToleranceNs(), Ms);
}

void TestTickSchedule::restartBeginsAgainFromTickOne()
{
    TickSchedule schedule;
    schedule.start(StartNs);
    QCOMPARE(schedule.takeDueTicks(StartNs + 3 * Second), 3);

    const std::int64_t restart = StartNs + 7 * Second + 250 * Ms;
    schedule.start(restart);
    QCOMPARE(schedule.ticksTaken(), 0);
    QCOMPARE(schedule.nsUntilNextTick(restart), Second);
    QCOMPARE(schedule.takeDueTicks(restart + Second / 2), 0);
    QCOMPARE(schedule.takeDueTicks(restart + Second), 1);
}

void TestTickSchedule::nothingIsDueBeforeStart()
{
    TickSchedule schedule;
    QCOMPARE(schedule.takeDueTicks(StartNs), 0);
    QCOMPARE(schedule.ticksTaken(), 0);
    QCOMPARE(schedule.nsUntilNextTick(StartNs), Second);
}

void TestTickSchedule::noTickIsTakenHalfAPeriodEarly_data()
{
    QTest::addColumn<qint64>("period");
    QTest::addColumn<qint64>("effectivePeriod");
    QTest::newRow("1 s") << qint64(Second) << qint64(Second);
    QTest::newRow("2 ms") << qint64(2 * Ms) << qint64(2 * Ms);
    QTest::newRow("1 ms") << qint64(Ms) << qint64(Ms);
    QTest::newRow("3 ns") << qint64(3) << qint64(3);
    QTest::newRow("1 ns") << qint64(1) << qint64(1);
    QTest::newRow("0 is taken as 1 ns") << qint64(0) << qint64(1);
    QTest::newRow("negative is taken as 1 ns") << qint64(-Second) << qint64(1);
}

void TestTickSchedule::noTickIsTakenHalfAPeriodEarly()
{
    QFETCH(qint64, period);
    QFETCH(qint64, effectivePeriod);

    TickSchedule schedule(period);
    schedule.start(StartNs);
    QCOMPARE(schedule.takeDueTicks(StartNs + effectivePeriod / 2), 0);
    QCOMPARE(schedule.takeDueTicks(StartNs + effectivePeriod), 1);
    QCOMPARE(schedule.takeDueTicks(StartNs + 10 * effectivePeriod), 9);
}

QTEST_GUILESS_MAIN(TestTickSchedule)
#include "tst_tickschedule.moc"
