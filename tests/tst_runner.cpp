// The auto sequence played tick by tick against a panel that records what the runner does.
// The window's every text and colour during runs is compared with the model by
// tst_randompanel; this pins the step rules themselves.

#include "common/colors.h"
#include "sequence/runner.h"
#include "sequence/steptime.h"

#include <QTest>

#include <algorithm>
#include <array>
#include <string>

using mq7410::PanelState;
namespace Colors = mq7410::Colors;

Q_DECLARE_METATYPE(std::string)

namespace {

constexpr int Steps = 9;

// Stands for the window: nine Time boxes and step labels, the running state, the rows sent.
struct FakePanel : mq7410::RunnerPanel
{
    explicit FakePanel(const QStringList &timeTexts = {})
    {
        times.fill("0"); // the boxes' text at start-up
        colors.fill(Colors::IdleStep);
        for (int step = 1; step <= timeTexts.size(); ++step)
            times[step] = timeTexts[step - 1].toStdString();
    }

    std::string timeText(int step) const override { return times.at(step); }
    void setTimeText(int step, const std::string &text) override { times.at(step) = text; }
    void setStepColor(int step, std::uint32_t color) override { colors.at(step) = color; }
    void setRunning(bool on) override { running = on; }
    bool sendRow(int row) override
    {
        rows << row;
        return rows.size() != failingSend;
    }

    // Index 0 is unused: steps count from 1.
    std::array<std::string, Steps + 1> times{};
    std::array<std::uint32_t, Steps + 1> colors{};
    bool running = false;
    QList<int> rows;     // every row sent, in order
    int failingSend = 0; // the n-th send of the test fails; 0: none

    // After a run: the panel usable again and no label red.
    bool idle() const
    {
        return !running && std::count(colors.begin(), colors.end(), Colors::IdleStep) == Steps + 1;
    }
    // Everything a tick could change, to show that nothing did.
    QString snapshot() const
    {
        QStringList parts;
        for (int step = 1; step <= Steps; ++step)
            parts << QString::fromStdString(times[step]) + '/' + QString::number(colors[step]);
        return parts.join('|')
               + QStringLiteral(" running %1, %2 rows").arg(running).arg(rows.size());
    }
};

// Start (tick 0), then ticks until the run is over: the tick of every row sent.
QList<int> play(PanelState &state, FakePanel &panel)
{
    QList<int> sendTicks;
    for (int tick = 0; tick <= 1'000'010; ++tick) {
        const qsizetype sentBefore = panel.rows.size();
        if (tick == 0)
            mq7410::startRun(state, panel);
        else
            mq7410::tickRun(state, panel);
        for (qsizetype i = sentBefore; i < panel.rows.size(); ++i)
            sendTicks << tick;
        if (state.SeqRunning == mq7410::Off)
            break;
    }
    return sendTicks;
}

QStringList timeTexts(const FakePanel &panel)
{
    QStringList texts;
    for (int step = 1; step <= Steps; ++step)
        texts << QString::fromStdString(panel.times[step]);
    return texts;
}

QStringList nine(QStringList first, const QString &rest = QStringLiteral("0"))
{
    while (first.size() < Steps)
        first << rest;
    return first;
}

} // namespace

class TestRunner : public QObject
{
    Q_OBJECT
private slots:
    void stepSeconds_data();
    void stepSeconds();
    void play_data();
    void play();
    void startDuringAndAfterARun();
    void failedWriteEndsTheRun_data();
    void failedWriteEndsTheRun();
};

void TestRunner::stepSeconds_data()
{
    QTest::addColumn<std::string>("text");
    QTest::addColumn<double>("seconds");
    QTest::newRow("half rounds away from zero") << std::string("2.5") << 3.0;
    QTest::newRow("below half rounds down") << std::string("0.4") << 0.0;
    QTest::newRow("negative") << std::string("-3") << 0.0;
    QTest::newRow("largest announced") << std::string("999999") << 999999.0;
    QTest::newRow("capped before it would round up") << std::string("999999.6") << 999999.0;
    QTest::newRow("a million") << std::string("1e6") << 999999.0;
    QTest::newRow("beyond a double is not finite") << std::string("1e999") << 0.0;
    QTest::newRow("negative beyond a double") << std::string("-1e999") << 0.0;
}

