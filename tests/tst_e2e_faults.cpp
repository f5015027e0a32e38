// The line fails under the real window: the far end stops reading, or hangs up. On the wire
// there are only ever whole frames, the last one exactly the user's; a refused action leaves
// the panel as it was, with one box.

#include "realpanel.h"

#include "framedecoder.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

using namespace mq7410;
using namespace mq7410::test;

namespace {

// A pseudo-terminal whose master side is the test's: the far end of the panel's line.
struct FarEnd
{
    FarEnd()
        : master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            device = ::ptsname(master);
    }
    ~FarEnd() { hangUp(); }
    void hangUp()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    // Everything the panel wrote so far.
    std::string readAll()
    {
        QTest::qWait(50);
        std::string bytes;
        char chunk[4096];
        for (ssize_t n = 0; (n = ::read(master, chunk, sizeof chunk)) > 0;)
            bytes.append(chunk, std::size_t(n));
        return bytes;
    }

    int master = -1;
    QByteArray device;
};

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

} // namespace

class TestE2eFaults : public QObject
{
    Q_OBJECT
private slots:
    void stalledLineSplitsNoFrame();
    void hungUpLineChangesNothing();
};

void TestE2eFaults::stalledLineSplitsNoFrame()
{
    FarEnd farEnd;
    const ScopedPorts ports(farEnd.device);
    RealPanel panel;
    QVERIFY(panel.load({Answer::Yes}));
    panel.boxes.shown.clear();
    auto *enter = panel.find<QPushButton>("EnterCommand");
    int clicks = 0;
    while (panel.boxes.shown.empty() && clicks < 100000) { // the far end reads nothing
        enter->click();
        ++clicks;
    }
    QCOMPARE(panel.boxes.shown.size(), std::size_t(1));
    QCOMPARE(panel.boxes.shown[0].title, std::string("! RS-232 ERROR !"));

    // The far end reads again: the rest of a frame cut by the stall follows without a click.
    std::string stalled = farEnd.readAll();
    QTest::qWait(100);
    stalled += farEnd.readAll();
    QCOMPARE(stalled.size() % 6, std::size_t(0));
    panel.click("CH1VCommand");
    panel.type("5");
    panel.click("EnterCommand");
    const std::string bytes = stalled + farEnd.readAll();
    const QStringList frames = wholeFrames(bytes);
    QCOMPARE(std::size_t(frames.size()) * 6, bytes.size()); // not a byte outside a frame
    QCOMPARE(frames.last(), QStringLiteral("880005"));
    QCOMPARE(frames.count(QStringLiteral("880000")), clicks - 1); // the refused one never left
    QCOMPARE(panel.boxes.shown.size(), std::size_t(1));
}

void TestE2eFaults::hungUpLineChangesNothing()
{
    FarEnd farEnd;
    const ScopedPorts ports(farEnd.device);
    RealPanel panel;
    QVERIFY(panel.load({Answer::Yes}));
    panel.boxes.shown.clear();
    panel.click("OutputCommand");
    panel.click("CH1VCommand");
    panel.type("12");
    panel.click("EnterCommand");
    QCOMPARE(wholeFrames(farEnd.readAll()), (QStringList{"8CF0F0", "88000C"}));
    farEnd.hangUp();

    panel.click("OutputCommand"); // off: refused, and the button must not claim it
    panel.click("SerialCommand");
    panel.type("3");
    panel.click("EnterCommand");
    QCOMPARE(panel.boxes.shown.size(), std::size_t(3)); // one box per action
    QCOMPARE(panel.find<QPushButton>("OutputCommand")->text(), QStringLiteral("Output /On"));
    QCOMPARE(panel.find<QPushButton>("SerialCommand")->text(), QStringLiteral("Serial /Off"));
    QVERIFY(panel.find<QWidget>("SerialLabel")->isHidden());
    QCOMPARE(panel.find<QLabel>("CH2V")->text(), QStringLiteral("00.00"));
    QCOMPARE(panel.find<QLabel>("CH1V")->text(), QStringLiteral("01.23")); // still typed
    QCOMPARE(panel.framesTried(), (QStringList{"8CF0F0", "88000C", "8C0F0F not sent",
                                               "8F0000000C not sent", "88007B not sent"}));
    QVERIFY(panel.find<QLabel>("PortStatus")->text().contains("closed"));
    QVERIFY(panel.form->findChild<QAction *>("mReconnect")->isEnabled());
}

QTEST_MAIN(TestE2eFaults)
#include "tst_e2e_faults.moc"
