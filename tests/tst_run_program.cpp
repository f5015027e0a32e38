// SPDX-License-Identifier: GPL-3.0-or-later
// mq7410-run as a process against mq7410-sim: what each command prints and sends, its exit
// statuses, the frame log it writes, a port another holds, a run stopped by a signal.

#include "support/simprocess.h"

#include <QFile>
#include <QTcpSocket>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

using mq7410::test::SimProcess;

namespace {

constexpr int WaitMs = SimProcess::WaitMs;
const QString Step1 = QStringLiteral("8D00C801F400000000"); // CH1 2.00 V 0.500 A
const QString Step2 = QStringLiteral("8D019001F400000000"); // CH1 4.00 V 0.500 A
const QString Finish = QStringLiteral("8D0000000000000000");

// Step 1 for `seconds`, then step 2, whose time 0 ends the run.
QByteArray sequence(int seconds)
{
    QByteArray file = "step,time_s,ch1_v,ch1_a,ch2_v,ch2_a\n1," + QByteArray::number(seconds)
                      + ",2,0.5,0,0\n2,0,4,0.5,0,0\n";
    for (int step = 3; step <= 9; ++step)
        file += QByteArray::number(step) + ",0,0,0,0,0\n";
    return file + "finish,,0,0,0,0\n";
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QString program()
{
    return qEnvironmentVariable("MQ7410_RUN",
                                QCoreApplication::applicationDirPath() + "/../mq7410-run");
}

// The sim's folder holds the files, the settings and the log; its line is COM 1, and COM 2 a
// device that does not exist.
void startRun(QProcess &process, SimProcess &sim, const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("MQ7410_PORTS", sim.device() + ":/nonexistent-7410/tty");
    environment.insert("XDG_CONFIG_HOME", sim.filePath("config"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(sim.filePath("."));
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process.start(program(), arguments);
}

struct Ran
{
    int code = -1; // -1: it crashed or never ended
    QString out;
    QString err;
};

Ran run(SimProcess &sim, const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    startRun(process, sim, arguments);
    process.write(input);
    process.closeWriteChannel();
    const bool ended
            = process.waitForFinished(WaitMs) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// The frame column of the CSV log, the header's first.
QStringList loggedFrames(const QString &path)
{
    QFile file(path);
    QStringList frames;
    if (!file.open(QIODevice::ReadOnly))
        return frames;
    for (const QByteArray &line : file.readAll().split('\n'))
        frames << QString::fromUtf8(line.split(',').value(1));
    frames.removeLast(); // after the last line end
    return frames;
}

} // namespace

class TestRunProgram : public QObject
{
    Q_OBJECT
private slots:
    void exits_data();
    void exits();
    void plays_data();
    void plays();
    void serves();
    void stopsOnSignal_data();
    void stopsOnSignal();
    void helpOnAFullDisk();
};

void TestRunProgram::exits_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QString>("out"); // DEVICE stands for the sim's line
    QTest::addColumn<QString>("err"); // a part of it

    const QStringList exec{"--port", "COM1", "exec"};
    QTest::newRow("list-ports: free, and unusable with the reason")
            << QStringList{"list-ports"} << QByteArray() << 0 << QStringList()
            << "COM 1  DEVICE  free\nCOM 2  /nonexistent-7410/tty  unusable: No such file or "
               "directory\n"
            << "";
    QTest::newRow("exec: one reply line per line with queries")
            << exec + QStringList{"VOLT 5,(@1);OUTP ON", "VOLT? (@1);OUTP?", "*CLS"} << QByteArray()
            << 0 << QStringList{"8801F4", "8CF0F0"} << "5.00;1\n"
            << "";
    QTest::newRow("exec -: the lines of standard input, the last without LF")
            << exec + QStringList{"-"} << QByteArray("VOLT 7,(@2)\r\n\nVOLT? (@2)\nOUTP?") << 0
            << QStringList{"8A02BC"} << "7.00\n0\n"
            << "";
    QTest::newRow("exec -: a line over 4096 bytes refused whole, the next one run")
            << exec + QStringList{"-"} << QByteArray(5000, '1') + "\nVOLT? (@1)\n"
            << 1 << QStringList() << "0.00\n"
            << "mq7410-run: a line: -363,\"Input buffer overrun;longer than 4096 bytes\"\n";
    QTest::newRow("exec: each error with its code and text, nothing sent")
            << exec + QStringList{"VOLT 50,(@1)", "FOO;OUTP ON"} << QByteArray() << 1
            << QStringList() << ""
            << "mq7410-run: VOLT 50,(@1): -222,\"Data out of range;CH1 voltage 50 V is outside 0 "
               "to 32.00 V\"\nmq7410-run: FOO;OUTP ON: -113,\"Undefined header;FOO\"\n";
    const QStringList play{"--port", "COM1", "play", "short.csv"};
    QTest::newRow("play: a file the window refuses, with its line and column")
            << QStringList{"--port", "COM1", "play", "bad.csv"} << QByteArray() << 1
            << QStringList() << ""
            << R"(bad.csv, line 3, column 1: expected the step label "2", found "3")";
    QTest::newRow("play: a log that cannot be written")
            << QStringList{"--log", "/nonexistent-7410/log.csv"} + play << QByteArray() << 1
            << QStringList() << ""
            << "/nonexistent-7410/log.csv: No such file";
    QTest::newRow("usage: no command") << QStringList() << QByteArray() << 2 << QStringList() << ""
                                       << "no command";
    QTest::newRow("usage: --repeat 10000, one past the box")
            << play + QStringList{"--repeat", "10000"} << QByteArray() << 2 << QStringList() << ""
            << "--repeat takes 1 to 9999, or 0";
    QTest::newRow("usage: play without --port")
            << QStringList{"play", "short.csv"} << QByteArray() << 2 << QStringList() << ""
            << "play needs --port PORT";
    QTest::newRow("usage: --port after the command")
            << QStringList{"play", "short.csv", "--port", "COM1"} << QByteArray() << 2
            << QStringList() << ""
            << "It goes before the command.";
    QTest::newRow("usage: list-ports with --port") << QStringList{"--port", "COM1", "list-ports"}
                                                   << QByteArray() << 2 << QStringList() << ""
                                                   << "takes no --port";
    QTest::newRow("usage: --listen that is not an address")
            << QStringList{"--port", "COM1", "serve", "--listen", "nonsense"} << QByteArray() << 2
            << QStringList() << ""
            << "--listen: \"nonsense\" is not an address";
    QTest::newRow("port: no COM 9 for play") << QStringList{"--port", "COM9", "play", "short.csv"}
                                             << QByteArray() << 3 << QStringList() << ""
                                             << "there is no COM9 on this machine";
    QTest::newRow("port: COM 2 unusable for serve")
            << QStringList{"--port", "COM2", "serve"} << QByteArray() << 3 << QStringList() << ""
            << "/nonexistent-7410/tty: No such file";
}

void TestRunProgram::exits()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);
    QFETCH(QStringList, frames);
    QFETCH(QString, out);
    QFETCH(QString, err);

    SimProcess sim;
    QVERIFY(sim.start());
    writeFile(sim.filePath("short.csv"), sequence(1));
    writeFile(sim.filePath("bad.csv"), "step,time_s,ch1_v,ch1_a,ch2_v,ch2_a\n1,1,2,0.5,0,0\n3,");
    const Ran ran = run(sim, arguments, input);
    QVERIFY2(ran.code == exitCode, qPrintable(ran.err));
    QCOMPARE(ran.out, out.replace("DEVICE", sim.device()));
    QVERIFY2(ran.err.contains(err), qPrintable(ran.err));
    QVERIFY(sim.terminate());
    QCOMPARE(sim.frames(), frames);
}

// A whole run, as the plan says, and what is printed of it where; the frame log always.
void TestRunProgram::plays_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("terminal");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QStringList>("printed"); // in order

