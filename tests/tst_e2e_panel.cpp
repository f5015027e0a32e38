// SPDX-License-Identifier: GPL-3.0-or-later
// The front panel against the virtual supply, end to end: clicks and keys on the real window,
// frames through the real serial line and a pseudo-terminal, decoded by mq7410-sim.

#include "realpanel.h"
#include "simprocess.h"

#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace mq7410;
using namespace mq7410::test;

namespace {

constexpr int WaitMs = SimProcess::WaitMs;

void sendKey(QWidget *to, QEvent::Type type, Qt::Key key, quint64 timestamp)
{
    QKeyEvent event(type, key, Qt::NoModifier);
    event.setTimestamp(timestamp);
    QApplication::sendEvent(to, &event);
}

} // namespace

class TestE2ePanel : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void entrySessionByClicks();
    void optionButtonsSelectLikeTheirSelectors();
    void heldKeysSendOnce();
    void framesBeforeTheEndArriveWhole_data();
    void framesBeforeTheEndArriveWhole();
    void stopInTheMiddleOfARun();
    void sequenceFileRoundTrip();
    void stalledProgramShortensNoStep();

private:
    std::unique_ptr<SimProcess> m_sim;
    std::unique_ptr<ScopedPorts> m_ports;
    std::unique_ptr<RealPanel> m_panel;
};

void TestE2ePanel::init()
{
    m_sim = std::make_unique<SimProcess>();
    QVERIFY(m_sim->start());
    m_ports = std::make_unique<ScopedPorts>(m_sim->device().toLocal8Bit());
    m_panel = std::make_unique<RealPanel>();
    QVERIFY(m_panel->load({Answer::Yes}));
    QCOMPARE(m_panel->boxTexts(),
             (QStringList{"Power Supply|Find Com 1, Using it?|0", "Power Supply|Using COM1:|3"}));
    m_panel->boxes.shown.clear();
}

void TestE2ePanel::cleanup()
{
    m_panel.reset();
    m_ports.reset();
    m_sim.reset();
}

// The worked example, digits past the limits, and the link mirroring channel 1 onto channel 2.
void TestE2ePanel::entrySessionByClicks()
{
    RealPanel &panel = *m_panel;
    panel.click("CH1VCommand");
    panel.type("1234500"); // the 5 would make 123.45 V: it starts a new value, 5.00 V
    panel.click("EnterCommand");
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
    panel.type("99");
    panel.click("EnterCommand");  // channel 1 only
    panel.click("SerialCommand"); // channel 2 back to what was last sent for it
    panel.click("OutputCommand");

    const QStringList expected{"8801F4",     "8704E2", "8A0C80",     "89004B",
                               "8F04E201F4", "880063", "8E004B0C80", "8CF0F0"};
    QTRY_COMPARE_WITH_TIMEOUT(m_sim->frames(), expected, WaitMs);
    QCOMPARE(m_sim->state(), supplyState(99, 1250, 3200, 75, true, false));
    QCOMPARE(panel.framesTried(), expected);
    QVERIFY(panel.boxes.shown.empty());
    // The line was set to 115200 8N1 before the first frame.
    const QJsonObject settings = m_sim->records("settings").last();
    QCOMPARE(settings["matches_supply"].toBool(), true);
    QVERIFY(settings["t_ns"].toDouble() <= m_sim->records("frame").first()["t_ns"].toDouble());
}

void TestE2ePanel::optionButtonsSelectLikeTheirSelectors()
{
    m_panel->click("CH2AOption");
    m_panel->type("1");
    m_panel->click("EnterCommand");
    QTRY_COMPARE_WITH_TIMEOUT(m_sim->frames(), QStringList{"890001"}, WaitMs);
}

// X11 sends a held key as release and press pairs with one time stamp, often unmarked.
void TestE2ePanel::heldKeysSendOnce()
{
    QWidget *target = QApplication::focusWidget();
    QVERIFY(target);
    sendKey(target, QEvent::KeyPress, Qt::Key_3, 1000);
    for (quint64 at = 1500; at <= 3000; at += 33) {
        sendKey(target, QEvent::KeyRelease, Qt::Key_3, at);
        sendKey(target, QEvent::KeyPress, Qt::Key_3, at);
    }
    sendKey(target, QEvent::KeyRelease, Qt::Key_3, 3100);
    sendKey(target, QEvent::KeyPress, Qt::Key_Return, 4000);
    for (quint64 at = 4000; at <= 9000; at += 50)
        sendKey(target, QEvent::KeyPress, Qt::Key_Return, at); // never released: still down
    sendKey(target, QEvent::KeyRelease, Qt::Key_Return, 9100);
    QTRY_COMPARE_WITH_TIMEOUT(m_sim->frames(), QStringList{"880003"}, WaitMs);
    QTest::qWait(200);
    QCOMPARE(m_sim->frames(), QStringList{"880003"});
}

void TestE2ePanel::framesBeforeTheEndArriveWhole_data()
{
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("closeWindow"); // else the menu's Exit
    QTest::newRow("Exit right after a click") << 1 << false;
    QTest::newRow("window closed after forty frames in a row") << 40 << true;
}

