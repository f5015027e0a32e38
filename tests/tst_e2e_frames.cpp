// The front panel against the virtual supply, end to end: clicks on the real window, frames
// through the real Qt serial port and a pseudo-terminal, decoded by mq7410-sim.

#include "support/realpanel.h"
#include "support/simprocess.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

using namespace mq7410;
using namespace mq7410::test;

namespace {

constexpr int WaitMs = SimProcess::WaitMs;
// The boxes of a start-up on which the user takes COM 1.
const QStringList AcceptedCom1{"Power Supply|Find Com 1, Using it?|36",
                               "Power Supply|Using COM1:|64"};

} // namespace

class TestE2eFrames : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void workedExampleByClicks();
    void wholeEntrySession();
    void lineSettingsBeforeTheFirstFrame();
    void framesBeforeTheEndArriveWhole_data();
    void framesBeforeTheEndArriveWhole();

private:
    std::unique_ptr<SimProcess> m_sim;
    std::unique_ptr<ScopedPorts> m_ports;
    std::unique_ptr<RealPanel> m_panel;
};

void TestE2eFrames::init()
{
    m_sim = std::make_unique<SimProcess>();
    QVERIFY(m_sim->start());
    m_ports = std::make_unique<ScopedPorts>(m_sim->device().toLocal8Bit());
    m_panel = std::make_unique<RealPanel>();
    QVERIFY(m_panel->load({BoxAnswer::Yes}));
    QCOMPARE(m_panel->boxTexts(), AcceptedCom1);
    m_panel->boxes.shown.clear();
    m_panel->form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_panel->form.get()));
}

void TestE2eFrames::cleanup()
{
    m_panel.reset();
    m_ports.reset();
    m_sim.reset();
}

void TestE2eFrames::workedExampleByClicks()
{
    RealPanel &panel = *m_panel;
    panel.click("CH1VCommand");
    panel.type("1234");
    panel.click("EnterCommand");
    panel.click("CH1ACommand");
    panel.type("1500");
    panel.click("EnterCommand");
    panel.click("CH2VCommand");
    panel.type("500");
    panel.click("EnterCommand");
    panel.click("CH2ACommand");
    panel.type("250");
    panel.click("EnterCommand");
    panel.click("OutputCommand");
    panel.click("SerialCommand");
    panel.click("SerialCommand");

    const QStringList expected{"8804D2", "8705DC",     "8A01F4",    "8900FA",
                               "8CF0F0", "8F05DC04D2", "8E00FA01F4"};
    QTRY_COMPARE_WITH_TIMEOUT(m_sim->frames(), expected, WaitMs);
    QCOMPARE(m_sim->state(), supplyState(1234, 1500, 500, 250, true, false));
    QVERIFY(m_sim->records("skipped").isEmpty());
    for (const QJsonObject &frame : m_sim->records("frame"))
        QVERIFY(!frame["out_of_range"].toBool());
    QVERIFY(panel.boxes.shown.empty());
}

// Selectors, digits past the limit, Enter, and the link mirroring channel 1 onto channel 2.
// What the displays show on the way is compared after every click by tst_randompanel.
void TestE2eFrames::wholeEntrySession()
{
    RealPanel &panel = *m_panel;
    panel.click("CH1VCommand");
    panel.type("1234500");       // the 5 would make 123.45 V: it starts a new value
    panel.click("EnterCommand"); // 5.00 V
    panel.click("CH1ACommand");
    panel.type("30001250"); // 3.000 A is the limit itself; the 1 starts again
    panel.click("EnterCommand");
    panel.click("CH2VCommand");
    panel.type("3200");
    panel.click("EnterCommand");
    panel.click("CH2ACommand");
    panel.type("75");
    panel.click("EnterCommand");

    panel.click("SerialCommand"); // channel 2 takes channel 1's 5.00 V and 1.250 A
    panel.click("CH1VCommand");
    panel.type("99");            // from 5.00 V the 9 starts again; channel 2 follows on screen
    panel.click("EnterCommand"); // sends channel 1 only
    panel.click("CH2ACommand");
    panel.type("4"); // on channel 2 while linked: channel 1's current wins
    panel.click("EnterCommand");
    panel.click("SerialCommand"); // channel 2 back to what was last sent for it
    panel.click("OutputCommand");

    const QStringList expected{"8801F4", "8704E2", "8A0C80",     "89004B", "8F04E201F4",
                               "880063", "8904E2", "8E04E20C80", "8CF0F0"};
    QTRY_COMPARE_WITH_TIMEOUT(m_sim->frames(), expected, WaitMs);
    QCOMPARE(m_sim->state(), supplyState(99, 1250, 3200, 1250, true, false));
    QCOMPARE(panel.port.tried.size(), std::size_t(expected.size())); // each frame once
    QVERIFY(panel.boxes.shown.empty());
}