    const QStringList once{Step1, Step2};
    QTest::newRow("one line per frame, then the end")
            << QStringList() << false << once
            << QStringList{"  " + Step1 + "  step 1: CH1 2.00 V 0.500 A",
                           "  " + Step2 + "  step 2:", "  Run of short.csv completed at "};
    QTest::newRow("--quiet: nothing") << QStringList{"--quiet"} << false << once << QStringList();
    QTest::newRow("on a terminal: the progress line rewritten, then the end")
            << QStringList() << true << once
            << QStringList{"\r\x1b[KStep 1 of 1 \u00b7 2 s left in this step",
                           " \u00b7 last: step 1: CH1 2.00 V",
                           "\r\x1b[KRun of short.csv completed"};
    QTest::newRow("--repeat 2 instead of the file's 1")
            << QStringList{"--quiet", "--repeat", "2"} << false << QStringList{Step1, Step1, Step2}
            << QStringList();
}

void TestRunProgram::plays()
{
    QFETCH(QStringList, options);
    QFETCH(bool, terminal);
    QFETCH(QStringList, frames);
    QFETCH(QStringList, printed);

    SimProcess sim;
    QVERIFY(sim.start());
    writeFile(sim.filePath("short.csv"), sequence(1));
    QProcess process;
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
    if (terminal)
        process.setStandardOutputFile(QString::fromLocal8Bit(::ptsname(master)));
    QStringList arguments{"--port", "COM1", "--log", "log.csv"};
    if (options.removeAll("--quiet") != 0)
        arguments << "--quiet";
    startRun(process, sim, arguments + QStringList{"play", "short.csv"} + options);
    QVERIFY(process.waitForFinished(WaitMs));
    QCOMPARE(process.exitCode(), 0);
    QByteArray shown = process.readAllStandardOutput();
    char bytes[4096];
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    for (ssize_t count = 0; (count = ::read(master, bytes, sizeof bytes)) > 0;)
        shown.append(bytes, count);
    ::close(master);

    qsizetype from = 0;
    for (const QString &part : printed) {
        from = QString::fromUtf8(shown).indexOf(part, from);
        QVERIFY2(from >= 0, qPrintable(part + " not in order in:\n" + shown));
    }
    QCOMPARE(shown.isEmpty(), printed.isEmpty());
    QVERIFY(sim.terminate());
    QCOMPARE(sim.frames(), frames);
    QCOMPARE(loggedFrames(sim.filePath("log.csv")),
             QStringList{"frame"} + frames + QStringList{""});
}

