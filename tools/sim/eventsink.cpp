// SPDX-License-Identifier: GPL-3.0-or-later
#include "eventsink.h"

namespace mq7410::sim {

const char *stopReasonKey(StopReason reason)
{
    switch (reason) {
    case StopReason::Signal:
        return "signal";
    case StopReason::FrameLimit:
        return "frame_limit";
    case StopReason::CommandEnded:
        return "command_ended";
    case StopReason::ReadFailed:
        return "read_failed";
    case StopReason::ReplugFailed:
        return "replug_failed";
    }
    return "signal";
}

} // namespace mq7410::sim
