// SPDX-License-Identifier: GPL-3.0-or-later
// bench-enter-latency: from a click on Enter to the last byte of its frame at the far end.
//
// The window runs on a session with the real serial line on a pseudo-terminal whose master side
// this program reads, as the supply would read the line. Beside it, in the same rounds, the
// floor: a plain write() of the same six bytes on a pseudo-terminal of its own. To show where
// the time goes, three more paths are timed: SerialLine::write() alone, the core's Enter alone
// on a link that sends nothing, and the session's Enter on its own line without a window.
//
//   bench-enter-latency [--clicks N] [--warmup N]

#include "benchtools.h"

#include "serialline.h"

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
constexpr std::size_t FrameSize = 6;

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
    std::printf("%-44s %9.1f %9.1f %9.1f %9.1f\n", what, s.p50Us, s.p99Us, s.maxUs, s.meanUs);
}

} // namespace

int main(int argc, char *argv[])
{
    preferOffscreen();
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const auto clicks = std::size_t(intOption(arguments, QStringLiteral("--clicks"), 10000));
    const auto warmup = std::size_t(intOption(arguments, QStringLiteral("--warmup"), 200));

    test::FarEnd panelEnd, sessionEnd, directEnd, floorEnd;
    if (!panelEnd.isOpen() || !sessionEnd.isOpen() || !directEnd.isOpen() || !floorEnd.isOpen())
        die("posix_openpt");
    // COM 1 for the window, COM 2 for the session alone, COM 3 for the line alone.
    qputenv("MQ7410_PORTS", QByteArray::fromStdString(panelEnd.device() + ':' + sessionEnd.device()
                                                      + ':' + directEnd.device()));
    BenchPanel onTheLine;
    auto *enter = onTheLine.form->findChild<QAbstractButton *>(QStringLiteral("EnterCommand"));
    if (!enter)
        die("no Enter button");
    BenchSession sessionOnly("COM2");
    SerialLine direct;
    if (!direct.openNamed("COM3").opened)
        die("opening the line for SerialLine::write()");
    test::RecordingLink nowhere;
    FrontPanel coreOnly(nowhere, steadyClock());
    const int floorFd = openLikeThePanel(floorEnd.device());

    Times floorNs, directNs, coreNs, sessionNs, writtenNs, clickNs;
    for (std::size_t round = 0; round < warmup + clicks; ++round) {
        const bool keep = round >= warmup;
        timed(floorNs, keep, [&] {
            if (::write(floorFd, EnterFrame, FrameSize) != FrameSize)
                die("write() on the pseudo-terminal");
            readFrame(floorEnd, FrameSize);
        });
        timed(directNs, keep, [&] {
            if (!direct.write(EnterFrame))
                die("SerialLine::write()");
            readFrame(directEnd, FrameSize);
        });
        timed(coreNs, keep, [&] { (void)coreOnly.enter(); });
        nowhere.sent.clear();
        timed(sessionNs, keep, [&] {
            if (!sessionOnly.session.panel().enter())
                die("the session's Enter");
            readFrame(sessionEnd, FrameSize);
        });
        const std::int64_t clickedNs = monotonicNs();
        timed(clickNs, keep, [&] {
            QTest::mouseClick(enter, Qt::LeftButton);
            readFrame(panelEnd, FrameSize);
        });
        if (keep)
            writtenNs.push_back(onTheLine.writtenNs.back() - clickedNs);
        QCoreApplication::processEvents(); // repaints and the like, outside the timed parts
    }
    ::close(floorFd);
    onTheLine.checkNoErrorBox();
    if (onTheLine.writtenNs.size() != warmup + clicks)
        failWith("the window did not send one frame per click");

    std::printf("bench-enter-latency, %s\ncommand: %s\nmachine: %s (at the end)\n",
                qPrintable(QDateTime::currentDateTime().toString(Qt::ISODate)),
                qPrintable(commandLine(arguments)), qPrintable(machineLine()));
    std::printf("%zu rounds after %zu warm-up rounds; frame %s; times in us\n\n", clicks, warmup,
                EnterFrame);
    std::printf("%-44s %9s %9s %9s %9s\n", "", "p50", "p99", "max", "mean");
    printRow("write() on a pty (the floor)", floorNs);
    printRow("SerialLine::write(), no session", directNs);
    printRow("the core's Enter alone, link sends nothing", coreNs);
    printRow("the session's Enter, no window", sessionNs);
    printRow("click on Enter -> write returned", writtenNs);
    printRow("click on Enter -> frame at the master", clickNs);
    const double ratio = summarize(clickNs).p99Us / summarize(floorNs).p99Us;
    std::printf("\np99 of the click / p99 of the floor: %.2fx (goal: at most 2x) - %s\n", ratio,
                ratio <= 2.0 ? "met" : "missed");
    return 0;
}