void TestE2eFrames::lineSettingsBeforeTheFirstFrame()
{
    m_panel->click("EnterCommand");
    QTRY_COMPARE_WITH_TIMEOUT(m_sim->frames(), QStringList{"880000"}, WaitMs);

    QJsonObject line;
    for (const QJsonObject &record : m_sim->records()) {
        if (record["event"].toString() == QLatin1String("frame"))
            break;
        if (record["event"].toString() == QLatin1String("settings"))
            line = record;
    }
    QCOMPARE(line["initial"].toBool(), false); // the panel set them: not the pty's own
    QCOMPARE(line["baud"].toInt(), 115200);
    QCOMPARE(line["data_bits"].toInt(), 8);
    QCOMPARE(line["parity"].toString(), QStringLiteral("none"));
    QCOMPARE(line["stop_bits"].toInt(), 1);
    QCOMPARE(line["flow_control"].toString(), QStringLiteral("none"));
    QCOMPARE(line["matches_supply"].toBool(), true);
}

// The port is drained before it is let go: whatever was clicked before the end arrives whole.
void TestE2eFrames::framesBeforeTheEndArriveWhole_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<bool>("closeWindow"); // else the menu's Exit
    QTest::addColumn<QStringList>("frames");

    QTest::newRow("Exit right after Enter")
            << QStringList{"EnterCommand"} << false << QStringList{"880000"};
    QTest::newRow("window closed right after the link")
            << QStringList{"SerialCommand", "SerialCommand"} << true
            << QStringList{"8F00000000", "8E00000000"};
    QStringList clicks;
    QStringList frames;
    for (int i = 0; i < 40; ++i) {
        clicks << "OutputCommand";
        frames << (i % 2 ? "8C0F0F" : "8CF0F0");
    }
    QTest::newRow("Exit after forty frames in a row") << clicks << false << frames;
}

void TestE2eFrames::framesBeforeTheEndArriveWhole()
{
    QFETCH(QStringList, clicks);
    QFETCH(bool, closeWindow);
    QFETCH(QStringList, frames);

    QSignalSpy ended(m_panel->form.get(), &UIForm::endRequested);
    for (const QString &button : clicks)
        m_panel->click(button);
    if (closeWindow)
        m_panel->form->close();
    else
        m_panel->form->findChild<QAction *>(QStringLiteral("Exit"))->trigger();
    QCOMPARE(ended.count(), 1);
    QVERIFY(!m_panel->serial.isOpen());

    QTRY_COMPARE_WITH_TIMEOUT(m_sim->frames(), frames, WaitMs);
    QVERIFY(m_sim->records("skipped").isEmpty());
    QVERIFY(m_panel->boxes.shown.empty());
    // And the port is free again for whoever comes next.
    QtSerialPort next;
    QVERIFY(next.selectPort(1) && next.setSettings("115200 N 8 1"));
    QVERIFY2(next.open(), next.errorString().c_str());
}

QTEST_MAIN(TestE2eFrames)
#include "tst_e2e_frames.moc"
