// The far end of the line goes away: before a frame, during a run, or while the user is still
// reading the question at start-up. Each failed frame gives one clear box, is tried once and
// never again, and the program neither crashes, hangs nor spins.

#include "support/realpanel.h"
#include "support/simprocess.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <ctime>

using namespace mq7410;
using namespace mq7410::test;

namespace {

constexpr int WaitMs = SimProcess::WaitMs;
// The boxes of a start-up on which the user takes COM 1.
const QStringList AcceptedCom1{"Power Supply|Find Com 1, Using it?|36",
                               "Power Supply|Using COM1:|64"};
using Frames = std::vector<std::string>;
enum class HangUp { BeforeTheFirstFrame, AfterOneFrame, DuringTheQuestion };

qint64 processCpuNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// The share of one core this process burns while its event loop runs for a while. A port that
// keeps reporting the same error spins at a large share, however loaded the machine is.
double busyShare()
{
    const qint64 cpuBefore = processCpuNs();
    QElapsedTimer wall;
    wall.start();
    QTest::qWait(500);
    return double(processCpuNs() - cpuBefore) / double(wall.nsecsElapsed());
}

// The box for a frame that could not be sent, with the serial layer's own words.
void checkErrorBox(const BoxRequest &box, const QString &frame, const RealPanel &panel,
                   const QString &device)
{
    QCOMPARE(box.title, QStringLiteral("! RS-232 ERROR !"));
    QCOMPARE(box.kind, BoxKind::OkExclamation);
    const QString words = QString::fromStdString(panel.serial.errorString());
    QVERIFY2(box.prompt.contains(frame), qPrintable(box.prompt));
    QVERIFY2(!words.isEmpty() && box.prompt.contains(words), qPrintable(box.prompt));
    QVERIFY2(words.contains(device), qPrintable(words));
}

} // namespace

Q_DECLARE_METATYPE(HangUp)

class TestE2eHangUp : public QObject
{
    Q_OBJECT
private slots:
    void beforeAFrame_data();
    void beforeAFrame();
    void duringARun();
};

void TestE2eHangUp::beforeAFrame_data()
{
    QTest::addColumn<HangUp>("when");
    QTest::addColumn<QStringList>("delivered"); // frames that went out before the hang-up

    QTest::newRow("supply ended by SIGTERM") << HangUp::BeforeTheFirstFrame << QStringList{};
    QTest::newRow("supply hangs up after one frame")
            << HangUp::AfterOneFrame << QStringList{"880000"};
    // The adapter is pulled while the question is on the screen; the user then answers Yes.
    QTest::newRow("supply gone between the question and the first write")
            << HangUp::DuringTheQuestion << QStringList{};
}

void TestE2eHangUp::beforeAFrame()
{
    QFETCH(HangUp, when);
    QFETCH(QStringList, delivered);

    SimProcess sim;
    QVERIFY(sim.start(when == HangUp::AfterOneFrame ? QStringList{"--exit-after-frames", "1"}
                                                    : QStringList{}));
    const ScopedPorts ports(sim.device().toLocal8Bit());
    RealPanel panel;
    bool pulled = false;
    panel.boxes.whileShown = [&](const BoxRequest &box) {
        if (when != HangUp::DuringTheQuestion || box.kind != BoxKind::YesNoQuestion)
            return;
        pulled = sim.terminate();
        QCoreApplication::processEvents(); // a modal box runs the event loop
    };
    QVERIFY(panel.load({BoxAnswer::Yes}));
    QCOMPARE(panel.boxTexts(), AcceptedCom1);
    panel.boxes.shown.clear();
    panel.form->show();

    if (when == HangUp::BeforeTheFirstFrame) {
        QVERIFY(sim.terminate());
    } else if (when == HangUp::AfterOneFrame) {
        panel.click("EnterCommand");
        QVERIFY(sim.process().waitForFinished(WaitMs));
        QCOMPARE(sim.frames(), delivered);
    } else {
        QVERIFY(pulled);
    }
    const std::size_t triedBefore = panel.port.tried.size();

    panel.click("EnterCommand");
    QCOMPARE(panel.boxes.shown.size(), 1u);
    checkErrorBox(panel.boxes.shown[0], "880000", panel, sim.device());

    // A second action tries once more and reports once more; then all is quiet.
    panel.click("OutputCommand");
    QCOMPARE(panel.boxes.shown.size(), 2u);
    checkErrorBox(panel.boxes.shown[1], "8CF0F0", panel, sim.device());
    QCOMPARE(panel.port.tried.size(), triedBefore + 2);
    QCOMPARE(panel.port.failed, (Frames{"880000", "8CF0F0"}));
    const double share = busyShare();
    QVERIFY2(share < 0.2, qPrintable(QStringLiteral("busy %1 of a core").arg(share)));
    QCOMPARE(panel.boxes.shown.size(), 2u);

    QSignalSpy ended(panel.form.get(), &UIForm::endRequested);
    panel.form->findChild<QAction *>(QStringLiteral("Exit"))->trigger();
    QCOMPARE(ended.count(), 1);
    QCOMPARE(sim.frames(), delivered);
}

void TestE2eHangUp::duringARun()
{
    SimProcess sim;
    QVERIFY(sim.start({"--exit-after-frames", "1"}));
    const ScopedPorts ports(sim.device().toLocal8Bit());
    RealPanel panel;
    QVERIFY(panel.load({BoxAnswer::Yes}));
    panel.boxes.shown.clear();
    panel.form->show();
    panel.form->Auto_Click();
    // Step 1 (time 0) lasts one tick; step 2 would run for six.
    panel.find<QLineEdit>("CH1V2")->setText("1");
    panel.find<QLineEdit>("Time2")->setText("5");
    panel.find<QLineEdit>("CH1V3")->setText("2");

    panel.click("Start");
    // This wait holds the event loop, so the first tick comes only after the hang-up.
    QVERIFY(sim.process().waitForFinished(WaitMs));
    QCOMPARE(sim.frames(), QStringList{"8D0064000000000000"});

    QTRY_COMPARE_WITH_TIMEOUT(panel.boxes.shown.size(), 1u, WaitMs);
    checkErrorBox(panel.boxes.shown[0], "8D00C8000000000000", panel, sim.device());
    // The run ended with the failed step: usable again, and nothing more is tried.
    QCOMPARE(panel.form->state().SeqRunning, Off);
    QVERIFY(!panel.find<QTimer>("Timer1")->isActive());
    QVERIFY(panel.find<QWidget>("Start")->isEnabled());
    QVERIFY(panel.find<QWidget>("Sequence")->isEnabled());
    QCOMPARE(panel.port.tried, (Frames{"8D0064000000000000", "8D00C8000000000000"}));
    QCOMPARE(panel.port.failed, (Frames{"8D00C8000000000000"}));
}

QTEST_MAIN(TestE2eHangUp)
#include "tst_e2e_hangup.moc"
