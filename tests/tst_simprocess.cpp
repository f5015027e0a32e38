// mq7410-sim as a process: the device line, frames written to its pseudo-terminal as the front
// panel writes them, the JSON log, line settings, the test hooks, COMMAND, and usage errors.

#include "support/simprocess.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using mq7410::test::SimProcess;
using mq7410::test::supplyState;

namespace {

constexpr int WaitMs = SimProcess::WaitMs;

qint64 monotonicNow()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
}

// The last record of the log, or of one kind; empty when there is none yet.
QJsonObject lastRecord(const SimProcess &sim, const QString &event = {})
{
    const QList<QJsonObject> records = event.isEmpty() ? sim.records() : sim.records(event);
    return records.isEmpty() ? QJsonObject() : records.last();
}

// The slave side as the front panel opens it, at 115200 8N1 unless set otherwise.
class PanelPort
{
public:
    explicit PanelPort(const QString &device)
        : m_fd(::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC))
    {
        if (m_fd >= 0 && !setLine(B115200, CS8, 0, 0))
            ::close(std::exchange(m_fd, -1));
    }
    ~PanelPort()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }

    bool setLine(speed_t speed, tcflag_t characterSize, tcflag_t parity, tcflag_t stopBits)
    {
        termios attributes{};
        if (::tcgetattr(m_fd, &attributes) != 0)
            return false;
        ::cfmakeraw(&attributes);
        ::cfsetospeed(&attributes, speed);
        ::cfsetispeed(&attributes, speed);
        attributes.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB);
        attributes.c_cflag |= characterSize | parity | stopBits | CLOCAL | CREAD;
        return ::tcsetattr(m_fd, TCSANOW, &attributes) == 0;
    }

    bool write(const QByteArray &bytes)
    {
        return ::write(m_fd, bytes.constData(), bytes.size()) == bytes.size();
    }

    // True once the far end has hung up (the master was closed).
    bool seesHangUp()
    {
        pollfd entry{m_fd, POLLIN, 0};
        return ::poll(&entry, 1, WaitMs) == 1 && (entry.revents & POLLHUP);
    }

private:
    int m_fd;
};

} // namespace

class TestSimProcess : public QObject
{
    Q_OBJECT
private slots:
    void decodesWhatThePanelWrites();
    void reportsChangedLineSettings();
    void keepsThePortAcrossReopening();
    void exitAfterFramesHangsUp();
    void runsACommand_data();
    void runsACommand();
    void forwardsTheCommandsOutput();
    void usage_data();
    void usage();
};

void TestSimProcess::decodesWhatThePanelWrites()
{
    SimProcess sim;
    QVERIFY(sim.start());
    QVERIFY2(QRegularExpression("^/dev/pts/[0-9]+$").match(sim.device()).hasMatch(),
             qPrintable(sim.device()));
    PanelPort port(sim.device());
    QVERIFY(port.isOpen());

    const qint64 before = monotonicNow();
    const QByteArray garbage("z\0\"\\\xFF\n", 6);
    QVERIFY(port.write("8804D2"));
    QVERIFY(port.write("8D04D205DC")); // one frame in two writes
    QVERIFY(port.write("01F400FA"));
    QVERIFY(port.write(garbage + "8CF0F0"));
    QTRY_COMPARE_WITH_TIMEOUT(sim.frames().size(), 3, WaitMs);
    const qint64 after = monotonicNow();

    QCOMPARE(sim.frames(), (QStringList{"8804D2", "8D04D205DC01F400FA", "8CF0F0"}));
    QCOMPARE(sim.state(), supplyState(1234, 1500, 500, 250, true, false));
    // The same clock as this process's steady_clock.
    qint64 previous = before;
    for (const QJsonObject &frame : sim.records("frame")) {
        const qint64 time = frame["t_ns"].toInteger();
        QVERIFY(time >= previous && time <= after);
        previous = time;
    }
    const QList<QJsonObject> skipped = sim.records("skipped");
    QCOMPARE(skipped.size(), 1);
    QCOMPARE(skipped[0]["hex"].toString(), "7A00225CFF0A");
    QCOMPARE(skipped[0]["bytes"].toString(), QString::fromLatin1(garbage));
    QCOMPARE(skipped[0]["reason"].toString(), "unknown_code");
    QVERIFY(sim.records("not JSON").isEmpty());

    QTRY_VERIFY_WITH_TIMEOUT(sim.output().contains("8D04D205DC01F400FA  CH1 12.34 V 1.500 A, "
                                                   "CH2 05.00 V 0.250 A"),
                             WaitMs);
    // The status line follows in a later chunk of output, possibly not read yet.
    QTRY_VERIFY_WITH_TIMEOUT(sim.output().contains("state   CH1 12.34 V 1.500 A | CH2 05.00 V "
                                                   "0.250 A | output ON | link OFF"),
                             WaitMs);

    // SIGTERM: a clean end, and the panel sees the far end hang up.
    QVERIFY(sim.terminate());
    QVERIFY(port.seesHangUp());
    const QJsonObject last = lastRecord(sim);
    QCOMPARE(last["event"].toString(), "stop");
    QCOMPARE(last["reason"].toString(), "signal");
    QCOMPARE(last["frames"].toInt(), 3);
}

