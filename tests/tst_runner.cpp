// The auto sequence played tick by tick against a panel that records every call.

#include "common/colors.h"
#include "sequence/runner.h"
#include "sequence/steptime.h"

#include <QTest>

#include <array>
#include <string>

using mq7410::PanelState;
namespace Colors = mq7410::Colors;

Q_DECLARE_METATYPE(std::string)

namespace {

constexpr int Steps = 9;

// Stands for the window: nine Time boxes and step labels, the running state, the frames.
struct FakePanel : mq7410::RunnerPanel
{
    explicit FakePanel(PanelState &state)
        : m_state(state)
    {
        times.fill("0"); // the boxes' text at start-up
        colors.fill(Colors::IdleStep);
    }

    std::string timeText(int step) const override { return valid(step) ? times[step] : ""; }
    void setTimeText(int step, const std::string &text) override
    {
        log << QStringLiteral("Time%1=\"%2\"").arg(step).arg(QString::fromStdString(text));
        if (valid(step))
            times[step] = text;
    }
    void setStepColor(int step, std::uint32_t color) override
    {
        const QString name = color == Colors::RunningStep ? QStringLiteral("red")
                             : color == Colors::IdleStep  ? QStringLiteral("normal")
                                                          : QString::number(color, 16);
        log << QStringLiteral("Step%1 %2").arg(step).arg(name);
        if (valid(step))
            colors[step] = color;
    }
    void setRunning(bool on) override
    {
        log << (on ? QStringLiteral("running on") : QStringLiteral("running off"));
        running = on;
    }
    bool sendRow(int row) override
    {
        ++sends;
        lastRowSent = row;
        const bool fails = sends == failingSend;
        log << QStringLiteral("send %1%2").arg(row).arg(fails ? " failed" : "");
        // The window stops the timer before it shows its error box.
        if (fails && endsRunOnFailure)
            mq7410::endRun(m_state, *this);
        return !fails;
    }

    static bool valid(int step) { return step >= 1 && step <= Steps; }

