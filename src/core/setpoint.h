// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The four set-points of the supply and their units. Voltages count steps of 10 mV (0 to
// 3200 for 0.00 to 32.00 V), currents milliamperes (0 to 3000 for 0.000 to 3.000 A).

#include <array>
#include <cstdint>

namespace mq7410 {

// In the order of the all-set-points frame and of the step table's columns.
enum class SetPoint : std::uint8_t { Ch1Voltage, Ch1Current, Ch2Voltage, Ch2Current };

inline constexpr int SetPointCount = 4;
inline constexpr std::array<SetPoint, SetPointCount> AllSetPoints{
        SetPoint::Ch1Voltage, SetPoint::Ch1Current, SetPoint::Ch2Voltage, SetPoint::Ch2Current};

inline constexpr int VoltageLimit = 3200; // 32.00 V
inline constexpr int CurrentLimit = 3000; // 3.000 A

constexpr int indexOf(SetPoint setPoint)
{
    return static_cast<int>(setPoint);
}

constexpr bool isVoltage(SetPoint setPoint)
{
    return setPoint == SetPoint::Ch1Voltage || setPoint == SetPoint::Ch2Voltage;
}

constexpr int channelOf(SetPoint setPoint)
{
    return setPoint == SetPoint::Ch1Voltage || setPoint == SetPoint::Ch1Current ? 1 : 2;
}

constexpr int limitOf(SetPoint setPoint)
{
    return isVoltage(setPoint) ? VoltageLimit : CurrentLimit;
}

// A value counts steps of 10 mV or 1 mA.
constexpr int stepsPerUnit(SetPoint setPoint)
{
    return isVoltage(setPoint) ? 100 : 1000;
}

// A value in volts or amperes.
constexpr double unitsOf(SetPoint setPoint, int value)
{
    return double(value) / stepsPerUnit(setPoint);
}

// Channel 2's set-point of the same quantity.
constexpr SetPoint onChannel2(SetPoint setPoint)
{
    return isVoltage(setPoint) ? SetPoint::Ch2Voltage : SetPoint::Ch2Current;
}

// Channel 1's set-point of the same quantity.
constexpr SetPoint onChannel1(SetPoint setPoint)
{
    return isVoltage(setPoint) ? SetPoint::Ch1Voltage : SetPoint::Ch1Current;
}

// "CH1 voltage", "CH2 current".
constexpr const char *nameOf(SetPoint setPoint)
{
    constexpr const char *Names[SetPointCount]{"CH1 voltage", "CH1 current", "CH2 voltage",
                                               "CH2 current"};
    return Names[indexOf(setPoint)];
}

// One value per set-point, indexed by SetPoint. The values are 16 bits wide on purpose: the
// keypad's intermediate values (up to 10 x 3200 + 9) and the table's cells were always 16-bit
// numbers, and nothing the program makes needs more.
using SetPointValues = std::array<std::int16_t, SetPointCount>;

constexpr std::int16_t valueOf(const SetPointValues &values, SetPoint setPoint)
{
    return values[static_cast<std::size_t>(indexOf(setPoint))];
}

constexpr std::int16_t &valueOf(SetPointValues &values, SetPoint setPoint)
{
    return values[static_cast<std::size_t>(indexOf(setPoint))];
}

// The highest value of each set-point that the panel sends: the supply's own, unless the user
// set lower ones.
inline constexpr SetPointValues SupplyLimits{VoltageLimit, CurrentLimit, VoltageLimit,
                                             CurrentLimit};

} // namespace mq7410
