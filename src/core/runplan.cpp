// SPDX-License-Identifier: GPL-3.0-or-later
#include "runplan.h"

#include "textnumber.h"

namespace mq7410 {

RunPlan planRun(const std::array<int, StepCount> &seconds, int cycles)
{
    RunPlan plan;
    plan.cycles = cycles;
    Tick start = 0;
    for (int step = 1;; ++step) {
        const Tick end = start + seconds[std::size_t(step - 1)] + 1;
        plan.steps.push_back({step, start, end});
        if (step == StepCount)
            break; // the Finish row ends it
        if (seconds[std::size_t(step)] == 0) {
            plan.lastRow = step + 1;
            break;
        }
        start = end;
    }
    return plan;
}

std::optional<Tick> RunPlan::endTick() const
{
    if (cycles == UntilStop)
        return std::nullopt;
    return Tick(cycles) * cycleTicks();
}

std::optional<PlanPosition> RunPlan::at(Tick tick) const
{
    if (tick < 0 || (endTick() && tick >= *endTick()))
        return std::nullopt;
    PlanPosition position;
    position.cycle = int(tick / cycleTicks()) + 1;
    position.tickInCycle = tick % cycleTicks();
    for (const StepSpan &span : steps) {
        if (position.tickInCycle < span.endTick) {
            position.span = &span;
            break;
        }
    }
    return position;
}

std::optional<std::string> RunPlan::countdownText(int step, Tick tick) const
{
    const std::optional<Tick> end = endTick();
    // The last frame's tick belongs to the last cycle, not to a next one.
    const Tick inCycle = end && tick >= *end ? cycleTicks() : tick % cycleTicks();
    for (const StepSpan &span : steps) {
        if (span.step != step)
            continue;
        if (inCycle <= span.startTick)
            return std::nullopt;
        return numberToText(double(inCycle >= span.endTick ? 0 : span.endTick - inCycle));
    }
    return std::nullopt;
}

std::vector<PlanSegment> segmentsOf(const RunPlan &plan, const SequenceNumbers &numbers, int cycles)
{
    const bool wholeRun = plan.cycles != UntilStop && plan.cycles <= cycles;
    const int drawn = wholeRun ? plan.cycles : cycles;
    std::vector<PlanSegment> segments;
    for (int cycle = 1; cycle <= drawn; ++cycle) {
        const Tick offset = Tick(cycle - 1) * plan.cycleTicks();
        for (const StepSpan &span : plan.steps) {
            segments.push_back({offset + span.startTick, offset + span.endTick, cycle, span.step,
                                numbers.rows.at(std::size_t(span.step))});
        }
    }
    if (wholeRun) {
        const Tick end = *plan.endTick();
        segments.push_back(
                {end, end, drawn, plan.lastRow, numbers.rows.at(std::size_t(plan.lastRow))});
    }
    return segments;
}

} // namespace mq7410
