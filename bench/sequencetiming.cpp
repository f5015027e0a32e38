// SPDX-License-Identifier: GPL-3.0-or-later
// bench-sequence-timing: when the frames of a running sequence reach the virtual supply,
// against when they are due.
//
// mq7410-sim runs as a process and logs each frame with its CLOCK_MONOTONIC time. The table is
// played by the window in this process, on a session with the real serial line, as Start plays
// it; or, with --program play, by `mq7410-run play` in a child process on the same sim. Two
// tables, each frame with its own CH1 voltage so that it tells where it belongs:
// - nine steps of S seconds: the frame of step k+1 is due k x (S+1) ticks after Start (a step
//   of S seconds lasts S+1 ticks of 1000 ms), the Finish row's 9 x (S+1) ticks after it;
//   --runs N plays it N times;
// - with --cycles N, two steps of S seconds (step 3's time 0 ends the cycle) repeated N times:
//   a frame every S+1 ticks, 2N+1 frames, the last one step 3's row. The player's peak
//   resident set is read at Start and at the end.
// With --chart the window plays with View > Sequence Chart open: its cursor is redrawn on
// every tick.
//
//   bench-sequence-timing [--step-seconds S] [--runs N] [--cycles N] [--program window|play]
//                         [--chart] [--sim PATH] [--run PATH]

#include "benchtools.h"
#include "simlog.h"
#include "timingreport.h"

#include "sequencefile.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace mq7410;
using namespace mq7410::bench;

namespace {

constexpr std::int64_t TickNs = 1'000'000'000;

struct DueFrame
{
    QString frame;
    long long tick = 0;
    int cycle = 1;
};

struct Table
{
    SequenceTexts texts = SequenceTexts::initial();
    std::vector<DueFrame> frames;
    long long lastTick() const { return frames.back().tick; }
};

// The frame of a row that holds `volts` on CH1 and 0 everywhere else.
QString frameOf(int volts)
{
    return "8D" + QString::number(volts * 100, 16).toUpper().rightJustified(4, '0')
           + QString(12, '0');
}

Table nineSteps(long long stepSeconds)
{
    Table table;
    const long long ticksPerStep = stepSeconds + 1;
    for (int step = 1; step <= StepCount; ++step) {
        table.texts.time(step) = std::to_string(stepSeconds);
        table.texts.value(step, SetPoint::Ch1Voltage) = std::to_string(step);
        table.frames.push_back({frameOf(step), (step - 1) * ticksPerStep});
    }
    table.texts.value(FinishRow, SetPoint::Ch1Voltage) = "10";
    table.frames.push_back({frameOf(10), StepCount * ticksPerStep});
    return table;
}

Table shortCycles(long long stepSeconds, int cycles)
{
    Table table;
    const long long ticksPerStep = stepSeconds + 1;
    table.texts.time(1) = table.texts.time(2) = std::to_string(stepSeconds);
    for (int row = 1; row <= 3; ++row)
        table.texts.value(row, SetPoint::Ch1Voltage) = std::to_string(row);
    table.texts.value(FinishRow, SetPoint::Ch1Voltage) = "10"; // never sent
    table.texts.repeat = cycles;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        const long long first = 2LL * (cycle - 1) * ticksPerStep;
        table.frames.push_back({frameOf(1), first, cycle});
        table.frames.push_back({frameOf(2), first + ticksPerStep, cycle});
    }
    table.frames.push_back({frameOf(3), 2LL * cycles * ticksPerStep, cycles});
    return table;
}

// Spins the event loop until `done` holds or `timeoutMs` passes; `done` is asked every 100 ms.
void waitUntil(const std::function<bool()> &done, long long timeoutMs)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(100);
    QTimer::singleShot(std::chrono::milliseconds(timeoutMs), &loop, &QEventLoop::quit);
    loop.exec();
}

// What one run left: the frames the sim read, the time they are measured from, and the
// player's peak resident set at Start and at the end.
struct Played
{
    QList<SimFrame> frames;
    std::int64_t startNs = 0;
    std::vector<std::int64_t> writtenNs; // the window's only
    std::optional<long long> peakAtStartKb;
    std::optional<long long> peakAtEndKb;
    QString note;
};

