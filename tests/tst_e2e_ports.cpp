// SPDX-License-Identifier: GPL-3.0-or-later
// The port walk over real pseudo-terminals: which ports the user is asked about, which one is
// used, and ports the panel cannot have: held by another program (under any of its names) or
// forbidden to the user. Those are never offered, and the walk says why.

#include "openwatch.h"
#include "realpanel.h"
#include "serialline.h"
#include "simprocess.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <map>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace mq7410;
using namespace mq7410::test;

namespace {

constexpr int WaitMs = SimProcess::WaitMs;
using Answers = QList<Answer>;

QString question(int port)
{
    return QStringLiteral("Power Supply|Find Com %1, Using it?|0").arg(port);
}

QString using_(int port)
{
    return QStringLiteral("Power Supply|Using COM%1:|3").arg(port);
}

const QString NoPort = QStringLiteral("Power Supply|No communication port can use!|1");

QString childProgram()
{
    return QCoreApplication::applicationDirPath() + "/e2e-panelchild";
}

// The panel as a second program (support/panelchild.cpp), reading its lines. `command` starts
// with the program.
class PanelChild
{
public:
    PanelChild(const QByteArray &ports, const QStringList &command)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("MQ7410_PORTS"), QString::fromLocal8Bit(ports));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_process.setProcessEnvironment(environment);
        // It dies with the test, should CTest end the test for running too long.
        m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_process.start(command[0], command.mid(1));
    }
    ~PanelChild()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(WaitMs))
            m_process.kill();
    }
    // Reads lines until one starts with `prefix`; its rest, or a null string.
    QString waitFor(const QString &prefix)
    {
        for (QElapsedTimer waited; waited.elapsed() < WaitMs;) {
            while (m_process.canReadLine()) {
                const QString line = QString::fromUtf8(m_process.readLine()).chopped(1);
                if (line.startsWith(prefix))
                    return line.mid(prefix.size());
            }
            if (m_process.state() == QProcess::NotRunning)
                break;
            m_process.waitForReadyRead(100);
        }
        return {};
    }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
};

} // namespace

class TestE2ePorts : public QObject
{
    Q_OBJECT
private slots:
    void walk_data();
    void walk();
    void heldPortIsNotOffered();
    void forbiddenPortIsNeverOpened();
    void reconnectAfterAReplug();
    void signalsEndThePanelAsExitDoes_data();
    void signalsEndThePanelAsExitDoes();
};

void TestE2ePorts::walk_data()
{
    QTest::addColumn<int>("entries");         // MQ7410_PORTS has this many entries...
    QTest::addColumn<QList<int>>("supplies"); // ...and a virtual supply on these
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("used");
    QTest::newRow("set but empty: no port")
            << 0 << QList<int>{} << Answers{} << QStringList{NoPort} << 0;
    QTest::newRow("ports 2 and 5, No then Yes")
            << 7 << QList<int>{2, 5, 7} << Answers{Answer::No, Answer::Yes}
            << QStringList{question(2), question(5), using_(5)} << 5;
    QTest::newRow("16 accepted, the 17th entry never opened")
            << 17 << QList<int>{16, 17} << Answers{Answer::Yes}
            << QStringList{question(16), using_(16)} << 16;
    QTest::newRow("16 refused, the 17th entry never opened")
            << 17 << QList<int>{16, 17} << Answers{Answer::No} << QStringList{question(16), NoPort}
            << 0;
}

