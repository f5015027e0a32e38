// A run of the step table on the core, tick by tick on a clock the test moves: the plan, the
// countdown, Stop, refused frames, stalls, the restored times and the remaining time.

#include "doubles/doubles.h"

#include "core/frontpanel.h"
#include "core/runplan.h"
#include "core/runstatus.h"

#include <QStringList>
#include <QTest>

using namespace mq7410;
using namespace mq7410::test;

namespace {

using Seconds = std::array<int, StepCount>;
using Frames = QList<QPair<int, int>>; // (tick, row)

// A panel on the auto panel whose step k has time `times[k - 1]` and CH1 voltage k volts; the
// Finish row has CH2 current 1 A.
struct Bench
{
    explicit Bench(const QStringList &times)
    {
        panel.showAutoPanel();
        for (int step = 1; step <= StepCount; ++step) {
            panel.setTimeText(step, times.value(step - 1, QStringLiteral("0")).toStdString());
            panel.setValueText(step, SetPoint::Ch1Voltage, std::to_string(step));
        }
        panel.setValueText(FinishRow, SetPoint::Ch2Current, "1");
    }

    // Ticks until the run ends (at most `limit` seconds), one second a time; (tick, row) of
    // every frame sent, Start's included.
    Frames run(int limit = 100)
    {
        const std::size_t before = link.sent.size();
        const std::int64_t start = clock.now;
        (void)panel.start();
        Frames frames{{0, rowOf(link.sent.at(before))}};
        for (int second = 1; second <= limit && panel.running(); ++second) {
            clock.now = start + second * TickPeriodNs;
            const std::size_t sent = link.sent.size();
            (void)panel.tick();
            if (link.sent.size() > sent)
                frames.append({second, rowOf(link.sent.back())});
        }
        return frames;
    }

    // The row of an all-set-points frame, by the values the bench gave each row.
    static int rowOf(const std::string &frame)
    {
        const int volts = std::stoi(frame.substr(2, 4), nullptr, 16) / 100;
        return volts == 0 ? FinishRow : volts;
    }

    RecordingLink link;
    ManualClock clock;
    FrontPanel panel{link, clock};
};

} // namespace

class TestRun : public QObject
{
    Q_OBJECT
private slots:
    void plan_data();
    void plan();
    void runPlaysThePlan();
    void countdownAndRestoredTimes();
    void stop_data();
    void stop();
    void refusedFrameEndsTheRun();
    void stallMovesTheRestOfTheRun();
    void progress_data();
    void progress();
    void startTakesTheFinalTexts();
};

void TestRun::plan_data()
{
    QTest::addColumn<Seconds>("seconds");
    QTest::addColumn<Frames>("frames");
    QTest::newRow("start-up table: step 2 of time 0 ends at once")
            << Seconds{} << Frames{{0, 1}, {1, 2}};
    QTest::newRow("3, 2, 0") << Seconds{3, 2} << Frames{{0, 1}, {4, 2}, {7, 3}};
    QTest::newRow("step 1 of 0 lasts one tick") << Seconds{0, 5} << Frames{{0, 1}, {1, 2}, {7, 3}};
    QTest::newRow("all nine of 1: Finish at the end")
            << Seconds{1, 1, 1, 1, 1, 1, 1, 1, 1}
            << Frames{{0, 1},  {2, 2},  {4, 3},  {6, 4},  {8, 5},
                      {10, 6}, {12, 7}, {14, 8}, {16, 9}, {18, 0}};
    QTest::newRow("step 9 of 0 ends the run with its row, no Finish")
            << Seconds{1, 1, 1, 1, 1, 1, 1, 1, 0}
            << Frames{{0, 1}, {2, 2}, {4, 3}, {6, 4}, {8, 5}, {10, 6}, {12, 7}, {14, 8}, {16, 9}};
    const int longest = MaxStepSeconds + 1;
    QTest::newRow("nine steps of 999999 s")
            << Seconds{MaxStepSeconds, MaxStepSeconds, MaxStepSeconds,
                       MaxStepSeconds, MaxStepSeconds, MaxStepSeconds,
                       MaxStepSeconds, MaxStepSeconds, MaxStepSeconds}
            << Frames{{0, 1},           {longest, 2},     {2 * longest, 3}, {3 * longest, 4},
                      {4 * longest, 5}, {5 * longest, 6}, {6 * longest, 7}, {7 * longest, 8},
                      {8 * longest, 9}, {9 * longest, 0}};
}

