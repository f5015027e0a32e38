// SPDX-License-Identifier: GPL-3.0-or-later
// mq7410-sim as a process: what a panel writes, in the log and on the console; the line
// settings and when they are warned about; an unplug; the ways it ends.

#include "simprocess.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <optional>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

using mq7410::test::SimProcess;

namespace {

constexpr int WaitMs = SimProcess::WaitMs;

// The slave side as the panel opens it: raw at `speed`, held with TIOCEXCL as Qt does.
struct PanelPort
{
    PanelPort(const QString &device, bool exclusive, speed_t speed)
        : fd(::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC))
        , ok(fd >= 0 && (!exclusive || ::ioctl(fd, TIOCEXCL) == 0) && setSpeed(speed))
    {}
    ~PanelPort() { ::close(fd); }
    bool setSpeed(speed_t speed) const
    {
        termios attributes{};
        if (::tcgetattr(fd, &attributes) != 0)
            return false;
        ::cfmakeraw(&attributes);
        return ::cfsetspeed(&attributes, speed) == 0 && ::tcsetattr(fd, TCSANOW, &attributes) == 0;
    }
    const int fd;
    const bool ok;
};

} // namespace

class TestSimProcess : public QObject
{
    Q_OBJECT
private slots:
    void decodesWhatThePanelWrites();
    void warnsWhileThePanelHoldsTheLine();
    void unplugsAndComesBackBehindTheLink();
    void exits_data();
    void exits();
};

void TestSimProcess::decodesWhatThePanelWrites()
{
    SimProcess sim;
    QVERIFY(sim.start());
    QVERIFY(sim.device().startsWith("/dev/pts/"));
    const PanelPort port(sim.device(), true, B115200);
    const QByteArray bytes = "8804D28D04D205DC01F400FA" + QByteArray("z\0\"\xFF", 4) + "8CF0F0";
    QVERIFY(port.ok && ::write(port.fd, bytes.constData(), bytes.size()) == bytes.size());
    QTRY_COMPARE_WITH_TIMEOUT(sim.frames().size(), 3, WaitMs);

    QCOMPARE(sim.frames(), (QStringList{"8804D2", "8D04D205DC01F400FA", "8CF0F0"}));
    QCOMPARE(sim.state(), mq7410::test::supplyState(1234, 1500, 500, 250, true, false));
    QCOMPARE(sim.records("frame").at(1)["text"], "CH1 12.34 V 1.500 A, CH2 5.00 V 0.250 A");
    const QJsonObject skipped = sim.records("skipped").value(0);
    QCOMPARE(skipped["bytes"], QString::fromLatin1("z\0\"\xFF", 4));
    QCOMPARE(skipped["hex"], "7A0022FF");
    QCOMPARE(skipped["count"], 4);
    QCOMPARE(skipped["reason"], "unknown_code");
    QTRY_VERIFY_WITH_TIMEOUT(sim.output().contains("  8CF0F0  output on\n"), WaitMs);

    QVERIFY(sim.terminate());
    QCOMPARE(sim.records("stop").value(0)["reason"], "signal");
}

// The panel holds the line with TIOCEXCL, clears it on closing and leaves its settings: only
// settings seen while it holds the line are warned about. A line is printed whole.
void TestSimProcess::warnsWhileThePanelHoldsTheLine()
{
    SimProcess sim;
    QVERIFY(sim.start());
    const auto shown = [&sim](int baud, bool warned) {
        const QString line = QString("line settings %1 baud 8N1, flow control none").arg(baud);
        return QTest::qWaitFor([&] { return sim.output().contains(line); }, WaitMs)
               && sim.output().contains(line + "  WARNING: the supply listens") == warned;
    };
    std::optional<PanelPort> port(std::in_place, sim.device(), true, B9600);
    QVERIFY(port->ok && shown(9600, true));
    QVERIFY(::ioctl(port->fd, TIOCNXCL) == 0 && port->setSpeed(B4800) && shown(4800, false));
    port.emplace(sim.device(), false, B2400); // closed, then changed by another
    QVERIFY(port->ok && shown(2400, false));
}

