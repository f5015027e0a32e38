// Random use of the core, seeded: whatever the user does and whenever the line refuses, every
// frame is whole and in range, a refused action changes nothing on the panel, and a run sends
// exactly the frames of its plan at the ticks of its plan, then ends.
//
//   MQ7410_PROPERTY_SEED=N MQ7410_PROPERTY_ROUNDS=M tst_properties   (defaults: 1 and 300)

#include "doubles/doubles.h"

#include "core/frame.h"
#include "core/frontpanel.h"

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

// The frame is one of the grammar's, every value within its limit.
bool wellFormed(const std::string &frame)
{
    const std::optional<Frame> parsed = parseFrame(frame);
    return parsed && !parsed->outOfRange();
}

bool sameView(const PanelView &a, const PanelView &b)
{
    return a.displays == b.displays && a.outputCaption == b.outputCaption
           && a.serialCaption == b.serialCaption && a.linkBanner == b.linkBanner
           && a.editTarget == b.editTarget && a.table == b.table;
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
        for (int event = 0; event < 200; ++event) {
            const bool refuse = random.below(8) == 0;
            link.refuseWith = refuse ? "refused" : "";
            const std::size_t sentBefore = link.sent.size();
            const PanelView before = panel.view();
            Outcome outcome; // of a manual action: a refused one must leave the panel as it was
            switch (random.below(10)) {
            case 0:
                panel.select(AllSetPoints[std::size_t(random.below(SetPointCount))]);
                break;
            case 1:
            case 2:
                panel.pressDigit(random.below(10));
                break;
            case 3:
                outcome = random.below(3) == 0 ? panel.toggleOutput() : panel.enter();
                break;
            case 4:
                outcome = panel.toggleSeriesLink();
                break;
            case 5:
                panel.setValueText(random.below(RowCount),
                                   AllSetPoints[std::size_t(random.below(SetPointCount))],
                                   random.text());
                break;
            case 6:
                panel.setTimeText(1 + random.below(StepCount), random.text());
                break;
            case 7:
                random.below(2) ? panel.showAutoPanel() : panel.showManualPanel();
                break;
            default: {
                panel.showAutoPanel();
                (void)panel.start();
                if (!panel.running())
                    break;
                const SequenceNumbers numbers = numbersOf(panel.tableTexts());
                const std::vector<PlanSegment> plan = segmentsOf(planRun(numbers.seconds), numbers);
                std::vector<int> ticks{0};
                for (int tick = 1; panel.running() && tick <= plan.back().startTick; ++tick) {
                    link.refuseWith = random.below(50) == 0 ? "refused" : "";
                    const std::size_t sent = link.sent.size();
                    clock.advanceMs(1000);
                    if (random.below(20) == 0) // Stop sends the Finish row and ends the run
                        (void)panel.stop();
                    else
                        (void)panel.tick();
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
                QVERIFY2(wellFormed(link.sent[i]), link.sent[i].c_str());
            if (outcome.refused())
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
