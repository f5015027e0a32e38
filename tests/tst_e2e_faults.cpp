// SPDX-License-Identifier: GPL-3.0-or-later
// The line and the files fail under the real window: the far end stops reading, or hangs up
// with half a frame in flight; a file hides text in a box. On the wire there are only ever
// whole frames, and the screen shows what the supply got.

#include "farend.h"
#include "realpanel.h"

#include "framedecoder.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace mq7410;
using namespace mq7410::test;

namespace {

// The frames in `bytes`; fails the test on a byte that is not part of a whole frame.
QStringList wholeFrames(const std::string &bytes)
{
    FrameDecoder decoder;
    QStringList frames;
    std::vector<DecodeEvent> events = decoder.feed(bytes);
    for (DecodeEvent &event : decoder.finish())
        events.push_back(std::move(event));
    for (const DecodeEvent &event : events) {
        if (const auto *frame = std::get_if<Frame>(&event))
            frames << QString::fromStdString(frame->text);
        else
            qWarning("skipped: %s", std::get<Skipped>(event).bytes.c_str());
    }
    return frames;
}

// The far end stops reading; frames of 5.00 V and 6.00 V in turn go until one only leaves in
// part. The value of that one, in 10 mV steps; 0 when none did.
int fillUntilAFrameWaits(RealPanel &panel)
{
    for (int n = 0; n < 100000; ++n) {
        const int value = n % 2 ? 600 : 500;
        if (!panel.panel().setSetPoint(SetPoint::Ch1Voltage, value))
            return 0;
        if (panel.panel().frameWaiting())
            return value;
    }
    return 0;
}

QString text(const RealPanel &panel, const char *label)
{
    return panel.find<ElidedLabel>(QLatin1String(label))
                   ? panel.find<ElidedLabel>(QLatin1String(label))->fullText()
                   : panel.find<QLabel>(QLatin1String(label))->text();
}

} // namespace

class TestE2eFaults : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void stalledLineSplitsNoFrame();
    void hungUpLineChangesNothing();
    void halfSentFrameThenHangUp();
    void endingWithPartOfAFrame();
    void hiddenTextNeverReachesTheSupply();

private:
    std::unique_ptr<FarEnd> m_farEnd;
    std::unique_ptr<ScopedPorts> m_ports;
    std::unique_ptr<RealPanel> m_panel;
};

void TestE2eFaults::init()
{
    m_panel.reset();
    m_ports.reset(); // before the next one: its end unsets the variable
    m_farEnd = std::make_unique<FarEnd>();
    m_ports = std::make_unique<ScopedPorts>(QByteArray::fromStdString(m_farEnd->device()));
    m_panel = std::make_unique<RealPanel>();
    QVERIFY(m_panel->load({Answer::Yes}));
    m_panel->boxes.shown.clear();
}

void TestE2eFaults::stalledLineSplitsNoFrame()
{
    RealPanel &panel = *m_panel;
    auto *enter = panel.find<QPushButton>("EnterCommand");
    int clicks = 0;
    while (panel.boxes.shown.empty() && clicks < 100000) { // the far end reads nothing
        enter->click();
        ++clicks;
    }
    QCOMPARE(panel.boxes.shown.size(), std::size_t(1));
    QCOMPARE(panel.boxes.shown[0].title, std::string("! RS-232 ERROR !"));

    // The far end reads again: the rest of a frame cut by the stall follows without a click.
    std::string stalled = m_farEnd->readAll();
    QTest::qWait(100);
    stalled += m_farEnd->readAll();
    QCOMPARE(stalled.size() % 6, std::size_t(0));
    panel.click("CH1VCommand");
    panel.type("5");
    panel.click("EnterCommand");
    const std::string bytes = stalled + m_farEnd->readAll();
    const QStringList frames = wholeFrames(bytes);
    QCOMPARE(std::size_t(frames.size()) * 6, bytes.size()); // not a byte outside a frame
    QCOMPARE(frames.last(), QStringLiteral("880005"));
    QCOMPARE(frames.count(QStringLiteral("880000")), clicks - 1); // the refused one never left
    QCOMPARE(panel.boxes.shown.size(), std::size_t(1));
}

