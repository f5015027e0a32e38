// SPDX-License-Identifier: GPL-3.0-or-later
// Random use of the core, seeded: whatever the user or a script does, whatever the limits and
// whenever the line refuses, every frame is whole and within the limits, a refused action
// changes nothing on the panel, and a run sends exactly the frames of its plan at the ticks of
// its plan, then ends.
//
//   MQ7410_PROPERTY_SEED=N MQ7410_PROPERTY_ROUNDS=M tst_properties   (defaults: 0 and 300)

#include "doubles.h"

#include "frame.h"
#include "frontpanel.h"

#include <QTest>

#include <random>

using namespace mq7410;
using namespace mq7410::test;

namespace {

const std::vector<std::string> Texts{"0",  "1", "3",  "32",     "32.01",  "2.5A",   "-1", "1e999",
                                     " 0", "",  "x7", "12.345", "3.0001", "999999", "0.4"};

struct Random
{
    explicit Random(unsigned seed)
        : engine(seed)
    {}
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine); }
    const std::string &text() { return Texts[std::size_t(below(int(Texts.size())))]; }
    std::mt19937 engine;
};

// The frame is one of the grammar's, every value within the limits.
bool wellFormed(const std::string &frame, const SetPointValues &limits)
{
    const std::optional<Frame> parsed = parseFrame(frame);
    if (!parsed || parsed->outOfRange())
        return false;
    for (const FieldValue &field : parsed->fields) {
        if (field.value > valueOf(limits, field.setPoint))
            return false;
    }
    return true;
}

bool sameView(const PanelView &a, const PanelView &b)
{
    return a.displays == b.displays && a.outputCaption == b.outputCaption
           && a.serialCaption == b.serialCaption && a.linkBanner == b.linkBanner
           && a.editTarget == b.editTarget && a.table == b.table && a.roles == b.roles;
}

} // namespace

class TestProperties : public QObject
{
    Q_OBJECT
private slots:
    void randomUse();
};

void TestProperties::randomUse()
{
    const unsigned firstSeed = qEnvironmentVariableIntValue("MQ7410_PROPERTY_SEED");
    const int rounds = qEnvironmentVariableIsSet("MQ7410_PROPERTY_ROUNDS")
                               ? qEnvironmentVariableIntValue("MQ7410_PROPERTY_ROUNDS")
                               : 300;
    std::size_t frames = 0;
    for (int round = 0; round < rounds; ++round) {
        const unsigned seed = firstSeed + unsigned(round);
        Random random(seed);
        RecordingLink link;
        ManualClock clock;
        FrontPanel panel(link, clock);
        // Limits of the user's in one round of three; in series channel 1 keeps channel 2's
        // too, so every frame keeps the lowest.
        SetPointValues limits = SupplyLimits;
        if (random.below(3) == 0) {
            for (std::int16_t &limit : limits)
                limit = std::int16_t(random.below(limit + 1));
            panel.setLimits(limits);
        }
        // In series channel 2 follows channel 1: channel 1's frames keep both limits then.
        const auto frameLimits = [&limits](bool linked) {
            SetPointValues within = limits;
            for (const SetPoint ch1 : {SetPoint::Ch1Voltage, SetPoint::Ch1Current}) {
                if (linked)
                    valueOf(within, ch1)
                            = std::min(valueOf(within, ch1), valueOf(limits, onChannel2(ch1)));
            }
            return within;
        };
        for (int event = 0; event < 200; ++event) {
            const bool refuse = random.below(8) == 0;
            link.refuseWith = refuse ? "refused" : "";
            const std::size_t sentBefore = link.sent.size();
            const PanelView before = panel.view();
            const bool linked = panel.seriesLink();
            Status status; // of an action: a refused one must leave the panel as it was
            switch (random.below(11)) {
            case 0:
                panel.select(AllSetPoints[std::size_t(random.below(SetPointCount))]);
                break;
            case 1:
            case 2:
                panel.pressDigit(random.below(10));
                break;
            case 3:
                status = random.below(3) == 0 ? panel.toggleOutput() : panel.enter();
                break;
            case 4:
                status = panel.toggleSeriesLink();
                break;
            case 5:
                status = panel.setValueText(random.below(RowCount),
                                            AllSetPoints[std::size_t(random.below(SetPointCount))],
                                            random.text());
                break;
            case 6:
                status = panel.setTimeText(1 + random.below(StepCount), random.text());
                break;
            case 9: {
                const SetPoint setPoint = AllSetPoints[std::size_t(random.below(SetPointCount))];
                status = panel.setSetPoint(setPoint, random.below(limitOf(setPoint) + 2) - 1);
                break;
            }
            case 7:
                random.below(2) ? panel.showAutoPanel() : panel.showManualPanel();
                break;
            default: {
                panel.showAutoPanel();
                (void)panel.setRepeat(random.below(3));
                if (!panel.start() || !panel.running())
                    break;
                const SequenceNumbers numbers = numbersOf(panel.tableTexts());
                const bool endless = numbers.cycles == UntilStop;
                const std::vector<PlanSegment> plan
                        = segmentsOf(planRun(numbers.seconds, numbers.cycles), numbers, 3);
                std::vector<Tick> ticks{0};
                for (Tick tick = 1; panel.running() && tick <= plan.back().startTick; ++tick) {
                    link.refuseWith = random.below(50) == 0 ? "refused" : "";
                    const std::size_t sent = link.sent.size();
                    clock.advanceMs(1000);
                    if (random.below(20) == 0 || (endless && tick == plan.back().startTick))
                        (void)panel.stop(); // the Finish row ends the run, until Stop too
                    else
                        panel.tick();
                    if (link.sent.size() > sent)
                        ticks.push_back(tick);
                }
                QVERIFY2(!panel.running(), qPrintable(QString("seed %1").arg(seed)));
                // Frames at the ticks of the plan, until one was refused or Stop came.
                for (std::size_t i = 0; i + 1 < ticks.size(); ++i)
                    QCOMPARE(ticks[i], plan.at(i).startTick);
            }
            }
            for (std::size_t i = sentBefore; i < link.sent.size(); ++i)
                QVERIFY2(wellFormed(link.sent[i], frameLimits(linked)), link.sent[i].c_str());
            if (!status)
                QVERIFY2(sameView(before, panel.view()),
                         qPrintable(QString("seed %1, event %2").arg(seed).arg(event)));
        }
        frames += link.sent.size();
    }
    qInfo("PROPERTIES: %d seeds from %u, %zu frames, all whole and in range", rounds, firstSeed,
          frames);
}

QTEST_GUILESS_MAIN(TestProperties)
#include "tst_properties.moc"
