// SPDX-License-Identifier: GPL-3.0-or-later
#include "timingreport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

namespace mq7410::bench {
namespace {

// A table of this many frames or fewer is printed whole; a longer one by its ends.
constexpr std::size_t WholeTable = 40;
constexpr std::size_t TableEnds = 10;
// Over many cycles, these first and last cycles are compared.
constexpr int CyclesCompared = 10;
constexpr double GoalMs = 5.0;

using Error = std::function<std::optional<double>(const FrameTiming &)>;

const Error Written = [](const FrameTiming &t) {
    return t.writtenMs;
};
const Error Received = [](const FrameTiming &t) {
    return std::optional<double>(t.errorMs);
};

// Least-squares slope of an error over the time since Start, in ms per minute.
std::optional<double> driftMsPerMinute(const std::vector<FrameTiming> &timings, const Error &error)
{
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const FrameTiming &t : timings) {
        const std::optional<double> y = error(t);
        if (!y)
            return std::nullopt;
        const double x = t.idealS / 60.0;
        n += 1, sx += x, sy += *y, sxx += x * x, sxy += x * *y;
    }
    const double denominator = n * sxx - sx * sx;
    return denominator == 0 ? 0 : (n * sxy - sx * sy) / denominator;
}

void summarizeErrors(const char *what, const std::vector<FrameTiming> &timings, const Error &error)
{
    double largest = 0, sum = 0;
    std::size_t count = 0;
    for (const FrameTiming &t : timings) {
        if (const std::optional<double> e = error(t)) {
            largest = std::max(largest, std::abs(*e));
            sum += *e;
            ++count;
        }
    }
    if (count == 0)
        return;
    std::printf("%-26s largest |error| %7.3f ms, mean %+7.3f ms (%zu frames)\n", what, largest,
                sum / double(count), count);
}

void printRow(const FrameTiming &t)
{
    char written[16] = "-";
    if (t.writtenMs)
        std::snprintf(written, sizeof written, "%.3f", *t.writtenMs);
    std::printf("%4d %6d %7lld %8.0f %12s %12.3f\n", t.run, t.cycle, t.tick, t.idealS, written,
                t.errorMs);
}

std::optional<std::string> driftText(const std::vector<FrameTiming> &frames, const Error &error)
{
    const std::optional<double> drift = driftMsPerMinute(frames, error);
    if (!drift)
        return std::nullopt;
    char text[32];
    std::snprintf(text, sizeof text, "%+.4f", *drift);
    return text;
}

} // namespace

void report(const std::vector<FrameTiming> &timings, long long runs)
{
    std::printf("%4s %6s %7s %8s %12s %12s\n", "run", "cycle", "tick", "ideal s", "written ms",
                "received ms");
    for (std::size_t i = 0; i < timings.size(); ++i) {
        if (timings.size() <= WholeTable || i < TableEnds || i >= timings.size() - TableEnds)
            printRow(timings[i]);
        else if (i == TableEnds)
            std::printf("%4s (%zu frames left out)\n", "...", timings.size() - 2 * TableEnds);
    }
    double largest = 0;
    std::size_t late = 0;
    for (const FrameTiming &t : timings) {
        largest = std::max(largest, std::abs(t.errorMs));
        late += std::abs(t.errorMs) > GoalMs ? 1 : 0;
    }

    std::printf("\n%zu frames\n", timings.size());
    summarizeErrors("written by the panel:", timings, Written);
    summarizeErrors("received by the sim:", timings, Received);
    // Drift within each run, over the frames the timer sent (the first one the click sent).
    // Over a short run, jitter of a millisecond dominates the slope.
    for (int run = 1; run <= runs; ++run) {
        std::vector<FrameTiming> timerFrames;
        for (const FrameTiming &t : timings) {
            if (t.run == run && t.tick > 0)
                timerFrames.push_back(t);
        }
        if (timerFrames.size() < 2)
            continue;
        const double spanS = timerFrames.back().idealS - timerFrames.front().idealS;
        std::string drifts;
        if (const std::optional<std::string> written = driftText(timerFrames, Written))
            drifts.append("written ").append(*written).append(", ");
        drifts.append("received ").append(driftText(timerFrames, Received).value_or("?"));
        std::printf("run %d drift over %.0f s (least-squares slope of the error): %s ms per "
                    "minute\n",
                    run, spanS, drifts.c_str());
    }
    // Over many cycles: do the last cycles fare worse than the first?
    const int cycles = timings.empty() ? 0 : timings.back().cycle;
    if (cycles >= 2 * CyclesCompared) {
        const auto part = [&](int from, int to) {
            std::vector<FrameTiming> frames;
            for (const FrameTiming &t : timings) {
                if (t.cycle >= from && t.cycle <= to)
                    frames.push_back(t);
            }
            return frames;
        };
        char first[64], last[64];
        std::snprintf(first, sizeof first, "cycles 1-%d:", CyclesCompared);
        std::snprintf(last, sizeof last, "cycles %d-%d:", cycles - CyclesCompared + 1, cycles);
        summarizeErrors(first, part(1, CyclesCompared), Received);
        summarizeErrors(last, part(cycles - CyclesCompared + 1, cycles), Received);
    }
    std::printf("goal: every frame received within %.0f ms of its ideal time - %s (%zu of %zu "
                "frames beyond it)\n",
                GoalMs, late == 0 ? "met" : "missed", late, timings.size());
}

} // namespace mq7410::bench
