#pragma once

#include <string>

namespace mq7410 {

// A set-point as it travels in a frame: four upper-case hexadecimal digits, zero-filled
// (1234 gives "04D2", 250 gives "00FA", 0 gives "0000").
// Entry keeps every set-point within 0 to 3200; should anything outside 0 to 4095 ever get
// here it is clamped to that range, so a frame never carries a field of another length.
std::string HexField(int value);

} // namespace mq7410