    // Index 0 is unused: steps count from 1.
    std::array<std::string, Steps + 1> times{};
    std::array<std::uint32_t, Steps + 1> colors{};
    bool running = false;
    int sends = 0;
    int lastRowSent = -1;
    int failingSend = 0; // the n-th frame of the test fails; 0: none
    bool endsRunOnFailure = false;
    QStringList log;

private:
    PanelState &m_state;
};

// What a red label, the running flag and the counters must agree on between two events.
QString inconsistency(const PanelState &state, const FakePanel &panel)
{
    const bool active = state.SeqRunning != mq7410::Off;
    if (panel.running != active)
        return QStringLiteral("panel running %1, SeqRunning %2").arg(panel.running).arg(active);
    if (!active && state.StepsDone != 0)
        return QStringLiteral("StepsDone %1 while idle").arg(state.StepsDone);
    for (int step = 1; step <= Steps; ++step) {
        const bool red = panel.colors[step] == Colors::RunningStep;
        if (red != (active && step == state.StepsDone + 1))
            return QStringLiteral("Step%1 red: %2, StepsDone %3")
                    .arg(step)
                    .arg(red)
                    .arg(state.StepsDone);
    }
    return {};
}

// The calls made by one event, joined; any inconsistency afterwards is appended.
template<typename Event>
QString record(PanelState &state, FakePanel &panel, Event event)
{
    panel.log.clear();
    event(state, panel);
    QString calls = panel.log.join(QStringLiteral("; "));
    if (const QString wrong = inconsistency(state, panel); !wrong.isEmpty())
        calls += QStringLiteral(" INCONSISTENT: ") + wrong;
    return calls;
}

// Start, then ticks until the run is over (at most `maxTicks`): the calls of every event.
QStringList play(PanelState &state, FakePanel &panel, int maxTicks = 1000)
{
    QStringList events{record(state, panel, mq7410::startRun)};
    for (int tick = 0; tick < maxTicks && state.SeqRunning != mq7410::Off; ++tick)
        events << record(state, panel, mq7410::tickRun);
    return events;
}

QStringList timeTexts(const FakePanel &panel)
{
    QStringList texts;
    for (int step = 1; step <= Steps; ++step)
        texts << QString::fromStdString(panel.times[step]);
    return texts;
}

QStringList nineTimes(QStringList first, const QString &rest = QStringLiteral("0"))
{
    while (first.size() < Steps)
        first << rest;
    return first;
}

QString shown(int step, int seconds)
{
    return QStringLiteral("Time%1=\" %2\"").arg(step).arg(seconds);
}

QString movesOn(int ended)
{
    return QStringLiteral("Time%1=\" 0\"; Step%1 normal; Step%2 red; send %2")
            .arg(ended)
            .arg(ended + 1);
}

QString endsEntering(int ended)
{
    return QStringLiteral("Time%1=\" 0\"; Step%1 normal; running off; send %2")
            .arg(ended)
            .arg(ended + 1);
}

const QString Started = QStringLiteral("running on; Step1 red; send 1");
const QString EndsAfterStep9 = QStringLiteral("Time9=\" 0\"; Step9 normal; running off; send 0");

// Steps 1 to `count` of one second each: each shows " 1", then moves on.
QStringList oneSecondSteps(int count)
{
    QStringList events{Started};
    for (int step = 1; step <= count; ++step)
        events << shown(step, 1) << movesOn(step);
    return events;
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
    void secondStartAfterAFullRun();
    void firstStepLastsItsWholeSecondsPlusOneTick_data();
    void firstStepLastsItsWholeSecondsPlusOneTick();
    void failedWriteEndsTheRun_data();
    void failedWriteEndsTheRun();
    void nothingHappensWithoutARun();
    void startDuringARunIsIgnored();
};

void TestRunner::stepSeconds_data()
{
    QTest::addColumn<std::string>("text");
    QTest::addColumn<double>("seconds");
    QTest::newRow("whole") << std::string("12") << 12.0;
    QTest::newRow("blank between the digits") << std::string("2 0") << 20.0;
    QTest::newRow("letter after the digits") << std::string("7x") << 7.0;
    QTest::newRow("letters only") << std::string("abc") << 0.0;
    QTest::newRow("empty") << std::string() << 0.0;
    QTest::newRow("half rounds away from zero") << std::string("2.5") << 3.0;
    QTest::newRow("below half rounds down") << std::string("0.4") << 0.0;
    QTest::newRow("half a second") << std::string("0.5") << 1.0;
    QTest::newRow("negative") << std::string("-3") << 0.0;
    QTest::newRow("negative half") << std::string("-2.5") << 0.0;
    QTest::newRow("small negative") << std::string("-0.4") << 0.0;
    QTest::newRow("largest announced") << std::string("999999") << 999999.0;
    QTest::newRow("rounding up to the largest") << std::string("999998.5") << 999999.0;
    QTest::newRow("just above the largest") << std::string("999999.4") << 999999.0;
    QTest::newRow("a million") << std::string("1e6") << 999999.0;
    QTest::newRow("beyond a double is not finite") << std::string("1e999") << 0.0;
    QTest::newRow("four hundred nines") << std::string(400, '9') << 0.0;
    QTest::newRow("negative beyond a double") << std::string("-1e999") << 0.0;
    QTest::newRow("too small for a double") << std::string("1e-400") << 0.0;
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
    QTest::addColumn<QStringList>("events"); // Start, then tick 1, 2, ... to the end
    QTest::addColumn<QStringList>("finalTimes");

    QTest::newRow("every box 0: step 1 lasts one tick, step 2 is sent and ends the run")
            << nineTimes({}) << QStringList{Started, endsEntering(1)} << nineTimes({" 0"});

    QTest::newRow("3, 2, 0: frames on ticks 0, 4 and 7")
            << nineTimes({"3", "2", "0"})
            << QStringList{Started,    shown(1, 3), shown(1, 2), shown(1, 1),
                           movesOn(1), shown(2, 2), shown(2, 1), endsEntering(2)}
            << nineTimes({" 0", " 0", "0"});

    QTest::newRow("blank Time1 lasts one tick, then 5 in Time2 six")
            << nineTimes({"", "5"})
            << QStringList{Started,     movesOn(1),  shown(2, 5), shown(2, 4),
                           shown(2, 3), shown(2, 2), shown(2, 1), endsEntering(2)}
            << nineTimes({" 0", " 0"});

    QStringList twenty{Started};
    for (int seconds = 20; seconds >= 1; --seconds)
        twenty << shown(1, seconds);
    twenty << endsEntering(1);
    QTest::newRow("2 0 in Time1 counts down from 20")
            << nineTimes({"2 0"}) << twenty << nineTimes({" 0"});

    QTest::newRow("0.5 counts as 1, -3 in Time2 as 0")
            << nineTimes({"0.5", "-3"}) << QStringList{Started, shown(1, 1), endsEntering(1)}
            << nineTimes({" 0", "-3"});

    QTest::newRow("2.4 counts as 2, letters in Time3 as 0")
            << nineTimes({"0", "2.4", "abc"})
            << QStringList{Started, movesOn(1), shown(2, 2), shown(2, 1), endsEntering(2)}
            << nineTimes({" 0", " 0", "abc"});

    QTest::newRow("time 0 in step 5 ends the run after sending row 5")
            << nineTimes({"1", "1", "1", "1", " 0"}, QStringLiteral("9"))
            << oneSecondSteps(3) + QStringList{shown(4, 1), endsEntering(4)}
            << nineTimes({" 0", " 0", " 0", " 0", " 0"}, QStringLiteral("9"));

    QTest::newRow("all nine times 1: ten frames, the Finish row last")
            << nineTimes({}, QStringLiteral("1"))
            << oneSecondSteps(8) + QStringList{shown(9, 1), EndsAfterStep9}
            << nineTimes({}, QStringLiteral(" 0"));
}

void TestRunner::play()
{
    QFETCH(QStringList, times);
    QFETCH(QStringList, events);
    QFETCH(QStringList, finalTimes);

    PanelState state;
    FakePanel panel(state);
    for (int step = 1; step <= Steps; ++step)
        panel.times[step] = times[step - 1].toStdString();

    QCOMPARE(::play(state, panel), events);
    QCOMPARE(timeTexts(panel), finalTimes);
    for (int tick = 0; tick < 3; ++tick)
        QCOMPARE(record(state, panel, mq7410::tickRun), QString());
}

void TestRunner::secondStartAfterAFullRun()
{
    // The first run leaves " 0" in every box: the second one ends on entering step 2.
    PanelState state;
    FakePanel panel(state);
    for (int step = 1; step <= Steps; ++step)
        panel.times[step] = "1";
    QCOMPARE(::play(state, panel).size(), 19);
    QCOMPARE(panel.lastRowSent, 0);

    QCOMPARE(::play(state, panel), (QStringList{Started, endsEntering(1)}));
    QCOMPARE(panel.sends, 12);
}

void TestRunner::firstStepLastsItsWholeSecondsPlusOneTick_data()
{
    QTest::addColumn<std::string>("time1");
    QTest::addColumn<int>("ticks");
    QTest::newRow("2.5 rounds to 3") << std::string("2.5") << 4;
    QTest::newRow("-1e999 counts as 0") << std::string("-1e999") << 1;
    QTest::newRow("1e999 counts as 0") << std::string("1e999") << 1;
    QTest::newRow("1e6 is capped") << std::string("1e6") << 1'000'000;
}

void TestRunner::firstStepLastsItsWholeSecondsPlusOneTick()
{
    // Every run ends: texts that would never count down to exactly 0 are made whole and capped.
    QFETCH(std::string, time1);
    QFETCH(int, ticks);

    PanelState state;
    FakePanel panel(state);
    panel.times[1] = time1;
    mq7410::startRun(state, panel);
    int ticked = 0;
    for (; ticked < 1'000'010 && state.SeqRunning != mq7410::Off; ++ticked) {
        panel.log.clear(); // a million entries would only cost memory
        mq7410::tickRun(state, panel);
    }
    QCOMPARE(ticked, ticks);
    QCOMPARE(panel.log.last(), QStringLiteral("send 2"));
    QCOMPARE(panel.sends, 2);
    QCOMPARE(inconsistency(state, panel), QString());
}

void TestRunner::failedWriteEndsTheRun_data()
{
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<int>("failingSend");
    QTest::addColumn<bool>("windowEndsRun");
    QTest::addColumn<QString>("failingEvent");

    const QStringList allOnes = nineTimes({}, QStringLiteral("1"));
    struct Case
    {
        const char *tag;
        QStringList times;
        int failingSend;
        QString failingEvent;
    };
    const Case cases[] = {
            {"Start's frame", allOnes, 1,
             "running on; Step1 red; send 1 failed; Step1 normal; running off"},
            {"step 3's frame", allOnes, 3,
             "Time2=\" 0\"; Step2 normal; Step3 red; send 3 failed; Step3 normal; running off"},
            {"Finish frame", allOnes, 10, EndsAfterStep9 + " failed"},
            {"frame of the step whose time 0 ends the run", nineTimes({"1", "0"}), 2,
             endsEntering(1) + " failed"},
    };
    for (const Case &c : cases) {
        for (bool windowEndsRun : {true, false}) {
            const QByteArray tag = QByteArray(c.tag)
                                   + (windowEndsRun ? ", window ends the run in the send"
                                                    : ", window leaves the end to the runner");
            QTest::newRow(tag.constData())
                    << c.times << c.failingSend << windowEndsRun << c.failingEvent;
        }
    }
}

void TestRunner::failedWriteEndsTheRun()
{
    QFETCH(QStringList, times);
    QFETCH(int, failingSend);
    QFETCH(bool, windowEndsRun);
    QFETCH(QString, failingEvent);

    PanelState state;
    FakePanel panel(state);
    for (int step = 1; step <= Steps; ++step)
        panel.times[step] = times[step - 1].toStdString();
    panel.failingSend = failingSend;
    panel.endsRunOnFailure = windowEndsRun;

    // The same calls whoever ends the run: ending twice shows nothing twice.
    QCOMPARE(::play(state, panel).last(), failingEvent);
    QCOMPARE(panel.sends, failingSend);
    for (int tick = 0; tick < 3; ++tick)
        QCOMPARE(record(state, panel, mq7410::tickRun), QString());
    QCOMPARE(record(state, panel, mq7410::endRun), QString());
    QCOMPARE(panel.sends, failingSend);
}

void TestRunner::nothingHappensWithoutARun()
{
    // A time left over from a run that a failed write cut short does not count down.
    PanelState state;
    state.StepTimeLeft = 5.0;
    FakePanel panel(state);
    for (int tick = 0; tick < 3; ++tick)
        QCOMPARE(record(state, panel, mq7410::tickRun), QString());
    QCOMPARE(record(state, panel, mq7410::endRun), QString());
    QCOMPARE(state.StepTimeLeft, 5.0);
    QCOMPARE(state.StepsDone, std::int16_t(0));
    QCOMPARE(panel.sends, 0);
}

void TestRunner::startDuringARunIsIgnored()
{
    PanelState state;
    FakePanel panel(state);
    panel.times[1] = "5";
    panel.times[2] = "5";
    mq7410::startRun(state, panel);
    for (int tick = 0; tick < 7; ++tick)
        mq7410::tickRun(state, panel); // step 2 has begun
    QCOMPARE(state.StepsDone, std::int16_t(1));

    QCOMPARE(record(state, panel, mq7410::startRun), QString());
    QCOMPARE(state.StepsDone, std::int16_t(1));
    QCOMPARE(state.StepTimeLeft, 4.0);
    QCOMPARE(panel.sends, 2);
}

QTEST_GUILESS_MAIN(TestRunner)
#include "tst_runner.moc"