Played playInWindow(BenchPanel &bench, const QByteArray &file, const Table &table,
                    const QString &log)
{
    Played played;
    bench.writtenNs.clear();
    if (!bench.form->openSequence(file))
        failWith("the window did not read the table");
    auto *start = bench.form->findChild<QAbstractButton *>(QStringLiteral("Start"));
    played.startNs = monotonicNs();
    QTest::mouseClick(start, Qt::LeftButton);
    played.peakAtStartKb = statusKb(0, "VmHWM");
    // While the run is active only the run's state is looked at: nothing else wakes up here.
    waitUntil([&bench] { return !bench.session.panel().running(); },
              (table.lastTick() + 30) * 1000);
    played.peakAtEndKb = statusKb(0, "VmHWM");
    const auto count = qsizetype(table.frames.size());
    waitUntil([&] { return framesSince(log, played.startNs).size() >= count; }, 10000);
    if (bench.session.panel().running() || bench.writtenNs.size() != table.frames.size())
        failWith("the window's run did not end with the frames of the table");
    played.frames = framesSince(log, played.startNs);
    played.writtenNs = bench.writtenNs;
    return played;
}

// mq7410-run play in a child process on COM 1, its settings under `configHome` (the user's are
// never touched). Its frames are measured from its first one: the process's start is not the
// run's.
Played playInProcess(const QString &program, const QString &file, const Table &table,
                     const QString &log, const QString &configHome)
{
    Played played;
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    child.setProcessEnvironment(environment);
    const std::int64_t launchedNs = monotonicNs();
    child.start(program, {QStringLiteral("--port"), QStringLiteral("COM1"),
                          QStringLiteral("--quiet"), QStringLiteral("play"), file});
    if (!child.waitForStarted(10000))
        failWith("cannot start " + program.toStdString());
    const qint64 pid = child.processId();
    // Its memory is read while it lives: at its first frame, then every 100 ms until it ends.
    waitUntil(
            [&] {
                if (const std::optional<long long> peak = statusKb(pid, "VmHWM")) {
                    if (!played.peakAtStartKb && !framesSince(log, launchedNs).isEmpty())
                        played.peakAtStartKb = peak;
                    played.peakAtEndKb = peak;
                }
                return child.state() == QProcess::NotRunning;
            },
            (table.lastTick() + 30) * 1000);
    if ((child.state() != QProcess::NotRunning && !child.waitForFinished(10000))
        || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        failWith(program.toStdString() + " play did not end well");
    }
    played.frames = framesSince(log, launchedNs);
    if (played.frames.isEmpty())
        failWith(program.toStdString() + " play sent nothing");
    played.startNs = played.frames.front().ns;
    played.note = QStringLiteral("first frame %1 ms after the process was started")
                          .arg(double(played.startNs - launchedNs) / 1e6, 0, 'f', 1);
    return played;
}

std::vector<FrameTiming> timingsOf(const Played &played, const Table &table, int run)
{
    if (played.frames.size() != qsizetype(table.frames.size()))
        failWith("the sim read " + std::to_string(played.frames.size()) + " frames, not "
                 + std::to_string(table.frames.size()));
    std::vector<FrameTiming> timings;
    for (std::size_t index = 0; index < table.frames.size(); ++index) {
        const DueFrame &due = table.frames[index];
        const SimFrame &got = played.frames.at(qsizetype(index));
        if (got.frame != due.frame)
            failWith("unexpected frame " + got.frame.toStdString());
        const std::int64_t idealNs = played.startNs + due.tick * TickNs;
        std::optional<double> writtenMs;
        if (!played.writtenNs.empty())
            writtenMs = double(played.writtenNs[index] - idealNs) / 1e6;
        timings.push_back({run, due.cycle, due.tick, double(due.tick), writtenMs,
                           double(got.ns - idealNs) / 1e6});
    }
    return timings;
}

