#pragma once

// What the benchmarks need: the monotonic clock the virtual supply logs with, order
// statistics, the window on a line as the program runs it, a link that stamps its writes, and
// the command line to print.

#include "doubles.h"

#include "uiform.h"
#include "frontpanel.h"
#include "serialline.h"

#include <QStringList>

#include <cstdint>
#include <vector>

namespace mq7410::bench {

// CLOCK_MONOTONIC in nanoseconds, as std::chrono::steady_clock and the sim's t_ns.
std::int64_t monotonicNs();

struct Summary
{
    double p50Us = 0;
    double p99Us = 0;
    double maxUs = 0;
    double meanUs = 0;
};

// Nearest-rank percentiles of durations in nanoseconds, given in microseconds.
Summary summarize(std::vector<std::int64_t> ns);

// Passes every frame on to another link and notes when each write returned: the frame was
// then the system's, so what comes after is the line's and the far end's share.
class StampingLink final : public FrameLink
{
public:
    explicit StampingLink(FrameLink &link)
        : m_link(link)
    {}
    WriteResult write(std::string_view frame) override;

    std::vector<std::int64_t> writtenNs;

private:
    FrameLink &m_link;
};

// The window as the program runs it, on COM 1 of MQ7410_PORTS (answered Yes), or on `link`
// when one is given (the line is then not opened). Exits when there is no port or a box
// other than the port walk's comes up.
struct BenchPanel
{
    explicit BenchPanel(FrameLink *link = nullptr);
    void checkNoErrorBox() const;

    SerialLine line;
    SteadyClock clock;
    StampingLink stamps;
    FrontPanel panel;
    test::ScriptedBoxes boxes;
    std::unique_ptr<UIForm> form;
};

// Draws off screen unless QT_QPA_PLATFORM says otherwise; call before QApplication exists.
void preferOffscreen();

// The exact command, to be printed with the figures.
QString commandLine(const QStringList &arguments);

// The value after `name` as an integer, or `fallback`; exits with a message on a bad value.
long long intOption(const QStringList &arguments, const QString &name, long long fallback);

// Prints what failed, with the system's reason when there is one, and exits.
[[noreturn]] void die(const char *what);

// "2 cores, load average 0.12 0.30 0.25", for the record.
QString machineLine();

} // namespace mq7410::bench
