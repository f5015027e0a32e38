// bench-sequence-timing: when the frames of a running sequence reach the virtual supply,
// against when they are due.
//
// The window runs in this process with the real serial line; mq7410-sim runs as a process
// and logs each frame with its CLOCK_MONOTONIC time. Nine steps of S seconds each: the frame
// of step k+1 is due k x (S+1) ticks after the click on Start (a step of S seconds lasts S+1
// ticks of 1000 ms), and the Finish row's frame 9 x (S+1) ticks after it.
//
//   bench-sequence-timing [--step-seconds S] [--runs N] [--sim PATH]

#include "benchtools.h"
#include "timingreport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace mq7410;
using namespace mq7410::bench;

namespace {

constexpr int Steps = 9;
constexpr std::int64_t TickNs = 1'000'000'000;

QString startSim(QProcess &sim, const QString &program, const QString &log)
{
    sim.start(program, {QStringLiteral("--log"), log});
    if (!sim.waitForStarted(10000))
        die(qPrintable("cannot start " + program));
    while (!sim.canReadLine() && sim.waitForReadyRead(10000)) {}
    const QString line = QString::fromUtf8(sim.readLine()).trimmed();
    if (!line.startsWith(QLatin1String("device: ")))
        die(qPrintable("no device line from " + program));
    return line.mid(8);
}

// Step k holds k volts on CH1, the Finish row 10 V, so each frame tells where it belongs.
void fillTable(const UIForm &form, long long stepSeconds)
{
    const auto box = [&form](const QString &name) {
        return form.findChild<QLineEdit *>(name);
    };
    for (int step = 1; step <= Steps; ++step) {
        box(QStringLiteral("Time%1").arg(step))->setText(QString::number(stepSeconds));
        box(QStringLiteral("CH1V%1").arg(step + 1))->setText(QString::number(step));
    }
    box(QStringLiteral("CH1V1"))->setText(QStringLiteral("10"));
}

QString expectedFrame(int index) // index 0..8: steps 1..9, 9: Finish
{
    const QString ch1Voltage = QString::number((index + 1) * 100, 16).toUpper();
    return "8D" + ch1Voltage.rightJustified(4, '0') + QString(12, '0');
}

// The frames the sim logged at or after `sinceNs`: frame text and t_ns.
QList<QPair<QString, std::int64_t>> framesSince(const QString &log, std::int64_t sinceNs)
{
    QList<QPair<QString, std::int64_t>> frames;
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return frames;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QJsonObject record = QJsonDocument::fromJson(line).object();
        const std::int64_t time = record[QLatin1String("t_ns")].toInteger();
        if (record[QLatin1String("event")].toString() == QLatin1String("frame") && time >= sinceNs)
            frames.append({record[QLatin1String("frame")].toString(), time});
    }
    return frames;
}

// Spins the event loop until `done` holds or `timeoutMs` passes.
void waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(100);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
}

std::vector<FrameTiming> playOnce(BenchPanel &bench, int run, long long stepSeconds,
                                  const QString &log)
{
    std::vector<std::int64_t> &writtenNs = bench.stamps.writtenNs;
    writtenNs.clear();
    fillTable(*bench.form, stepSeconds);
    auto *start = bench.form->findChild<QAbstractButton *>(QStringLiteral("Start"));
    const long long ticksPerStep = stepSeconds + 1;
    const std::int64_t clickNs = monotonicNs();
    QTest::mouseClick(start, Qt::LeftButton);
    const int boundMs = int((Steps * ticksPerStep + 30) * 1000);
    waitUntil([&bench] { return !bench.panel.running(); }, boundMs);
    waitUntil([&] { return framesSince(log, clickNs).size() >= Steps + 1; }, 10000);

    const auto frames = framesSince(log, clickNs);
    if (bench.panel.running() || frames.size() != Steps + 1 || writtenNs.size() != Steps + 1)
        die("the run did not end with ten frames");
    std::vector<FrameTiming> timings;
    for (int index = 0; index <= Steps; ++index) {
        if (frames[index].first != expectedFrame(index))
            die(qPrintable("unexpected frame " + frames[index].first));
        const long long tick = index * ticksPerStep;
        const std::int64_t idealNs = clickNs + tick * TickNs;
        timings.push_back({run, tick, double(tick), double(writtenNs[index] - idealNs) / 1e6,
                           double(frames[index].second - idealNs) / 1e6});
    }
    return timings;
}

} // namespace

int main(int argc, char *argv[])
{
    preferOffscreen();
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const long long stepSeconds = intOption(arguments, QStringLiteral("--step-seconds"), 1);
    const long long runs = intOption(arguments, QStringLiteral("--runs"), 2);
    const qsizetype simAt = arguments.indexOf(QStringLiteral("--sim"));
    const QString simProgram = simAt > 0 && simAt + 1 < arguments.size()
                                       ? arguments[simAt + 1]
                                       : QCoreApplication::applicationDirPath() + "/mq7410-sim";

    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("sim.jsonl"));
    QProcess sim;
    qputenv("MQ7410_PORTS", QFile::encodeName(startSim(sim, simProgram, log)));
    BenchPanel bench;
    bench.form->findChild<QAction *>(QStringLiteral("Auto"))->trigger();

    const QString started = QDateTime::currentDateTime().toString(Qt::ISODate);
    const QString machineBefore = machineLine();
    std::vector<FrameTiming> timings;
    for (int run = 1; run <= runs; ++run) {
        const auto played = playOnce(bench, run, stepSeconds, log);
        timings.insert(timings.end(), played.begin(), played.end());
    }
    bench.checkNoErrorBox();
    sim.terminate();
    sim.waitForFinished(10000);

    std::printf("bench-sequence-timing, %s\ncommand: %s\n", qPrintable(started),
                qPrintable(commandLine(arguments)));
    std::printf("machine: %s (before), %s (after)\n", qPrintable(machineBefore),
                qPrintable(machineLine()));
    std::printf("%lld run(s) of nine %lld s steps: frames every %lld ticks of 1000 ms\n\n", runs,
                stepSeconds, stepSeconds + 1);
    report(timings, runs);
    return 0;
}
