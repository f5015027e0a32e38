// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a run of the step table sends, and when: the one place that turns the table's times
// into ticks. The runner plays this plan; the status line and the chart read it.
//
// Start sends step 1's row at tick 0, whatever its time. A step of N seconds then lasts N + 1
// ticks of one second: its box counts N, N - 1, ..., 1 on the ticks that follow its start, and
// on the next tick it ends and the next frame goes out. A cycle is steps 1 to 9, or, when a
// later step's time is 0, the steps before it. Between two cycles step 1 follows the cycle's
// last step like any next step. Only the last cycle ends as a run ends: after step 9 with the
// Finish row, or with the row of the step whose time 0 cut the cycle; that row is still sent,
// as the last frame, and stays in force on the supply. A run until Stop has no last cycle.
//
// Ticks are counted in 64 bits: thousands of cycles of long steps pass 2^31 seconds.

#include "sequencetable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mq7410 {

using Tick = std::int64_t;

struct StepSpan
{
    int step = 1;       // 1 to 9
    Tick startTick = 0; // within its cycle: the tick of the frame that starts it
    Tick endTick = 1;   // within its cycle: the tick of the frame that ends it

    bool operator==(const StepSpan &) const = default;
};

// Where a run stands at a tick.
struct PlanPosition
{
    int cycle = 1;                  // from 1
    const StepSpan *span = nullptr; // the running step
    Tick tickInCycle = 0;
};

struct RunPlan
{
    std::vector<StepSpan> steps; // one cycle's steps, in order; step 1 always runs
    int lastRow = FinishRow;     // the row of the run's last frame
    int cycles = 1;              // UntilStop: no end

    Tick cycleTicks() const { return steps.back().endTick; }
    // The tick of the run's last frame; nothing for a run until Stop.
    std::optional<Tick> endTick() const;
    // Where the run stands after `tick` ticks; nothing from the end of the run on.
    std::optional<PlanPosition> at(Tick tick) const;
    // The text of step `step`'s Time box after `tick` ticks: the countdown while the step runs
    // (the box then shows the seconds left before this tick's), " 0" once it has ended in this
    // cycle, and nothing before it starts in this cycle or for a step that never runs (the box
    // keeps its text).
    std::optional<std::string> countdownText(int step, Tick tick) const;
};

RunPlan planRun(const std::array<int, StepCount> &seconds, int cycles = 1);

// What the supply holds from one frame of the run to the next: the row a frame sent and the
// ticks until the next frame. The last segment starts and ends at the run's last frame: its
// values stay in force after the run.
struct PlanSegment
{
    Tick startTick = 0;
    Tick endTick = 0;
    int cycle = 1;
    int row = 1;
    SetPointValues values{};

    bool operator==(const PlanSegment &) const = default;
};

// The first `cycles` cycles of the run (all of them when fewer), each step a segment, then,
// when the run ends within them, its last frame.
std::vector<PlanSegment> segmentsOf(const RunPlan &plan, const SequenceNumbers &numbers,
                                    int cycles);

} // namespace mq7410
