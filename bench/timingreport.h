#pragma once

// The figures of bench-sequence-timing: each frame's error against its ideal time, the
// largest and mean errors, and the drift within each run.

#include <vector>

namespace mq7410::bench {

struct FrameTiming
{
    int run;
    long long tick;
    double idealS;    // after Start
    double writtenMs; // when the panel's write() returned, against the ideal time
    double errorMs;   // when the sim read the frame, against the ideal time
};

void report(const std::vector<FrameTiming> &timings, long long runs);

} // namespace mq7410::bench