void TestE2ePorts::walk()
{
    QFETCH(int, entries);
    QFETCH(QList<int>, supplies);
    QFETCH(Answers, answers);
    QFETCH(QStringList, boxes);
    QFETCH(int, used);
    std::map<int, std::unique_ptr<SimProcess>> sims;
    std::map<int, std::unique_ptr<OpenWatch>> watches;
    QByteArrayList ports(entries);
    for (const int number : supplies) {
        auto &sim = sims[number] = std::make_unique<SimProcess>();
        QVERIFY(sim->start());
        ports[number - 1] = sim->device().toLocal8Bit();
        watches[number] = std::make_unique<OpenWatch>(sim->device());
    }
    const ScopedPorts scopedPorts(ports.join(':'));

    RealPanel panel;
    QCOMPARE(panel.load({answers.begin(), answers.end()}), used != 0);
    QCOMPARE(panel.boxTexts(), boxes);
    for (const Message &box : panel.boxes.shown) { // each question names its device
        if (box.kind == MessageKind::Question) {
            const int number
                    = QString::fromStdString(box.prompt).section(' ', 2, 2).remove(',').toInt();
            QVERIFY(QString::fromStdString(box.details).startsWith(sims.at(number)->device()));
        }
    }
    if (used != 0) {
        panel.click(QStringLiteral("EnterCommand"));
        QTRY_COMPARE_WITH_TIMEOUT(sims.at(used)->frames(), QStringList{"880000"}, WaitMs);
    }
    const int lastAsked = used != 0 ? used : LastPort;
    for (const auto &[number, sim] : sims) {
        if (number == used)
            continue;
        QVERIFY(sim->frames().isEmpty());
        if (number > lastAsked)
            QCOMPARE(watches.at(number)->opens(), 0);
        else // asked and refused: let go before the next one was tried
            QVERIFY(SerialLine().open(number).opened);
    }
}

// A second copy of the panel holds COM 1: this one is not offered it, says why, and takes COM 2.
// The lock under the device's real name, links included, is tst_serialline's.
void TestE2ePorts::heldPortIsNotOffered()
{
    SimProcess sim1;
    SimProcess sim2;
    QVERIFY(sim1.start() && sim2.start());
    PanelChild copy(sim1.device().toLocal8Bit(), {childProgram(), "--answers", "yes", "--hold"});
    QCOMPARE(copy.waitFor("ready"), QString(""));

    const ScopedPorts ports(sim1.device().toLocal8Bit() + ':' + sim2.device().toLocal8Bit());
    RealPanel panel;
    QVERIFY(panel.load({Answer::Yes}));
    QCOMPARE(panel.boxTexts(), (QStringList{question(2), using_(2)}));
    QCOMPARE(panel.walk.notOffered, std::vector<std::string>{"COM 1 (" + sim1.device().toStdString()
                                                             + "): held by another program"});
    panel.click("EnterCommand");
    QTRY_COMPARE_WITH_TIMEOUT(sim2.frames(), QStringList{"880000"}, WaitMs);
    QVERIFY(sim1.frames().isEmpty());
    copy.process().closeWriteChannel(); // the holder was not disturbed: it ends as usual
    QVERIFY(copy.process().waitForFinished(WaitMs));
    QCOMPARE(copy.process().exitCode(), 0);
}

// As root every file may be opened, so the panel runs as "nobody" (setpriv, util-linux).
void TestE2ePorts::forbiddenPortIsNeverOpened()
{
    const passwd *nobody = ::getpwnam("nobody");
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (::geteuid() != 0 || setpriv.isEmpty() || !nobody)
        QSKIP("needs root, setpriv and a user nobody to run the panel as someone refused");
    SimProcess forbidden;
    SimProcess allowed;
    QVERIFY(forbidden.start() && allowed.start());
    const QByteArray forbiddenPath = QFile::encodeName(forbidden.device());
    const QByteArray allowedPath = QFile::encodeName(allowed.device());
    QCOMPARE(::chmod(forbiddenPath.constData(), 0), 0);
    QCOMPARE(::chown(allowedPath.constData(), nobody->pw_uid, nobody->pw_gid), 0);
    OpenWatch forbiddenOpens(forbidden.device());

    PanelChild child(forbiddenPath + ':' + allowedPath,
                     {setpriv, "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--",
                      childProgram(), "--answers", "yes", "--click", "EnterCommand"});
    QVERIFY2(child.waitFor("uid ").toUInt() != 0, "the panel must not run as root here");
    QCOMPARE(child.waitFor("loaded "), QString("true"));
    QVERIFY(child.process().waitForFinished(WaitMs));
    QTRY_COMPARE_WITH_TIMEOUT(allowed.frames(), QStringList{"880000"}, WaitMs);
    QVERIFY(forbidden.frames().isEmpty());
    QCOMPARE(forbiddenOpens.opens(), 0); // refused before it was ever opened
}

