// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The check of a set-point box of the step table: what a completed entry stores.

#include "setpoint.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mq7410 {

// `x` rounded to the nearest whole number, halves to the even one.
double roundHalfToEven(double x);

// The cell that the text of a `setPoint` box stores, or nothing when the box must be reset to
// " 0" (and store 0). The text is read with textToNumber and rounded to single precision, as
// the table always did: the limit (32 V, 3 A) itself is accepted, anything above it, below 0 or
// beyond a double's range is refused. An accepted value is scaled to 10 mV or 1 mA in double
// precision and rounded to nearest, halves to even, from the single-precision value (so 12.345
// stores 1235 and 3.00000001 stores 3000). -0 is taken as 0. A cell above `limit` (a user's
// limit, in the cell's units) is refused too.
std::optional<std::int16_t> tableCell(std::string_view text, SetPoint setPoint,
                                      int limit = VoltageLimit + CurrentLimit);

} // namespace mq7410

namespace mq7410 {

// What a completed entry that has more than its number is read as, so that a decimal comma is
// never silent: "12,5 is read as 12.00 V", "1.5A is read as 1.500 A"; for a Time box (nothing
// for `setPoint`) "12,5 is read as 12 s". Empty when the whole text was read, or when the box
// does not take the entry at all.
std::string readingNote(std::string_view text, std::optional<SetPoint> setPoint,
                        int limit = VoltageLimit + CurrentLimit);

} // namespace mq7410
