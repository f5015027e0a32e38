#include "runplan.h"

#include "textnumber.h"

namespace mq7410 {

RunPlan planRun(const std::array<int, StepCount> &seconds)
{
    RunPlan plan;
    int start = 0;
    for (int step = 1;; ++step) {
        const int end = start + seconds[std::size_t(step - 1)] + 1;
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

const StepSpan *RunPlan::stepAt(int tick) const
{
    for (const StepSpan &span : steps) {
        if (tick >= span.startTick && tick < span.endTick)
            return &span;
    }
    return nullptr;
}

std::optional<std::string> RunPlan::countdownText(int step, int tick) const
{
    for (const StepSpan &span : steps) {
        if (span.step != step)
            continue;
        if (tick <= span.startTick)
            return std::nullopt;
        return numberToText(tick >= span.endTick ? 0 : span.endTick - tick);
    }
    return std::nullopt;
}

std::vector<PlanSegment> segmentsOf(const RunPlan &plan, const SequenceNumbers &numbers)
{
    std::vector<PlanSegment> segments;
    for (const StepSpan &span : plan.steps)
        segments.push_back(
                {span.startTick, span.endTick, span.step, numbers.rows.at(std::size_t(span.step))});
    segments.push_back({plan.endTick(), plan.endTick(), plan.lastRow,
                        numbers.rows.at(std::size_t(plan.lastRow))});
    return segments;
}

} // namespace mq7410