// The adapter comes back under a new device: Reconnect asks before it uses what it found,
// sends nothing by itself, and the displays say that the supply's state is not known until Send
// Set-points Again sent what the panel holds.
void TestE2ePorts::reconnectAfterAReplug()
{
    SimProcess sim;
    QVERIFY(sim.start({QStringLiteral("--link"), QStringLiteral("supply")}));
    const ScopedPorts ports(QFile::encodeName(sim.filePath(QStringLiteral("supply"))));
    RealPanel panel;
    QVERIFY(panel.load({Answer::Yes}));
    panel.click("CH1VCommand");
    panel.type("5");
    panel.click("EnterCommand");
    QTRY_COMPARE_WITH_TIMEOUT(sim.frames(), QStringList{"880005"}, WaitMs);

    ::kill(pid_t(sim.process().processId()), SIGUSR1);
    QTRY_VERIFY_WITH_TIMEOUT(panel.find<QAction>("mReconnect")->isEnabled(), WaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(!sim.records("replug").isEmpty(), WaitMs);
    const QString device = sim.records("replug").front().value("device").toString();
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        panel.boxes.shown.clear();
        panel.boxes.answers = {answer};
        panel.trigger("mReconnect");
        QCOMPARE(panel.boxes.shown.front().prompt, std::string("Find Com 1, Using it?"));
        QVERIFY(panel.boxes.shown.front().details.starts_with(device.toStdString()));
        QCOMPARE(panel.session.portStatus().open, answer == Answer::Yes);
    }
    QCOMPARE(panel.find<QLabel>("CH1V")->text(), QStringLiteral("--.--"));
    QTest::qWait(200);
    QCOMPARE(sim.frames(), QStringList{"880005"}); // nothing sent by a reconnect

    panel.boxes.answers = {Answer::Yes};
    panel.trigger("mResend");
    QTRY_COMPARE_WITH_TIMEOUT(sim.frames(),
                              (QStringList{"880005", "8D0005000000000000", "8E00000000", "8C0F0F"}),
                              WaitMs);
    QCOMPARE(panel.find<QLabel>("CH1V")->text(), QStringLiteral("00.05"));
}

void TestE2ePorts::signalsEndThePanelAsExitDoes_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("outputOff"); // the settings say: switch the output off at the end
    QTest::newRow("SIGTERM") << int(SIGTERM) << false;
    QTest::newRow("SIGINT, output off at the end") << int(SIGINT) << true;
    QTest::newRow("SIGHUP") << int(SIGHUP) << false;
}

// A run is stopped with its Finish row whatever the settings; the output is switched off when
// they say so; the port and its lock file are let go.
void TestE2ePorts::signalsEndThePanelAsExitDoes()
{
    QFETCH(int, signal);
    QFETCH(bool, outputOff);
    SimProcess sim;
    QVERIFY(sim.start());
    QStringList command{childProgram(), "--answers",        "yes",
                        "--hold",       "--click",          "OutputCommand,Auto",
                        "--fill",       "Time1=60,CH1V2=1", "--click",
                        "Start"};
    if (outputOff)
        command << "--output-off-at-end";
    PanelChild child(sim.device().toLocal8Bit(), command);
    QCOMPARE(child.waitFor("ready"), QString(""));
    const QString lock = "/var/lock/LCK.." + sim.device().mid(5).replace('/', '_');
    const bool locked = QFile::exists(lock);
    ::kill(pid_t(child.process().processId()), signal);
    QVERIFY(child.process().waitForFinished(WaitMs));
    QCOMPARE(child.process().exitStatus(), QProcess::NormalExit);
    QStringList frames{"8CF0F0", "8D0064000000000000", "8D0000000000000000"};
    if (outputOff)
        frames << "8C0F0F";
    QTRY_COMPARE_WITH_TIMEOUT(sim.frames(), frames, WaitMs);
    if (locked)
        QVERIFY(!QFile::exists(lock));
}

QTEST_MAIN(TestE2ePorts)
#include "tst_e2e_ports.moc"