void TestRun::plan()
{
    QFETCH(Seconds, seconds);
    QFETCH(Frames, frames);
    Frames planned;
    for (const PlanSegment &segment : segmentsOf(planRun(seconds), SequenceNumbers{}))
        planned.append({segment.startTick, segment.row});
    QCOMPARE(planned, frames);
}

void TestRun::runPlaysThePlan()
{
    const QStringList times{"2", "1.5", "x", "3"}; // 1.5 rounds to 2; "x" is 0 and ends the run
    Bench bench(times);
    QCOMPARE(bench.run(), (Frames{{0, 1}, {3, 2}, {6, 3}}));
    QVERIFY(!bench.panel.running());
    // The supply holds step 3's row: the displays show it, Enter would send it.
    const PanelView view = bench.panel.view();
    QCOMPARE(view.displays.at(std::size_t(indexOf(SetPoint::Ch1Voltage))), std::string("03.00"));
    bench.panel.showManualPanel();
    bench.panel.select(SetPoint::Ch1Current); // a selector shows what the supply holds too
    QCOMPARE(bench.panel.view().displays, view.displays);
    bench.panel.showAutoPanel();
    // A second Start with the same table plays the same frames at the same ticks.
    QCOMPARE(bench.run(), (Frames{{0, 1}, {3, 2}, {6, 3}}));
}

void TestRun::countdownAndRestoredTimes()
{
    Bench bench({"3", "2", "0"});
    (void)bench.panel.start();
    QStringList seen;
    for (int second = 1; bench.panel.running(); ++second) {
        bench.clock.advanceMs(1000);
        (void)bench.panel.tick();
        const PanelView view = bench.panel.view();
        seen << QString::fromStdString(view.table.time(1) + "|" + view.table.time(2)) + '@'
                        + QString::number(view.runningStep);
    }
    QCOMPARE(seen,
             (QStringList{" 3|2@1", " 2|2@1", " 1|2@1", " 0|2@2", " 0| 2@2", " 0| 1@2", "3|2@0"}));
    QVERIFY(bench.panel.view().table == bench.panel.tableTexts());
}

void TestRun::stop_data()
{
    QTest::addColumn<QString>("when");
    QTest::newRow("during step 1") << "1";
    QTest::newRow("twice") << "1 stop";
    QTest::newRow("at the instant a frame falls due, before its tick") << "2";
    QTest::newRow("after the tick of that instant") << "2 tick";
}