// The server without the window: a client's frame goes out, printed with the client as its
// origin, until SIGTERM.
void TestRunProgram::serves()
{
    SimProcess sim;
    QVERIFY(sim.start());
    QProcess server;
    startRun(server, sim, {"--port", "COM1", "serve", "--listen", "0"});
    QString said;
    QTRY_VERIFY_WITH_TIMEOUT((said += server.readAllStandardError()).endsWith('\n'), WaitMs);
    QVERIFY2(said.startsWith("mq7410-run: listening on 127.0.0.1:"), qPrintable(said));
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, said.section(':', -1).trimmed().toUShort());
    QVERIFY(client.waitForConnected(WaitMs));
    client.write("VOLT 5,(@1)\nVOLT? (@1)\n");
    // The macros read their condition once more when it holds: what was read is kept.
    QByteArray reply;
    QTRY_VERIFY_WITH_TIMEOUT((reply += client.readAll()) == "5.00\n", WaitMs);
    QByteArray printed;
    QTRY_VERIFY_WITH_TIMEOUT((printed += server.readAllStandardOutput())
                                     .contains("  8801F4  CH1 5.00 V  client 127.0.0.1:"),
                             WaitMs);
    server.terminate();
    QVERIFY(server.waitForFinished(WaitMs));
    QCOMPARE(server.exitCode(), 128 + SIGTERM);
    QVERIFY(sim.terminate());
    QCOMPARE(sim.frames(), QStringList{"8801F4"});
}

// In the middle of a long step the run holds its port against everyone. A signal stops it
// with the Finish row, whole, then it exits with 128 + the signal; a supply unplugged (the
// sim's SIGUSR1) ends it with 3.
void TestRunProgram::stopsOnSignal_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("toSim");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("frames");
    const QStringList stopped{Step1, Finish};
    QTest::newRow("SIGINT (Ctrl+C): 130") << SIGINT << false << 130 << stopped;
    QTest::newRow("SIGTERM: 143") << SIGTERM << false << 143 << stopped;
    QTest::newRow("SIGHUP: 129") << SIGHUP << false << 129 << stopped;
    QTest::newRow("unplugged: 3") << SIGUSR1 << true << 3 << QStringList{Step1};
}

void TestRunProgram::stopsOnSignal()
{
    QFETCH(int, signalNumber);
    QFETCH(bool, toSim);
    QFETCH(int, exitCode);
    QFETCH(QStringList, frames);
    SimProcess sim;
    QVERIFY(sim.start());
    writeFile(sim.filePath("long.csv"), sequence(600));
    QProcess holder;
    startRun(holder, sim,
             {"--port", "COM1", "--log", "log.csv", "play", "--repeat", "0", "long.csv"});
    QTRY_COMPARE_WITH_TIMEOUT(sim.frames(), QStringList{Step1}, WaitMs);

    const Ran listed = run(sim, {"list-ports"});
    QVERIFY2(listed.out.startsWith("COM 1  " + sim.device() + "  held: held by another program\n"),
             qPrintable(listed.out));
    const Ran refused = run(sim, {"--port", sim.device(), "play", "long.csv"});
    QCOMPARE(refused.code, 3);
    QCOMPARE(refused.err, "mq7410-run: " + sim.device() + ": held by another program\n");

    QProcess &target = toSim ? sim.process() : holder;
    QCOMPARE(::kill(pid_t(target.processId()), signalNumber), 0);
    QVERIFY(holder.waitForFinished(WaitMs));
    QCOMPARE(holder.exitCode(), exitCode);
    QVERIFY(sim.terminate());
    QCOMPARE(sim.frames(), frames);
    QVERIFY(sim.records("skipped").isEmpty()); // no part of a frame
    QCOMPARE(loggedFrames(sim.filePath("log.csv")),
             QStringList{"frame"} + frames + QStringList{""});
}

// An output that fails counts, even that of the help.
void TestRunProgram::helpOnAFullDisk()
{
    QProcess process;
    process.setStandardOutputFile("/dev/full");
    process.start(program(), {"--help"});
    QVERIFY(process.waitForFinished(WaitMs));
    QCOMPARE(process.exitCode(), 1);
}

QTEST_GUILESS_MAIN(TestRunProgram)
#include "tst_run_program.moc"
