#pragma once

// The front panel's entry rules: the selector buttons choose which set-point the keypad edits,
// and each digit key appends a digit to it.

#include "app/displays.h"
#include "app/panelstate.h"

#include <cstdint>

namespace mq7410 {

// Upper limits of entry, inclusive.
constexpr int CurrentLimit = 3000; // 3.000 A in mA
constexpr int VoltageLimit = 3200; // 32.00 V in steps of 10 mV

// A selector button: `code` becomes the edit target, its value being entered falls back to
// the value last sent, and all four displays show the values last sent.
void selectSetPoint(std::int16_t code, PanelState &state, Displays &displays);

// A digit key: the target's value becomes value x 10 + digit, or the digit alone when that
// would pass the limit; its display shows the new value. While the series link is on,
// channel 1 is then copied onto channel 2, whatever the target.
void pressDigit(int digit, PanelState &state, Displays &displays);

} // namespace mq7410
