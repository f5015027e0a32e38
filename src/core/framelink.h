// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the panel's frames go: the supply's serial line, or a double in tests.

#include "failure.h"

#include <string_view>

namespace mq7410 {

enum class Delivery {
    Sent,    // every byte of the frame has left
    Waiting, // its first bytes left; the rest waits for the line, and the owner of the link
             // tells the panel how that ends (FrontPanel::settleWaiting)
};

class FrameLink
{
public:
    virtual ~FrameLink() = default;
    // Hands the frame on: whole, or, when the line takes only its beginning, Waiting for the
    // rest. A frame of which no byte could leave within the link's deadline is refused
    // (FailureKind::Line) and leaves nothing behind. Never called while a frame is Waiting.
    virtual Result<Delivery> write(std::string_view frame) = 0;
    // Waits, at most the link's deadline, for the rest of the Waiting frame to leave. A
    // Failure when it did not: Busy while the line is stalled (the rest still waits), Line
    // when the line is gone (the rest is lost).
    virtual Status finishWaiting() = 0;
};

} // namespace mq7410
