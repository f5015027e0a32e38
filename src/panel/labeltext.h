#pragma once

// How a set-point shows on its display: a fixed decimal point, no unit, no sign, no blank.

#include <string>

namespace mq7410 {

// Milliamperes as amperes with three decimals: 1500 gives "1.500"; 0 or less gives "0.000".
std::string CurrentToText(int milliamperes);

// Steps of 10 mV as volts with two decimals and at least two whole digits: 1234 gives
// "12.34", 5 gives "00.05"; 0 or less gives "00.00".
std::string VoltageToText(int tensOfMillivolts);

} // namespace mq7410
