#pragma once

// What both benchmarks need: the monotonic clock the virtual supply logs with, order
// statistics, boxes that accept the first port, and the command line to print.

#include "app/messageboxes.h"

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

// Yes to every question; counts the other boxes, which in a benchmark are errors.
class YesBoxes : public MessageBoxes
{
public:
    BoxAnswer show(const BoxRequest &request) override;
    int errors = 0;
    QString lastError;
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