QString kb(const std::optional<long long> &value)
{
    return value ? QStringLiteral("%1 kB").arg(*value) : QStringLiteral("unknown");
}

} // namespace

int main(int argc, char *argv[])
{
    preferOffscreen();
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const long long stepSeconds = intOption(arguments, QStringLiteral("--step-seconds"), 1);
    const long long cycles = intOption(arguments, QStringLiteral("--cycles"), 0);
    const long long runs = intOption(arguments, QStringLiteral("--runs"), cycles > 0 ? 1 : 2);
    const QString program
            = textOption(arguments, QStringLiteral("--program"), QStringLiteral("window"));
    if (program != QLatin1String("window") && program != QLatin1String("play"))
        failWith("--program is window or play");
    const QString binDir = QCoreApplication::applicationDirPath();
    const QString simProgram
            = textOption(arguments, QStringLiteral("--sim"), binDir + "/mq7410-sim");
    const QString runProgram
            = textOption(arguments, QStringLiteral("--run"), binDir + "/mq7410-run");
    if (cycles > MaxRepeat)
        failWith("--cycles is at most " + std::to_string(MaxRepeat));
    const Table table = cycles > 0 ? shortCycles(stepSeconds, int(cycles)) : nineSteps(stepSeconds);

    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("sim.jsonl"));
    const QString file = dir.filePath(QStringLiteral("table.csv"));
    QFile csv(file);
    const std::string text = writeSequence(table.texts);
    if (!csv.open(QIODevice::WriteOnly) || csv.write(text.data(), qint64(text.size())) < 0)
        die("writing the table");
    csv.close();
    QProcess sim;
    qputenv("MQ7410_PORTS", QFile::encodeName(startSim(sim, simProgram, log)));
    std::unique_ptr<BenchPanel> window;
    if (program == QLatin1String("window"))
        window = std::make_unique<BenchPanel>();
    const bool chart = arguments.contains(QStringLiteral("--chart"));
    if (chart && !window)
        failWith("--chart is for the window");
    if (chart)
        window->form->findChild<QAction *>(QStringLiteral("mSequenceChart"))->trigger();

    const QString started = QDateTime::currentDateTime().toString(Qt::ISODate);
    const QString machineBefore = machineLine();
    std::vector<FrameTiming> timings;
    QStringList memory;
    for (int run = 1; run <= runs; ++run) {
        const Played played = window ? playInWindow(*window, QFile::encodeName(file), table, log)
                                     : playInProcess(runProgram, file, table, log,
                                                     dir.filePath(QStringLiteral("config")));
        const auto frames = timingsOf(played, table, run);
        timings.insert(timings.end(), frames.begin(), frames.end());
        memory << QStringLiteral("run %1: peak resident set %2 at Start, %3 at the end%4")
                          .arg(run)
                          .arg(kb(played.peakAtStartKb), kb(played.peakAtEndKb),
                               played.note.isEmpty() ? QString() : "; " + played.note);
    }
    if (window)
        window->checkNoErrorBox();
    sim.terminate();
    sim.waitForFinished(10000);

    std::printf("bench-sequence-timing, %s\ncommand: %s\n", qPrintable(started),
                qPrintable(commandLine(arguments)));
    std::printf("machine: %s (before), %s (after)\n", qPrintable(machineBefore),
                qPrintable(machineLine()));
    const QString player = chart    ? QStringLiteral("the window, its chart open")
                           : window ? QStringLiteral("the window")
                                    : QStringLiteral("mq7410-run play");
    if (cycles > 0) {
        std::printf("%s: %lld run(s) of %lld cycles of two %lld s steps: frames every %lld ticks "
                    "of 1000 ms\n",
                    qPrintable(player), runs, cycles, stepSeconds, stepSeconds + 1);
    } else {
        std::printf("%s: %lld run(s) of nine %lld s steps: frames every %lld ticks of 1000 ms\n",
                    qPrintable(player), runs, stepSeconds, stepSeconds + 1);
    }
    std::printf("%s\n\n", qPrintable(memory.join(QStringLiteral("\n"))));
    report(timings, runs);
    return 0;
}
