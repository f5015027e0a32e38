// A short sequence played in real time over the virtual supply: every step's set-points
// arrive, in order, and the run ends with the table usable again.

#include "support/realpanel.h"
#include "support/simprocess.h"

#include <QLineEdit>
#include <QTest>

using namespace mq7410;
using namespace mq7410::test;

class TestE2eSequence : public QObject
{
    Q_OBJECT
private slots:
    void shortRun();
};

void TestE2eSequence::shortRun()
{
    SimProcess sim;
    QVERIFY(sim.start());
    const ScopedPorts ports(sim.device().toLocal8Bit());
    RealPanel panel;
    QVERIFY(panel.load({BoxAnswer::Yes}));
    panel.boxes.shown.clear();
    panel.form->show();
    panel.form->Auto_Click();

    const auto box = [&panel](const char *name) {
        return panel.find<QLineEdit>(QLatin1String(name));
    };
    // Step 1 (time 1) lasts two ticks, step 2 (time 0) ends the run as it starts.
    box("Time1")->setText("1");
    box("Time2")->setText("0");
    box("CH1V2")->setText("12.34");
    box("CH1I2")->setText("1.5");
    box("CH2V2")->setText("5");
    box("CH2I2")->setText("0.25");
    box("CH1V3")->setText("32");
    box("CH2I3")->setText("3");

    panel.click("Start");
    QVERIFY(!panel.find<QWidget>("Start")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(panel.form->state().SeqRunning == Off, SimProcess::WaitMs);

    const QStringList frames{"8D04D205DC01F400FA", "8D0C80000000000BB8"};
    QTRY_COMPARE_WITH_TIMEOUT(sim.frames(), frames, SimProcess::WaitMs);
    QCOMPARE(sim.state(), supplyState(3200, 0, 0, 3000, false, false));
    QVERIFY(panel.find<QWidget>("Start")->isEnabled());
    QCOMPARE(panel.port.tried.size(), 2u);
    QVERIFY(panel.boxes.shown.empty());
}

QTEST_MAIN(TestE2eSequence)
#include "tst_e2e_sequence.moc"
