#pragma once

// How long a step runs: the whole seconds of its Time box.

#include <string_view>

namespace mq7410 {

// The header of the table announces at most this many seconds per step.
constexpr double MaxStepSeconds = 999999.0;

// TextToNumber(text) rounded to the nearest whole number, halves away from zero; below 0 or
// not finite (1e999) counts as 0 and above MaxStepSeconds as MaxStepSeconds. The countdown
// subtracts 1 per tick and a step ends when it reaches exactly 0, so only a whole number in
// this range guarantees that every run ends.
double stepSeconds(std::string_view text);

} // namespace mq7410
