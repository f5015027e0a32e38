#pragma once

// The words of a running sequence's progress, for the status line.

#include "frontpanel.h"

#include <string>

namespace mq7410 {

// "0:01:23": hours, minutes, seconds.
std::string durationText(int seconds);

// "Step 3 of 9 · 4 s left in this step · run ends in 0:01:23", with " · 5.2 s behind" when
// frames that went out late have moved the run back.
std::string runStatusText(const RunProgress &progress);

} // namespace mq7410
