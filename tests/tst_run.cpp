// SPDX-License-Identifier: GPL-3.0-or-later
// A run of the step table on the core, tick by tick on a clock the test moves: the plan with its
// cycles, the countdown, Stop, refused frames, stalls, the limits at Start, how each run ends
// and the remaining time.

#include "doubles.h"

#include "frontpanel.h"
#include "runplan.h"
#include "runstatus.h"

#include <QStringList>
#include <QTest>

#include <malloc.h>

using namespace mq7410;
using namespace mq7410::test;

namespace {

using Seconds = std::array<int, StepCount>;
using Frames = QList<QPair<qint64, int>>; // (tick, row)

// Hears how runs end and what each frame meant.
struct Recorder final : PanelObserver
{
    void onFrameTried(const FrameRecord &record) override { meanings.push_back(record.meaning); }
    void onFrameSettled(const FrameRecord &) override {}
    void onRunEnded(const RunEnding &ending) override { endings.push_back(ending); }
    void onChanged() override {}

    std::vector<std::string> meanings;
    std::vector<RunEnding> endings;
};

// A panel on the auto panel whose step k has time `times[k - 1]` and CH1 voltage k volts; the
// Finish row has CH2 current 1 A.
struct Bench
{
    explicit Bench(const QStringList &times, int cycles = 1)
    {
        panel.setObserver(&recorder);
        panel.showAutoPanel();
        for (int step = 1; step <= StepCount; ++step) {
            (void)panel.setTimeText(step, times.value(step - 1, QStringLiteral("0")).toStdString());
            (void)panel.setValueText(step, SetPoint::Ch1Voltage, std::to_string(step));
        }
        (void)panel.setValueText(FinishRow, SetPoint::Ch2Current, "1");
        (void)panel.setRepeat(cycles);
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
            panel.tick();
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
    Recorder recorder;
};

} // namespace

class TestRun : public QObject
{
    Q_OBJECT
private slots:
    void plan_data();
    void plan();
    void runPlaysThePlan_data();
    void runPlaysThePlan();
    void countdownAndRestoredTimes();
    void stop_data();
    void stop();
    void refusedFrameEndsTheRun();
    void stallMovesTheRestOfTheRun();
    void timerWakingEarly_data();
    void timerWakingEarly();
    void startChecksTheLimits();
    void progress_data();
    void progress();
    void manyCyclesKeepTheirTime();
};

void TestRun::plan_data()
{
    QTest::addColumn<Seconds>("seconds");
    QTest::addColumn<int>("cycles");
    QTest::addColumn<Frames>("frames");
    QTest::newRow("start-up table: step 2 of time 0 ends at once")
            << Seconds{} << 1 << Frames{{0, 1}, {1, 2}};
    QTest::newRow("3, 2, 0") << Seconds{3, 2} << 1 << Frames{{0, 1}, {4, 2}, {7, 3}};
    QTest::newRow("step 1 of 0 lasts one tick")
            << Seconds{0, 5} << 1 << Frames{{0, 1}, {1, 2}, {7, 3}};
    QTest::newRow("all nine of 1: Finish at the end")
            << Seconds{1, 1, 1, 1, 1, 1, 1, 1, 1} << 1
            << Frames{{0, 1},  {2, 2},  {4, 3},  {6, 4},  {8, 5},
                      {10, 6}, {12, 7}, {14, 8}, {16, 9}, {18, 0}};
    QTest::newRow("step 9 of 0 ends the run with its row, no Finish")
            << Seconds{1, 1, 1, 1, 1, 1, 1, 1, 0} << 1
            << Frames{{0, 1}, {2, 2}, {4, 3}, {6, 4}, {8, 5}, {10, 6}, {12, 7}, {14, 8}, {16, 9}};
    const qint64 longest = MaxStepSeconds + 1;
    QTest::newRow("nine steps of 999999 s")
            << Seconds{MaxStepSeconds, MaxStepSeconds, MaxStepSeconds,
                       MaxStepSeconds, MaxStepSeconds, MaxStepSeconds,
                       MaxStepSeconds, MaxStepSeconds, MaxStepSeconds}
            << 1 << Frames{{0, 1},           {longest, 2},     {2 * longest, 3}, {3 * longest, 4},
                           {4 * longest, 5}, {5 * longest, 6}, {6 * longest, 7}, {7 * longest, 8},
                           {8 * longest, 9}, {9 * longest, 0}};
    // Between cycles step 1 follows the last step; only the last cycle ends as a run does.
    QTest::newRow("cycles cut by a time-0 step: its row only at the end")
            << Seconds{1, 2} << 3
            << Frames{{0, 1}, {2, 2}, {5, 1}, {7, 2}, {10, 1}, {12, 2}, {15, 3}};
    QTest::newRow("two cycles of nine")
            << Seconds{1, 1, 1, 1, 1, 1, 1, 1, 1} << 2
            << Frames{{0, 1},  {2, 2},  {4, 3},  {6, 4},  {8, 5},  {10, 6}, {12, 7},
                      {14, 8}, {16, 9}, {18, 1}, {20, 2}, {22, 3}, {24, 4}, {26, 5},
                      {28, 6}, {30, 7}, {32, 8}, {34, 9}, {36, 0}};
}

void TestRun::plan()
{
    QFETCH(Seconds, seconds);
    QFETCH(int, cycles);
    QFETCH(Frames, frames);
    SequenceNumbers numbers;
    numbers.seconds = seconds;
    Frames planned;
    for (const PlanSegment &segment : segmentsOf(planRun(seconds, cycles), numbers, cycles))
        planned.append({segment.startTick, segment.row});
    QCOMPARE(planned, frames);
}

void TestRun::runPlaysThePlan_data()
{
    QTest::addColumn<int>("cycles");
    QTest::addColumn<Frames>("frames");
    QTest::addColumn<QString>("lastMeaning");
    // 1.5 rounds to 2; "x" is 0 and cuts the cycle.
    QTest::newRow("one cycle") << 1 << Frames{{0, 1}, {3, 2}, {6, 3}} << "step 3: ";
    QTest::newRow("two cycles") << 2 << Frames{{0, 1}, {3, 2}, {6, 1}, {9, 2}, {12, 3}}
                                << "cycle 2, step 3: ";
}

void TestRun::runPlaysThePlan()
{
    QFETCH(int, cycles);
    QFETCH(Frames, frames);
    QFETCH(QString, lastMeaning);
    Bench bench({"2", "1.5", "x", "3"}, cycles);
    QCOMPARE(bench.run(), frames);
    QVERIFY(!bench.panel.running());
    QVERIFY(QString::fromStdString(bench.recorder.meanings.back()).startsWith(lastMeaning));
    QCOMPARE(bench.recorder.endings.size(), std::size_t(1));
    QCOMPARE(bench.recorder.endings.back().how, RunEnd::Completed);
    // The supply holds step 3's row: the displays show it, Enter would send it.
    const PanelView view = bench.panel.view();
    QCOMPARE(view.displays.at(std::size_t(indexOf(SetPoint::Ch1Voltage))), std::string("03.00"));
    // A second Start with the same table plays the same frames at the same ticks.
    QCOMPARE(bench.run(), frames);
}

void TestRun::countdownAndRestoredTimes()
{
    Bench bench({"3", "2", "0"}, 2);
    (void)bench.panel.start();
    QStringList seen;
    for (int second = 1; bench.panel.running(); ++second) {
        bench.clock.advanceMs(1000);
        bench.panel.tick();
        const PanelView view = bench.panel.view();
        seen << QString::fromStdString(view.table.time(1) + "|" + view.table.time(2)) + '@'
                        + QString::number(view.runningStep);
    }
    // Both cycles count down; at the end every box shows its text again.
    const QStringList cycle{" 3|2@1", " 2|2@1", " 1|2@1", " 0|2@2", " 0| 2@2", " 0| 1@2"};
    QCOMPARE(seen, cycle + QStringList{"3|2@1"} + cycle + QStringList{"3|2@0"});
    QVERIFY(bench.panel.view().table == bench.panel.tableTexts());
}

void TestRun::stop_data()
{
    QTest::addColumn<QString>("when");
    QTest::addColumn<int>("cycles");
    QTest::newRow("during step 1") << "1" << 1;
    QTest::newRow("twice") << "1 stop" << 1;
    QTest::newRow("at the instant a frame falls due, before its tick") << "2" << 1;
    QTest::newRow("after the tick of that instant") << "2 tick" << 1;
    QTest::newRow("in a later cycle") << "9 tick" << 3;
    QTest::newRow("a run until Stop") << "100 tick" << UntilStop;
}

void TestRun::stop()
{
    QFETCH(QString, when);
    QFETCH(int, cycles);
    Bench bench({"1", "5"}, cycles);
    (void)bench.panel.start();
    const QStringList steps = when.split(' ');
    bench.clock.advanceMs(1000LL * steps[0].toInt());
    if (steps[0] == "1" || steps.contains("tick"))
        bench.panel.tick();
    QVERIFY(bench.panel.running());
    const std::size_t before = bench.link.sent.size();
    QVERIFY(bench.panel.stop());
    QVERIFY(QString::fromStdString(bench.recorder.meanings.back()).contains("finish: "));
    if (steps.contains("stop"))
        QVERIFY(bench.panel.stop());
    QCOMPARE(bench.link.sent.size(), before + 1);
    QCOMPARE(Bench::rowOf(bench.link.sent.back()), FinishRow);
    QVERIFY(!bench.panel.running());
    QCOMPARE(bench.recorder.endings.size(), std::size_t(1));
    QCOMPARE(bench.recorder.endings.back().how, RunEnd::Stopped);
    QCOMPARE(bench.panel.view().runningStep, 0);
    QVERIFY(!bench.panel.nsUntilNextTick());
    bench.clock.advanceMs(20'000);
    bench.panel.tick();
    QCOMPARE(bench.link.sent.size(), before + 1);
    QVERIFY(bench.panel.view().table == bench.panel.tableTexts());
}

void TestRun::refusedFrameEndsTheRun()
{
    Bench bench({"1", "1"});
    (void)bench.panel.start();
    bench.link.refuseWith = "hung up";
    bench.clock.advanceMs(2000);
    bench.panel.tick();
    QVERIFY(!bench.panel.running());
    QCOMPARE(bench.recorder.endings.back().how, RunEnd::LineFailed);
    QCOMPARE(bench.recorder.endings.back().reason, std::string("hung up"));
    QCOMPARE(QString::fromStdString(runEndText(bench.recorder.endings.back())),
             QString("ended: the line failed (hung up)"));
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
    bench.panel.tick();
    QCOMPARE(bench.link.sent.size(), std::size_t(2)); // one frame, not a burst
    QCOMPARE(bench.panel.progress()->behindNs, std::int64_t(3'500'000'000));
    // Step 2 lasts its whole three ticks from the late frame, and no tick is due before.
    QCOMPARE(*bench.panel.nsUntilNextTick(), std::int64_t(1'000'000'000));
    for (int second = 1; second <= 3; ++second) {
        bench.clock.advanceMs(second == 3 ? 998 : 1000);
        bench.panel.tick();
    }
    QCOMPARE(bench.link.sent.size(), std::size_t(2));
    // A few milliseconds late: the frame goes out and moves nothing.
    bench.clock.advanceMs(7);
    bench.panel.tick();
    QCOMPARE(bench.link.sent.size(), std::size_t(3));
    QCOMPARE(bench.panel.progress()->behindNs, std::int64_t(3'500'000'000));
    QCOMPARE(*bench.panel.nsUntilNextTick(), std::int64_t(995'000'000));
}

void TestRun::timerWakingEarly_data()
{
    QTest::addColumn<qint64>("earlyNs");
    QTest::addColumn<bool>("sent");
    QTest::newRow("on the second") << qint64(0) << true;
    QTest::newRow("0.9 ms early: due") << qint64(900'000) << true;
    QTest::newRow("1.1 ms early: waits for the next wake") << qint64(1'100'000) << false;
}

// A timer may wake a little before the second; the frame due then must not wait a whole
// second more for the next wake.
void TestRun::timerWakingEarly()
{
    QFETCH(qint64, earlyNs);
    QFETCH(bool, sent);
    Bench bench({"0", "1"}); // step 2's frame is due one second after Start
    (void)bench.panel.start();
    const std::size_t before = bench.link.sent.size();
    bench.clock.now += TickPeriodNs - earlyNs;
    bench.panel.tick();
    QCOMPARE(bench.link.sent.size() > before, sent);
}

void TestRun::startChecksTheLimits()
{
    Bench bench({"1"});
    // Typed before the limit was lowered, and one box still being typed in (never completed).
    (void)bench.panel.setValueText(FinishRow, SetPoint::Ch1Current, "2.5");
    (void)bench.panel.setValueText(1, SetPoint::Ch2Voltage, "33.5");
    SetPointValues limits = SupplyLimits;
    valueOf(limits, SetPoint::Ch1Current) = 2000;
    bench.panel.setLimits(limits);
    const Status refused = bench.panel.start();
    QVERIFY(!refused);
    QCOMPARE(refused.failure().text,
             std::string("Finish: CH1 current 2.500 A is above the limit of 2.000 A. The run was "
                         "not started."));
    QVERIFY(bench.link.sent.empty());
    QVERIFY(!bench.panel.running());
    // The box above the supply's own range is reset at Start, as any completed entry.
    (void)bench.panel.setValueText(FinishRow, SetPoint::Ch1Current, "2");
    bench.panel.showManualPanel(); // a script starts it: the table shows, whatever was shown
    QVERIFY(bench.panel.start());
    QCOMPARE(bench.panel.view().panel, PanelShown::Auto);
    QCOMPARE(bench.link.sent.front(), std::string("8D0064000000000000"));
    QCOMPARE(bench.panel.tableTexts().value(1, SetPoint::Ch2Voltage), std::string(" 0"));
}

void TestRun::progress_data()
{
    QTest::addColumn<int>("cycles");
    QTest::addColumn<int>("second");
    QTest::addColumn<QString>("status");
    QTest::newRow("at Start")
            << 1 << 0 << "Step 1 of 2 \u00b7 3 s left in this step \u00b7 run ends in 0:01:05";
    QTest::newRow("last tick of step 1")
            << 1 << 2 << "Step 1 of 2 \u00b7 1 s left in this step \u00b7 run ends in 0:01:03";
    QTest::newRow("first tick of step 2")
            << 1 << 3 << "Step 2 of 2 \u00b7 62 s left in this step \u00b7 run ends in 0:01:02";
    QTest::newRow("first tick of cycle 2")
            << 5 << 65
            << "Cycle 2 of 5 \u00b7 Step 1 of 2 \u00b7 3 s left in this step \u00b7 run ends in "
               "0:04:20";
    QTest::newRow("until Stop")
            << UntilStop << 131
            << "Cycle 3, until Stop \u00b7 Step 1 of 2 \u00b7 2 s left in this step";
}

void TestRun::progress()
{
    QFETCH(int, cycles);
    QFETCH(int, second);
    QFETCH(QString, status);
    Bench bench({"2", "61"}, cycles);
    (void)bench.panel.start();
    for (int tick = 1; tick <= second; ++tick) {
        bench.clock.advanceMs(1000);
        bench.panel.tick();
    }
    QCOMPARE(QString::fromStdString(runStatusText(*bench.panel.progress())), status);
    QCOMPARE(QString::fromStdString(durationText(std::int64_t(MaxStepSeconds) * 9 * 9999)),
             QString("24997475:00:09"));
}

void TestRun::manyCyclesKeepTheirTime()
{
    // 9,999 cycles of one-second steps on a clock that jitters: the plan's frames at its ticks,
    // no drift, and the heap no larger at the end than after a hundred cycles.
    Bench bench({"1", "0"}, MaxRepeat);
    const auto heapInUse = [&bench] {
        bench.link.sent.clear();
        bench.link.sent.shrink_to_fit();
        bench.recorder.meanings.clear();
        bench.recorder.meanings.shrink_to_fit();
        return mallinfo2().uordblks;
    };
    const std::int64_t start = bench.clock.now;
    (void)bench.panel.start();
    std::size_t frames = 1;
    std::size_t heapEarly = 0;
    for (qint64 second = 1; bench.panel.running(); ++second) {
        bench.clock.now = start + second * TickPeriodNs + (second % 3) * 400'000;
        const std::size_t before = bench.link.sent.size();
        bench.panel.tick();
        frames += bench.link.sent.size() - before;
        if (second == 200)
            heapEarly = heapInUse();
        if (second == 10'000) {
            QCOMPARE(*bench.panel.nsUntilNextTick(), TickPeriodNs - (second % 3) * 400'000);
            QCOMPARE(bench.panel.progress()->behindNs, std::int64_t(0));
        }
    }
    QCOMPARE(Bench::rowOf(bench.link.sent.back()), 2);
    QCOMPARE(frames, std::size_t(MaxRepeat + 1));
    QVERIFY2(heapInUse() <= heapEarly + 4096, "the run's memory grew with its cycles");
}

QTEST_GUILESS_MAIN(TestRun)
#include "tst_run.moc"
