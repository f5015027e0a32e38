// bench-enter-latency: from a click on Enter to the last byte of its frame at the far end.
//
// The window runs with the real serial line on a pseudo-terminal whose master side this
// program reads, as the supply would read the line. Beside it, in the same rounds, the floor:
// a plain write() of the same six bytes on a pseudo-terminal of its own. To show where the
// time goes, three more paths are timed: SerialLine::write() alone, the core's Enter alone,
// and the click on a window whose link writes nothing.
//
//   bench-enter-latency [--clicks N] [--warmup N]

#include "benchtools.h"
#include "pty.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QTest>

#include <cstdio>
#include <unistd.h>

using namespace mq7410;
using namespace mq7410::bench;

namespace {

constexpr char EnterFrame[] = "880000"; // Enter right after start-up: CH1 0.00 V
constexpr int FrameSize = 6;

QAbstractButton *enterOf(const BenchPanel &bench)
{
    auto *enter = bench.form->findChild<QAbstractButton *>(QStringLiteral("EnterCommand"));
    if (!enter)
        die("no Enter button");
    return enter;
}

using Times = std::vector<std::int64_t>;

// Times `step` and keeps the figure when `keep`.
template<typename Step>
void timed(Times &times, bool keep, Step step)
{
    const std::int64_t start = monotonicNs();
    step();
    if (keep)
        times.push_back(monotonicNs() - start);
}

void printRow(const char *what, const Times &ns)
{
    const Summary s = summarize(ns);
    std::printf("%-42s %9.1f %9.1f %9.1f %9.1f\n", what, s.p50Us, s.p99Us, s.maxUs, s.meanUs);
}

} // namespace

int main(int argc, char *argv[])
{
    preferOffscreen();
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const auto clicks = std::size_t(intOption(arguments, QStringLiteral("--clicks"), 10000));
    const auto warmup = std::size_t(intOption(arguments, QStringLiteral("--warmup"), 200));

    Pty panelLine, directLine, floorLine;
    // COM 1 for the window (the first port it is asked about), COM 2 for the port alone.
    qputenv("MQ7410_PORTS", panelLine.slavePath() + ':' + directLine.slavePath());
    BenchPanel onTheLine;
    QAbstractButton *enter = enterOf(onTheLine);
    test::RecordingLink nowhere;
    BenchPanel windowOnly(&nowhere);
    QAbstractButton *enterWithoutLine = enterOf(windowOnly);
    SerialLine direct;
    if (!direct.open(2).opened)
        die("opening the line for SerialLine::write()");
    const int floorFd = floorLine.openSlaveLikeThePanel();

    Times floorNs, directNs, handlerNs, windowNs, clickNs;
    for (std::size_t round = 0; round < warmup + clicks; ++round) {
        const bool keep = round >= warmup;
        timed(floorNs, keep, [&] {
            if (::write(floorFd, EnterFrame, FrameSize) != FrameSize)
                die("write() on the pseudo-terminal");
            floorLine.readExactly(FrameSize);
        });
        timed(directNs, keep, [&] {
            if (!direct.write(EnterFrame).written)
                die("SerialLine::write()");
            directLine.readExactly(FrameSize);
        });
        timed(handlerNs, keep, [&] { (void)windowOnly.panel.enter(); });
        timed(windowNs, keep, [&] { QTest::mouseClick(enterWithoutLine, Qt::LeftButton); });
        timed(clickNs, keep, [&] {
            QTest::mouseClick(enter, Qt::LeftButton);
            panelLine.readExactly(FrameSize);
        });
        QCoreApplication::processEvents(); // repaints and the like, outside the timed parts
    }
    ::close(floorFd);
    onTheLine.checkNoErrorBox();
    nowhere.sent.clear();

    std::printf("bench-enter-latency, %s\ncommand: %s\nmachine: %s (at the end)\n",
                qPrintable(QDateTime::currentDateTime().toString(Qt::ISODate)),
                qPrintable(commandLine(arguments)), qPrintable(machineLine()));
    std::printf("%zu rounds after %zu warm-up rounds; frame %s; times in us\n\n", clicks, warmup,
                EnterFrame);
    std::printf("%-42s %9s %9s %9s %9s\n", "", "p50", "p99", "max", "mean");
    printRow("write() on a pty (the floor)", floorNs);
    printRow("SerialLine::write(), no window", directNs);
    printRow("the core's Enter alone, link sends nothing", handlerNs);
    printRow("click on Enter, link that sends nothing", windowNs);
    printRow("click on Enter -> frame at the master", clickNs);
    const double ratio = summarize(clickNs).p99Us / summarize(floorNs).p99Us;
    std::printf("\np99 of the click / p99 of the floor: %.2fx (goal: at most 2x) - %s\n", ratio,
                ratio <= 2.0 ? "met" : "missed");
    return 0;
}
