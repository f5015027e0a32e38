// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Device names in the order a person expects: ttyACM2 before ttyACM10.

#include <string_view>

namespace mq7410 {

// Runs of digits compare by their value, everything else byte by byte. Names of equal value
// ("tty01", "tty1") fall back to plain order, so the order stays strict.
bool naturalLess(std::string_view a, std::string_view b);

} // namespace mq7410
