#include "runstatus.h"

#include <cstdio>

namespace mq7410 {

std::string durationText(int seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

std::string runStatusText(const RunProgress &progress)
{
    constexpr const char *Dot = " \u00b7 ";
    std::string text = "Step " + std::to_string(progress.step) + " of "
                       + std::to_string(progress.steps) + Dot
                       + std::to_string(progress.secondsLeftInStep) + " s left in this step" + Dot
                       + "run ends in " + durationText(progress.secondsLeftInRun);
    if (progress.behindNs >= FrontPanel::LateFrameNs) {
        char behind[32];
        std::snprintf(behind, sizeof behind, "%.1f s behind", double(progress.behindNs) / 1e9);
        text += Dot + std::string(behind);
    }
    return text;
}

} // namespace mq7410