void TestSimProcess::reportsChangedLineSettings()
{
    SimProcess sim;
    QVERIFY(sim.start());
    PanelPort port(sim.device());
    QVERIFY(port.isOpen());
    QTRY_COMPARE_WITH_TIMEOUT(lastRecord(sim, "settings")["baud"].toInt(), 115200, WaitMs);

    // A change with nothing written is reported too, and warned about.
    QVERIFY(port.setLine(B9600, CS7, PARENB, CSTOPB));
    QTRY_COMPARE_WITH_TIMEOUT(lastRecord(sim, "settings")["baud"].toInt(), 9600, WaitMs);
    const QJsonObject changed = lastRecord(sim, "settings");
    QCOMPARE(changed["stop_bits"].toInt(), 2);
    QCOMPARE(changed["matches_supply"].toBool(), false);
    QTRY_VERIFY_WITH_TIMEOUT(
            sim.output().contains(QRegularExpression("line settings 9600 baud .N2, flow "
                                                     "control none  WARNING")),
            WaitMs);
}

void TestSimProcess::keepsThePortAcrossReopening()
{
    SimProcess sim;
    QVERIFY(sim.start());
    QStringList written;
    for (int round = 0; round < 5; ++round) {
        PanelPort port(sim.device());
        QVERIFY2(port.isOpen(), qPrintable(QString::number(round)));
        written << QString::asprintf("88%04X", round * 100);
        QVERIFY(port.write(written.last().toLatin1()));
    }
    QTRY_COMPARE_WITH_TIMEOUT(sim.frames(), written, WaitMs);
    QVERIFY(sim.isRunning());
}

void TestSimProcess::exitAfterFramesHangsUp()
{
    SimProcess sim;
    QVERIFY(sim.start({"--exit-after-frames", "2"}));
    PanelPort port(sim.device());
    QVERIFY(port.isOpen());
    QVERIFY(port.write("8804D28705DC8CF0F0")); // the limit falls inside one write

    QVERIFY(sim.process().waitForFinished(WaitMs));
    QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process().exitCode(), 0);
    QVERIFY(port.seesHangUp());
    QCOMPARE(sim.frames(), (QStringList{"8804D2", "8705DC"}));
    QCOMPARE(lastRecord(sim)["reason"].toString(), "frame_limit");
}

void TestSimProcess::runsACommand_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("frames");

    QTest::newRow("frame written, exit code forwarded")
            << QStringList{"sh", "-c", "printf 8804D2 > \"$MQ7410_PORTS\"; exit 7"} << 7
            << QStringList{"8804D2"};
    QTest::newRow("frame written just before the end")
            << QStringList{"sh", "-c", "printf 8E00FA01F4 > \"$MQ7410_PORTS\"; exec true"} << 0
            << QStringList{"8E00FA01F4"};
    QTest::newRow("ended by a signal")
            << QStringList{"sh", "-c", "kill -TERM $$"} << 128 + 15 << QStringList{};
    QTest::newRow("cannot be started")
            << QStringList{QDir::tempPath() + "/no-such-mq7410-panel"} << 127 << QStringList{};
}

void TestSimProcess::runsACommand()
{
    QFETCH(QStringList, command);
    QFETCH(int, exitCode);
    QFETCH(QStringList, frames);

    SimProcess sim;
    QVERIFY(sim.start(QStringList{"--"} + command));
    QVERIFY(sim.process().waitForFinished(WaitMs));
    QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process().exitCode(), exitCode);
    QCOMPARE(sim.frames(), frames);
    QCOMPARE(lastRecord(sim)["reason"].toString(), "command_ended");
}

void TestSimProcess::forwardsTheCommandsOutput()
{
    SimProcess sim;
    QVERIFY(sim.start({"--", "sh", "-c", "echo \"port $MQ7410_PORTS\"; echo oops >&2"}));
    QVERIFY(sim.process().waitForFinished(WaitMs));
    QCOMPARE(sim.process().exitCode(), 0);
    QVERIFY2(sim.output().contains("port " + sim.device() + '\n'), qPrintable(sim.output()));
    QCOMPARE(sim.process().readAllStandardError(), "oops\n");
}

// One row for each way out before anything is opened; the option rules themselves are
// checked by tst_simoptions.
void TestSimProcess::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stdoutHas");
    QTest::addColumn<QString>("stderrHas");

    QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << ""
                                    << "unknown option --bogus";
    QTest::newRow("log cannot be written")
            << QStringList{"--log", QDir::tempPath() + "/no-such-dir-7410/x.jsonl"} << 1 << ""
            << "cannot write";
}

void TestSimProcess::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, stdoutHas);
    QFETCH(QString, stderrHas);

    QProcess process;
    process.start(SimProcess::program(), arguments);
    QVERIFY(process.waitForFinished(WaitMs));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(stdoutHas.isEmpty() ? out.isEmpty() : out.contains(stdoutHas), qPrintable(out));
    QVERIFY2(stderrHas.isEmpty() ? err.isEmpty() : err.contains(stderrHas), qPrintable(err));
}

QTEST_GUILESS_MAIN(TestSimProcess)
#include "tst_simprocess.moc"
