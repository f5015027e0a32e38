#include "timingreport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace mq7410::bench {

// Least-squares slope of an error over the time since Start, in ms per minute.
namespace {

double driftMsPerMinute(const std::vector<FrameTiming> &timings, double FrameTiming::*error)
{
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const FrameTiming &t : timings) {
        const double x = t.idealS / 60.0;
        n += 1, sx += x, sy += t.*error, sxx += x * x, sxy += x * t.*error;
    }
    const double denominator = n * sxx - sx * sx;
    return denominator == 0 ? 0 : (n * sxy - sx * sy) / denominator;
}

void summarizeErrors(const char *what, const std::vector<FrameTiming> &timings,
                     double FrameTiming::*error)
{
    double largest = 0, sum = 0;
    for (const FrameTiming &t : timings) {
        largest = std::max(largest, std::abs(t.*error));
        sum += t.*error;
    }
    std::printf("%-26s largest |error| %7.3f ms, mean %+7.3f ms\n", what, largest,
                sum / double(timings.size()));
}

} // namespace

void report(const std::vector<FrameTiming> &timings, long long runs)
{
    std::printf("%4s %6s %8s %12s %12s\n", "run", "tick", "ideal s", "written ms", "received ms");
    double largest = 0;
    for (const FrameTiming &t : timings) {
        std::printf("%4d %6lld %8.0f %12.3f %12.3f\n", t.run, t.tick, t.idealS, t.writtenMs,
                    t.errorMs);
        largest = std::max(largest, std::abs(t.errorMs));
    }
    std::printf("\n%zu frames\n", timings.size());
    summarizeErrors("written by the panel:", timings, &FrameTiming::writtenMs);
    summarizeErrors("received by the sim:", timings, &FrameTiming::errorMs);
    // Drift within each run, over the frames the timer sent (the first one the click sent).
    // Over a short run, jitter of a millisecond dominates the slope.
    for (int run = 1; run <= runs; ++run) {
        std::vector<FrameTiming> timerFrames;
        for (const FrameTiming &t : timings) {
            if (t.run == run && t.tick > 0)
                timerFrames.push_back(t);
        }
        const double spanS = timerFrames.back().idealS - timerFrames.front().idealS;
        std::printf("run %d drift over %.0f s (least-squares slope of the error): written %+.4f, "
                    "received %+.4f ms per minute\n",
                    run, spanS, driftMsPerMinute(timerFrames, &FrameTiming::writtenMs),
                    driftMsPerMinute(timerFrames, &FrameTiming::errorMs));
    }
    std::printf("goal: every frame received within 5 ms of its ideal time - %s\n",
                largest <= 5.0 ? "met" : "missed");
}

} // namespace mq7410::bench
