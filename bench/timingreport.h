// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The figures of bench-sequence-timing: each frame's error against its ideal time, the
// largest and mean errors, the drift within each run and, over many cycles, the first cycles
// against the last.

#include <optional>
#include <vector>

namespace mq7410::bench {

struct FrameTiming
{
    int run = 1;
    int cycle = 1;
    long long tick = 0;
    double idealS = 0;               // after Start
    std::optional<double> writtenMs; // when the write returned, against the ideal time
    double errorMs = 0;              // when the sim read the frame, against the ideal time
};

void report(const std::vector<FrameTiming> &timings, long long runs);

} // namespace mq7410::bench
