// When the run's ticks fall due, by a clock the test sets: no waiting.

#include "sequence/tickschedule.h"

#include <QTest>

#include <cstdint>

using mq7410::TickSchedule;

namespace {

constexpr std::int64_t Ms = 1'000'000;
constexpr std::int64_t Second = 1000 * Ms;
// Any point of a monotonic clock; nothing may depend on it being 0.
constexpr std::int64_t StartNs = 123'456'789'012;

} // namespace

class TestTickSchedule : public QObject
{
    Q_OBJECT
private slots:
    void wakeUps_data();
    void wakeUps();
    void restartBeginsAgainFromTickOne();
    void noTickIsTakenHalfAPeriodEarly_data();
    void noTickIsTakenHalfAPeriodEarly();
};

void TestTickSchedule::wakeUps_data()
{
    // Each wake-up: the time since start, the ticks it takes, then the wait until the next.
    QTest::addColumn<QList<qint64>>("sinceStart");
    QTest::addColumn<QList<int>>("taken");
    QTest::addColumn<QList<qint64>>("waits");
    const auto row = [](const char *tag, const QList<qint64> &since, const QList<int> &taken,
                        const QList<qint64> &waits) {
        QTest::newRow(tag) << since << taken << waits;
    };

    row("between two ticks nothing is due", {Second / 2, Second}, {0, 1}, {Second / 2, Second});
    row("a late tick does not push the next one", {1300 * Ms, 2 * Second}, {1, 1},
        {700 * Ms, Second});
    row("a stall of five seconds gives every tick due", {5200 * Ms, 6 * Second}, {5, 1},
        {800 * Ms, Second});
    row("1 ms early still takes the tick", {Second - Ms, 2 * Second}, {1, 1},
        {Second + Ms, Second});
    row("more than 1 ms early waits for the rest", {Second - Ms - 1, Second}, {0, 1},
        {Ms + 1, Second});
    row("2 ms early, then once more 0.5 ms early", {Second - 2 * Ms, Second - Ms / 2}, {0, 1},
        {2 * Ms, Second + Ms / 2});
    row("a second wake-up for the same tick takes nothing", {Second, Second + 1, Second + 998 * Ms},
        {1, 0, 0}, {Second, Second - 1, 2 * Ms});
    row("a clock before the start", {-5}, {0}, {Second + 5});
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

void TestTickSchedule::restartBeginsAgainFromTickOne()
{
    TickSchedule schedule;
    QCOMPARE(schedule.takeDueTicks(StartNs), 0); // nothing is due before the first start
    QCOMPARE(schedule.nsUntilNextTick(StartNs), Second);
    schedule.start(StartNs);
    QCOMPARE(schedule.takeDueTicks(StartNs + 3 * Second), 3);

    const std::int64_t restart = StartNs + 7 * Second + 250 * Ms;
    schedule.start(restart);
    QCOMPARE(schedule.ticksTaken(), 0);
    QCOMPARE(schedule.nsUntilNextTick(restart), Second);
    QCOMPARE(schedule.takeDueTicks(restart + Second / 2), 0);
    QCOMPARE(schedule.takeDueTicks(restart + Second), 1);
}

void TestTickSchedule::noTickIsTakenHalfAPeriodEarly_data()
{
    QTest::addColumn<qint64>("period");
    QTest::addColumn<qint64>("effectivePeriod");
    QTest::newRow("2 ms") << qint64(2 * Ms) << qint64(2 * Ms);
    QTest::newRow("1 ms") << qint64(Ms) << qint64(Ms);
    QTest::newRow("3 ns") << qint64(3) << qint64(3);
    QTest::newRow("0 is taken as 1 ns") << qint64(0) << qint64(1);
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
