#pragma once

// What a run of the step table sends, and when: the one place that turns the table's times
// into ticks. The runner plays this plan; the status line and the chart read it.
//
// Start sends step 1's row at tick 0, whatever its time. A step of N seconds then lasts N + 1
// ticks of one second: its box counts N, N - 1, ..., 1 on the ticks that follow its start, and
// on the next tick it ends and the next frame goes out. After step 9 that frame is the Finish
// row's. Before, a next step whose time is 0 ends the run instead: its row is still sent, as the
// last frame, and stays in force on the supply.

#include "sequencetable.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace mq7410 {

struct StepSpan
{
    int step = 1;      // 1 to 9
    int startTick = 0; // the tick of the frame that starts it
    int endTick = 1;   // the tick of the frame that ends it

    bool operator==(const StepSpan &) const = default;
};

struct RunPlan
{
    std::vector<StepSpan> steps; // the steps that run, in order; step 1 always does
    int lastRow = FinishRow;     // the row of the run's last frame

    int endTick() const { return steps.back().endTick; }
    // The step that runs after `tick` ticks, nullptr from the end of the run on.
    const StepSpan *stepAt(int tick) const;
    // The text of step `step`'s Time box after `tick` ticks: the countdown while the step runs
    // (the box then shows the seconds left before this tick's), " 0" once it has ended, and
    // nothing before it starts or for a step that never runs (the box keeps its text).
    std::optional<std::string> countdownText(int step, int tick) const;
};

RunPlan planRun(const std::array<int, StepCount> &seconds);

// What the supply holds from one frame of the run to the next: the row a frame sent and the
// ticks until the next frame. The last segment starts and ends at the run's last frame: its
// values stay in force after the run.
struct PlanSegment
{
    int startTick = 0;
    int endTick = 0;
    int row = 1;
    SetPointValues values{};

    bool operator==(const PlanSegment &) const = default;
};

std::vector<PlanSegment> segmentsOf(const RunPlan &plan, const SequenceNumbers &numbers);

} // namespace mq7410