void TestRun::stop()
{
    QFETCH(QString, when);
    Bench bench({"1", "5"});
    (void)bench.panel.start();
    const QStringList steps = when.split(' ');
    bench.clock.advanceMs(1000LL * steps[0].toInt());
    if (steps[0] == "1" || steps.contains("tick"))
        (void)bench.panel.tick();
    const std::size_t before = bench.link.sent.size();
    const Outcome stopped = bench.panel.stop();
    QVERIFY(stopped.frame && stopped.frame->sent);
    QCOMPARE(stopped.frame->meaning.rfind("finish: ", 0), std::size_t(0));
    if (steps.contains("stop"))
        QVERIFY(!bench.panel.stop().frame);
    QCOMPARE(bench.link.sent.size(), before + 1);
    QCOMPARE(Bench::rowOf(bench.link.sent.back()), FinishRow);
    QVERIFY(!bench.panel.running());
    QCOMPARE(bench.panel.view().runningStep, 0);
    QVERIFY(!bench.panel.nsUntilNextTick());
    bench.clock.advanceMs(20'000);
    QVERIFY(!bench.panel.tick().frame);
    QCOMPARE(bench.link.sent.size(), before + 1);
    QVERIFY(bench.panel.view().table == bench.panel.tableTexts());
}

void TestRun::refusedFrameEndsTheRun()
{
    Bench bench({"1", "1"});
    (void)bench.panel.start();
    bench.link.refuseWith = "hung up";
    bench.clock.advanceMs(2000);
    const Outcome outcome = bench.panel.tick();
    QVERIFY(outcome.refused());
    QCOMPARE(outcome.frame->reason, std::string("hung up"));
    QVERIFY(!bench.panel.running());
    // What went out last was step 1's row.
    const PanelView view = bench.panel.view();
    QCOMPARE(view.displays.at(std::size_t(indexOf(SetPoint::Ch1Voltage))), std::string("01.00"));
    QCOMPARE(bench.link.refused.size(), std::size_t(1));
}

void TestRun::stallMovesTheRestOfTheRun()
{
    Bench bench({"2", "2", "2"});
    const std::int64_t start = bench.clock.now;
    (void)bench.panel.start();
    // The program hangs for 5.5 s from 1 s on: step 2's frame, due at 3 s, goes out late.
    bench.clock.now = start + 6'500'000'000;
    (void)bench.panel.tick();
    QCOMPARE(bench.link.sent.size(), std::size_t(2)); // one frame, not a burst
    QCOMPARE(bench.panel.progress()->behindNs, std::int64_t(3'500'000'000));
    // Step 2 lasts its whole three ticks from the late frame, and no tick is due before.
    QCOMPARE(*bench.panel.nsUntilNextTick(), std::int64_t(1'000'000'000));
    for (int second = 1; second <= 3; ++second) {
        bench.clock.advanceMs(second == 3 ? 998 : 1000);
        (void)bench.panel.tick();
    }
    QCOMPARE(bench.link.sent.size(), std::size_t(2));
    // A few milliseconds late: the frame goes out and moves nothing.
    bench.clock.advanceMs(7);
    (void)bench.panel.tick();
    QCOMPARE(bench.link.sent.size(), std::size_t(3));
    QCOMPARE(bench.panel.progress()->behindNs, std::int64_t(3'500'000'000));
    QCOMPARE(*bench.panel.nsUntilNextTick(), std::int64_t(995'000'000));
}

void TestRun::progress_data()
{
    QTest::addColumn<int>("second");
    QTest::addColumn<QString>("status");
    QTest::newRow("at Start")
            << 0 << "Step 1 of 2 \u00b7 3 s left in this step \u00b7 run ends in 0:01:05";
    QTest::newRow("last tick of step 1")
            << 2 << "Step 1 of 2 \u00b7 1 s left in this step \u00b7 run ends in 0:01:03";
    QTest::newRow("first tick of step 2")
            << 3 << "Step 2 of 2 \u00b7 62 s left in this step \u00b7 run ends in 0:01:02";
    QTest::newRow("last tick of the run")
            << 64 << "Step 2 of 2 \u00b7 1 s left in this step \u00b7 run ends in 0:00:01";
}

void TestRun::progress()
{
    QFETCH(int, second);
    QFETCH(QString, status);
    Bench bench({"2", "61"});
    (void)bench.panel.start();
    for (int tick = 1; tick <= second; ++tick) {
        bench.clock.advanceMs(1000);
        (void)bench.panel.tick();
    }
    QCOMPARE(QString::fromStdString(runStatusText(*bench.panel.progress())), status);
    QCOMPARE(QString::fromStdString(durationText(MaxStepSeconds * 9)), QString("2499:59:51"));
}

void TestRun::startTakesTheFinalTexts()
{
    Bench bench({"1"});
    // Typed key by key, never completed: "33.5" passes through "3", "33", "33.".
    for (const char *text : {"3", "33", "33.", "33.5"})
        bench.panel.setValueText(1, SetPoint::Ch2Voltage, text);
    bench.panel.setValueText(2, SetPoint::Ch2Voltage, "1e309");
    (void)bench.panel.start();
    QCOMPARE(bench.link.sent.front(), std::string("8D0064000000000000"));
    QCOMPARE(bench.panel.tableTexts().value(1, SetPoint::Ch2Voltage), std::string(" 0"));
    QCOMPARE(bench.panel.tableTexts().value(2, SetPoint::Ch2Voltage), std::string(" 0"));
}

QTEST_GUILESS_MAIN(TestRun)
#include "tst_run.moc"
