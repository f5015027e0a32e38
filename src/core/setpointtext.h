// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How a set-point reads on its display (fixed point, no unit, no sign, no blank) and in words
// (with its unit, for status lines and logs).

#include "setpoint.h"

#include <string>

namespace mq7410 {

// Milliamperes as amperes with three decimals: 1500 gives "1.500"; 0 or less gives "0.000".
std::string currentDisplayText(int milliamperes);

// Steps of 10 mV as volts with two decimals and at least two whole digits: 1234 gives
// "12.34", 5 gives "00.05"; 0 or less gives "00.00".
std::string voltageDisplayText(int tensOfMillivolts);

// The display text of `value` as the set-point's kind.
std::string displayText(SetPoint setPoint, int value);

// "12.34 V", "5.00 V", "1.500 A": the value with its unit, for a person.
std::string valueWords(SetPoint setPoint, int value);

} // namespace mq7410