void TestE2eFaults::hungUpLineChangesNothing()
{
    RealPanel &panel = *m_panel;
    panel.click("OutputCommand");
    panel.click("CH1VCommand");
    panel.type("12");
    panel.click("EnterCommand");
    QCOMPARE(wholeFrames(m_farEnd->readAll()), (QStringList{"8CF0F0", "88000C"}));
    m_farEnd->hangUp();
    // Shown within a second, with no click: the port's field in red and Reconnect offered.
    QTRY_VERIFY_WITH_TIMEOUT(text(panel, "PortStatus").contains("closed"), 1000);
    QVERIFY(panel.form->findChild<QAction *>("mReconnect")->isEnabled());

    panel.click("OutputCommand"); // off: refused, and the button must not claim it
    panel.click("SerialCommand");
    panel.type("3");
    panel.click("EnterCommand");
    QCOMPARE(panel.boxes.shown.size(), std::size_t(3)); // one box per action
    QCOMPARE(panel.find<QPushButton>("OutputCommand")->text(), QStringLiteral("Output /On"));
    QCOMPARE(panel.find<QPushButton>("SerialCommand")->text(), QStringLiteral("Serial /Off"));
    QVERIFY(panel.find<QWidget>("SerialLabel")->isHidden());
    QCOMPARE(panel.find<QLabel>("CH1V")->text(), QStringLiteral("01.23")); // still typed
    QCOMPARE(panel.framesTried(), (QStringList{"8CF0F0", "88000C", "8C0F0F not sent",
                                               "8F0000000C not sent", "88007B not sent"}));
}

void TestE2eFaults::halfSentFrameThenHangUp()
{
    RealPanel &panel = *m_panel;
    const int waiting = fillUntilAFrameWaits(panel);
    QVERIFY(waiting != 0);
    // Sent only when its last byte left: the display shows what the supply holds, the log and
    // the status bar say the frame waits.
    const QString held = waiting == 500 ? QStringLiteral("06.00") : QStringLiteral("05.00");
    QCOMPARE(panel.find<QLabel>("CH1V")->text(), held);
    QVERIFY(panel.framesTried().back().endsWith(" waiting for the line"));
    QVERIFY(text(panel, "FrameStatus").contains("waiting for the line"));

    m_farEnd->hangUp();
    QTRY_VERIFY_WITH_TIMEOUT(text(panel, "PortStatus").contains("closed"), 1000);
    QVERIFY(panel.form->findChild<QAction *>("mReconnect")->isEnabled());
    QVERIFY(panel.framesTried().back().endsWith(" cut"));
    // Part of a frame reached the supply: what it holds is not known any more.
    QCOMPARE(panel.find<QLabel>("CH1V")->text(), QStringLiteral("--.--"));
}

void TestE2eFaults::endingWithPartOfAFrame()
{
    RealPanel &panel = *m_panel;
    QVERIFY(fillUntilAFrameWaits(panel) != 0);
    panel.trigger("Exit");
    // The far end still does not read: the panel says what it left on the line.
    QCOMPARE(panel.boxes.shown.size(), std::size_t(1));
    QVERIFY(panel.boxes.shown[0].prompt.find("misread the next frame") != std::string::npos);
    QVERIFY(!panel.session.portStatus().open);
}

void TestE2eFaults::hiddenTextNeverReachesTheSupply()
{
    RealPanel &panel = *m_panel;
    QTemporaryDir dir;
    // A cell that hides a tab: the whole file is refused, naming where.
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("hidden.csv")));
    QFile file(QFile::decodeName(path));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("step,time_s,ch1_v,ch1_a,ch2_v,ch2_a\n1,1,\"3\t2\",0,0,0\n2,0,0,0,0,0\n3,,,,,\n"
               "4,,,,,\n5,,,,,\n6,,,,,\n7,,,,,\n8,,,,,\n9,,,,,\nfinish,,,,,\n");
    file.close();
    QVERIFY(!panel.form->openSequence(path));
    QCOMPARE(QString::fromStdString(panel.boxes.shown.back().prompt),
             QStringLiteral("hidden.csv, line 2, column 7: expected a cell a box can show, "
                            "found a tab"));
    // A paste with a tab is not taken by the box either; what it shows is what is sent.
    panel.trigger("Auto");
    auto *box = panel.find<QLineEdit>("CH1V2");
    box->setFocus();
    box->selectAll();
    box->insert(QStringLiteral("3\t2"));
    QCOMPARE(box->text(), QStringLiteral("0"));
    panel.fill("CH1V2", "3");
    panel.click("Start");
    QTRY_VERIFY_WITH_TIMEOUT(!panel.panel().running(), 5000);
    QCOMPARE(wholeFrames(m_farEnd->readAll()),
             (QStringList{"8D012C000000000000", "8D0000000000000000"}));
}

QTEST_MAIN(TestE2eFaults)
#include "tst_e2e_faults.moc"
