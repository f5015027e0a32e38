// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The words of a running sequence's progress, for the status line.

#include "frontpanel.h"

#include <cstdint>
#include <string>

namespace mq7410 {

// "0:01:23": hours, minutes, seconds.
std::string durationText(std::int64_t seconds);

// "Cycle 2 of 5 · Step 3 of 9 · 4 s left in this step · run ends in 0:01:23", with
// " · 5.2 s behind" when frames that went out late have moved the run back. The cycle is said
// only for a run of more than one; "Cycle 7, until Stop" for one until Stop, which never ends.
std::string runStatusText(const RunProgress &progress);

// "Completed", "Stopped", "Line failed: <reason>".
std::string runEndText(const RunEnding &ending);

} // namespace mq7410
