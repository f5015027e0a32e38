// SPDX-License-Identifier: GPL-3.0-or-later
#include "runstatus.h"

#include <cinttypes>
#include <cstdio>

namespace mq7410 {

std::string durationText(std::int64_t seconds)
{
    char text[40];
    std::snprintf(text, sizeof text, "%" PRId64 ":%02d:%02d", seconds / 3600,
                  int(seconds / 60 % 60), int(seconds % 60));
    return text;
}

std::string runStatusText(const RunProgress &progress)
{
    const std::string Dot = " \u00b7 ";
    std::string text;
    if (progress.cycles == UntilStop)
        text = "Cycle " + std::to_string(progress.cycle) + ", until Stop" + Dot;
    else if (progress.cycles > 1)
        text = "Cycle " + std::to_string(progress.cycle) + " of " + std::to_string(progress.cycles)
               + Dot;
    text += "Step " + std::to_string(progress.step) + " of " + std::to_string(progress.steps) + Dot
            + std::to_string(progress.secondsLeftInStep) + " s left in this step";
    if (progress.secondsLeftInRun)
        text += Dot + "run ends in " + durationText(*progress.secondsLeftInRun);
    if (progress.behindNs >= FrontPanel::LateFrameNs) {
        char behind[32];
        std::snprintf(behind, sizeof behind, "%.1f s behind", double(progress.behindNs) / 1e9);
        text += Dot + behind;
    }
    return text;
}

std::string runEndText(const RunEnding &ending)
{
    switch (ending.how) {
    case RunEnd::Completed:
        return "completed";
    case RunEnd::Stopped:
        return "stopped";
    case RunEnd::LineFailed:
        break;
    }
    return "ended: the line failed (" + ending.reason + ")";
}

} // namespace mq7410