void TestRunner::stepSeconds()
{
    QFETCH(std::string, text);
    QFETCH(double, seconds);
    QCOMPARE(mq7410::stepSeconds(text), seconds);
}

void TestRunner::play_data()
{
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<QList<int>>("sendTicks"); // Start is tick 0
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QStringList>("finalTimes");

    QTest::newRow("every box 0: step 1 lasts one tick, step 2 ends the run")
            << nine({}) << QList<int>{0, 1} << QList<int>{1, 2} << nine({" 0"});
    QTest::newRow("3, 2, 0: frames on ticks 0, 4 and 7")
            << nine({"3", "2", "0"}) << QList<int>{0, 4, 7} << QList<int>{1, 2, 3}
            << nine({" 0", " 0", "0"});
    QTest::newRow("2 0 in Time1 counts down from 20")
            << nine({"2 0"}) << QList<int>{0, 21} << QList<int>{1, 2} << nine({" 0"});
    QTest::newRow("1e999 counts as 0") << nine({"1e999", "1"}, "abc") << QList<int>{0, 1, 3}
                                       << QList<int>{1, 2, 3} << nine({" 0", " 0"}, "abc");
    QTest::newRow("1e6 is capped at 999999 seconds")
            << nine({"1e6"}) << QList<int>{0, 1'000'000} << QList<int>{1, 2} << nine({" 0"});
    QTest::newRow("all nine times 1: ten frames, the Finish row last")
            << nine({}, "1") << QList<int>{0, 2, 4, 6, 8, 10, 12, 14, 16, 18}
            << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0} << nine({}, " 0");
}

void TestRunner::play()
{
    QFETCH(QStringList, times);
    QFETCH(QList<int>, sendTicks);
    QFETCH(QList<int>, rows);
    QFETCH(QStringList, finalTimes);

    PanelState state;
    FakePanel panel(times);
    QCOMPARE(::play(state, panel), sendTicks);
    QCOMPARE(panel.rows, rows);
    QCOMPARE(timeTexts(panel), finalTimes);
    QVERIFY(panel.idle());
    // Over: later ticks do nothing at all.
    const QString before = panel.snapshot();
    for (int tick = 0; tick < 3; ++tick)
        mq7410::tickRun(state, panel);
    QCOMPARE(panel.snapshot(), before);
}

void TestRunner::startDuringAndAfterARun()
{
    PanelState state;
    FakePanel panel(nine({"1", "5"}, "1"));
    mq7410::startRun(state, panel);
    for (int tick = 0; tick < 2; ++tick)
        mq7410::tickRun(state, panel); // step 2 has begun
    const QString before = panel.snapshot();
    mq7410::startRun(state, panel); // two runs never overlap
    QCOMPARE(panel.snapshot(), before);
    QCOMPARE(state.StepsDone, std::int16_t(1));
    QCOMPARE(state.StepTimeLeft, 5.0);

    // The first run leaves " 0" in every box: a second one ends on entering step 2.
    ::play(state, panel); // the rest of the first run
    QCOMPARE(panel.rows.last(), 0);
    panel.rows.clear();
    QCOMPARE(::play(state, panel), (QList<int>{0, 1}));
    QCOMPARE(panel.rows, (QList<int>{1, 2}));
    QVERIFY(panel.idle());
}

// The window ends the run itself before it shows the error box (tst_randompanel fails writes
// during runs); the runner must end it too when the window does not.
void TestRunner::failedWriteEndsTheRun_data()
{
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<int>("failingSend");

    QTest::newRow("Start's frame") << nine({}, "1") << 1;
    QTest::newRow("step 3's frame") << nine({}, "1") << 3;
    QTest::newRow("Finish frame") << nine({}, "1") << 10;
}

void TestRunner::failedWriteEndsTheRun()
{
    QFETCH(QStringList, times);
    QFETCH(int, failingSend);

    PanelState state;
    FakePanel panel(times);
    panel.failingSend = failingSend;
    ::play(state, panel);
    QCOMPARE(panel.rows.size(), failingSend);
    QVERIFY(panel.idle());
    // Over: ticks, and ending it again, do nothing.
    const QString before = panel.snapshot();
    for (int tick = 0; tick < 3; ++tick)
        mq7410::tickRun(state, panel);
    mq7410::endRun(state, panel);
    QCOMPARE(panel.snapshot(), before);
}

QTEST_GUILESS_MAIN(TestRunner)
#include "tst_runner.moc"