void TestE2ePanel::framesBeforeTheEndArriveWhole()
{
    QFETCH(int, clicks);
    QFETCH(bool, closeWindow);
    QSignalSpy ended(m_panel->form.get(), &UIForm::endRequested);
    QStringList frames;
    for (int i = 0; i < clicks; ++i) {
        m_panel->click("OutputCommand");
        frames << (i % 2 ? "8C0F0F" : "8CF0F0");
    }
    if (closeWindow)
        m_panel->form->close();
    else
        m_panel->form->findChild<QAction *>(QStringLiteral("Exit"))->trigger();
    QCOMPARE(ended.count(), 1);
    QVERIFY(!m_panel->session.portStatus().open);
    QTRY_COMPARE_WITH_TIMEOUT(m_sim->frames(), frames, WaitMs);
    QVERIFY(m_sim->records("skipped").isEmpty());
    // The line is let go without a change of its settings: no warning at the supply.
    QTest::qWait(100);
    QVERIFY2(!m_sim->output().contains("WARNING"), qPrintable(m_sim->output()));
}

void TestE2ePanel::stopInTheMiddleOfARun()
{
    RealPanel &panel = *m_panel;
    panel.form->findChild<QAction *>(QStringLiteral("Auto"))->trigger();
    panel.fill("Time1", "1");
    panel.fill("CH1V2", "5");
    panel.fill("Time2", "30");
    panel.fill("CH1V3", "6");
    panel.fill("CH2I1", "0.1");
    panel.click("Start");
    QVERIFY(panel.find<QWidget>("StopCommand")->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(m_sim->frames().size(), 2, WaitMs); // step 2 runs
    QTest::keyClick(panel.form.get(), Qt::Key_Escape);            // a shortcut of the whole window
    QTRY_COMPARE_WITH_TIMEOUT(
            m_sim->frames(),
            (QStringList{"8D01F4000000000000", "8D0258000000000000", "8D0000000000000064"}),
            WaitMs);
    QVERIFY(!panel.find<QWidget>("StopCommand")->isVisible());
    QVERIFY(panel.find<QWidget>("Start")->isEnabled());
    QCOMPARE(panel.find<QLineEdit>("Time2")->text(), QStringLiteral("30")); // restored
    QTest::qWait(2200);
    QCOMPARE(m_sim->frames().size(), 3); // nothing after the Finish frame
}

// A table typed, saved, and loaded by a new panel as the command line does: the same boxes,
// and a run of it sends the same frames.
void TestE2ePanel::sequenceFileRoundTrip()
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("round trip.csv")));
    RealPanel &panel = *m_panel;
    panel.form->findChild<QAction *>(QStringLiteral("Auto"))->trigger();
    const QStringList texts{"Time1", " 0", "CH1V2", "1.5A", "CH1I2", "2,5",
                            "CH2V2", "40", "CH1V3", "7\"",  "CH2I1", "0.25"};
    for (int i = 0; i < texts.size(); i += 2)
        panel.fill(texts[i], texts[i + 1]);
    QVERIFY(panel.form->saveSequenceTo(path));

    RealPanel second;
    QVERIFY(second.show());
    QVERIFY(second.form->openSequence(path));
    for (QLineEdit *box : panel.form->findChildren<QLineEdit *>()) {
        QCOMPARE(second.find<QLineEdit>(box->objectName())->text(), box->text());
    }
    QCOMPARE(second.find<QLineEdit>("CH2V2")->text(), QStringLiteral(" 0")); // 40 V is over
    QVERIFY(!second.find<QWidget>("Sequence")->isHidden());
    panel.click("Start");
    QTRY_VERIFY_WITH_TIMEOUT(!panel.panel().running(), WaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(m_sim->frames(),
                              (QStringList{"8D009607D000000000", "8D02BC000000000000"}), WaitMs);
}

// The program is held up for three seconds while a frame falls due: the frame goes out late,
// and the step it starts still lasts its whole time.
void TestE2ePanel::stalledProgramShortensNoStep()
{
    RealPanel &panel = *m_panel;
    panel.form->findChild<QAction *>(QStringLiteral("Auto"))->trigger();
    for (const char *box : {"Time1", "Time2", "Time3"})
        panel.fill(QLatin1String(box), QStringLiteral("1"));
    for (const char *box : {"CH1V2", "CH1V3", "CH1V4"})
        panel.fill(QLatin1String(box), QStringLiteral("1"));
    panel.click("Start");
    QTest::qWait(500);
    QThread::msleep(3000); // step 2 was due at 2 s
    QTRY_VERIFY_WITH_TIMEOUT(!panel.panel().running(), WaitMs);
    QList<double> times;
    for (const QJsonObject &frame : m_sim->records("frame"))
        times << frame["t_ns"].toDouble() / 1e9;
    QCOMPARE(times.size(), 4);
    for (int step = 1; step < 3; ++step) // each 1 s step lasts its two ticks at least
        QVERIFY2(times[step + 1] - times[step] >= 1.99,
                 qPrintable(QString::number(times[step + 1] - times[step])));
}

QTEST_MAIN(TestE2ePanel)
#include "tst_e2e_panel.moc"
