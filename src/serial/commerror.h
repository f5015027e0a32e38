#pragma once

// The texts of the serial layer's error codes, as the box "! RS-232 ERROR !" shows them.

#include <cstdint>
#include <string>

namespace mq7410 {

// Codes this program itself reports (see closeerror.h); each has a text below.
namespace CommErrorCode {
inline constexpr std::int16_t None = 0;
inline constexpr std::int16_t DeviceAlreadyOpen = -2;
inline constexpr std::int16_t DeviceNotOpen = -3;
inline constexpr std::int16_t HardwareNotPresent = -10;
inline constexpr std::int16_t TxQueueFull = 0x0100;
inline constexpr std::int16_t Unlisted = 0x4000;           // no text of its own: "Unlist error"
inline constexpr std::int16_t ModeUnsupported = INT16_MIN; // bit 0x8000
} // namespace CommErrorCode

// The message for a code: the eight open errors by name; any other code by its highest set bit
// that has a text, else "Unlist error :" with the code in decimal and hexadecimal.
std::string commErrorMessage(std::int16_t code);

} // namespace mq7410
