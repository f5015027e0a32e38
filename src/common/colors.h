#pragma once

// Colours as the window stores them: 0x00BBGGRR, or 0x80000000 + n for the platform's
// system colour number n.

#include <cstdint>

namespace mq7410::Colors {

constexpr std::uint32_t Red = 0x000000FF;
constexpr std::uint32_t Yellow = 0x0000FFFF;
constexpr std::uint32_t SystemFlag = 0x80000000;
constexpr std::uint32_t WindowFrame = SystemFlag + 6;
constexpr std::uint32_t MenuText = SystemFlag + 7;
constexpr std::uint32_t ButtonFace = SystemFlag + 15;

// The running step's label, and every other step label.
constexpr std::uint32_t RunningStep = Red;
constexpr std::uint32_t IdleStep = ButtonFace;

} // namespace mq7410::Colors