// SIGUSR1 hangs up the line the panel holds; the supply comes back with its state on a new
// pseudo-terminal, found through the same link, which goes when the sim ends.
void TestSimProcess::unplugsAndComesBackBehindTheLink()
{
    SimProcess sim;
    const QString link = sim.filePath("supply");
    QVERIFY(sim.start({"--link", link, "--replug-after", "0"}));
    QCOMPARE(QFile::symLinkTarget(link), sim.device());
    const PanelPort before(link, true, B115200);
    QVERIFY(before.ok && ::write(before.fd, "8804D2", 6) == 6);
    QTRY_COMPARE_WITH_TIMEOUT(sim.frames().size(), 1, WaitMs);

    QCOMPARE(::kill(static_cast<pid_t>(sim.process().processId()), SIGUSR1), 0);
    QTRY_COMPARE_WITH_TIMEOUT(sim.records("replug").size(), 1, WaitMs);
    QVERIFY(::write(before.fd, "8CF0F0", 6) < 0 && errno == EIO);
    // `before` still holds the old line open, so the system cannot give out its number again.
    const QString device = sim.records("replug").at(0)["device"].toString();
    QVERIFY(device.startsWith("/dev/pts/") && device != sim.device());
    QCOMPARE(QFile::symLinkTarget(link), device);
    QTRY_VERIFY_WITH_TIMEOUT(sim.output().contains("device: " + device + '\n'), WaitMs);

    const PanelPort after(link, true, B115200);
    QVERIFY(after.ok && ::write(after.fd, "8CF0F0", 6) == 6);
    QTRY_COMPARE_WITH_TIMEOUT(sim.frames(), (QStringList{"8804D2", "8CF0F0"}), WaitMs);
    QCOMPARE(sim.state(), mq7410::test::supplyState(1234, 0, 0, 0, true, false));
    QVERIFY(sim.terminate());
    QVERIFY(!QFileInfo(link).isSymLink());
}

// With a COMMAND its end is the sim's; a usage error ends it before anything is opened.
void TestSimProcess::exits_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QString>("said");
    const auto run = [](const QString &script) {
        return QStringList{"--", "sh", "-c", script};
    };
    const QString write = "printf 8804D28E00FA01F48CF0F0 > \"$MQ7410_PORTS\"; ";

    QTest::newRow("frames written, exit code forwarded")
            << run(write + "exit 7") << 7 << QStringList{"8804D2", "8E00FA01F4", "8CF0F0"}
            << "stopped (command_ended) after 3 frames";
    // The limit falls inside one write; cat returns once the supply hangs up.
    QTest::newRow("--exit-after-frames 2 hangs up")
            << QStringList{"--exit-after-frames", "2"}
                       + run(write + "cat \"$MQ7410_PORTS\"; exit 3")
            << 3 << QStringList{"8804D2", "8E00FA01F4"} << "stopped (frame_limit) after 2 frames";
    QTest::newRow("ended by SIGTERM")
            << run("kill -TERM $$") << 128 + 15 << QStringList{} << "stopped (command_ended)";
    QTest::newRow("cannot be started") << QStringList{"--", "/nonexistent-7410/panel"} << 127
                                       << QStringList{} << "cannot start";
    QTest::newRow("word without --") << QStringList{"x"} << 2 << QStringList{} << "after --";
    QTest::newRow("frames 0") << QStringList{"--exit-after-frames=0"} << 2 << QStringList{}
                              << "not 0";
    QTest::newRow("log cannot be written") << QStringList{"--log", "/nonexistent-7410/log"} << 1
                                           << QStringList{} << "cannot write";
    QTest::newRow("--link empty") << QStringList{"--link="} << 2 << QStringList{} << "a path";
    QTest::newRow("--replug-after -1")
            << QStringList{"--replug-after", "-1"} << 2 << QStringList{} << "not -1";
    // The sim runs beside its log, which must not be replaced by the link.
    QTest::newRow("--link names a file")
            << QStringList{"--link", "sim.jsonl"} << 1 << QStringList{} << "not a symbolic link";
}

void TestSimProcess::exits()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, frames);
    QFETCH(QString, said);

    SimProcess sim;
    QCOMPARE(sim.start(arguments), exitCode > 2);
    QProcess &process = sim.process();
    QVERIFY(process.state() == QProcess::NotRunning || process.waitForFinished(WaitMs));
    QCOMPARE(process.exitCode(), exitCode);
    QCOMPARE(sim.frames(), frames);
    const QString all = sim.output() + process.readAllStandardError();
    QVERIFY2(all.contains(said), qPrintable(all));
}

QTEST_GUILESS_MAIN(TestSimProcess)
#include "tst_simprocess.moc"
