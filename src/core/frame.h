// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The frames the supply understands, both ways: built by the panel, read by the virtual
// supply and the frame log. A frame is a two-character command code in upper-case hex followed
// by four-character fields, with no delimiter, terminator or checksum; the code alone tells
// how many characters follow.
//
//   87, 88, 89, 8A + field   one set-point: CH1 current, CH1 voltage, CH2 current, CH2 voltage
//   8C + F0F0 or 0F0F        output on or off
//   8D + 4 fields            CH1 voltage, CH1 current, CH2 voltage, CH2 current
//   8E, 8F + 2 fields        series link off or on: CH2 current, CH2 voltage

#include "setpoint.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mq7410 {

enum class Command : std::uint8_t {
    Ch1Current = 0x87,
    Ch1Voltage = 0x88,
    Ch2Current = 0x89,
    Ch2Voltage = 0x8A,
    Output = 0x8C,
    AllSetPoints = 0x8D,
    LinkOff = 0x8E,
    LinkOn = 0x8F,
};

inline constexpr int CodeLength = 2;
inline constexpr int FieldLength = 4;
inline constexpr int MaxFrameLength = CodeLength + 4 * FieldLength;
inline constexpr std::string_view OutputOnPattern = "F0F0";
inline constexpr std::string_view OutputOffPattern = "0F0F";

// The set-point that each field after the code carries, in the order of the wire; empty for
// Output, whose pattern takes one field's place.
std::span<const SetPoint> fieldsOf(Command command);

// The whole length of a frame with this command, code included: 6, 10 or 18.
int frameLength(Command command);

// The command whose code is `first` `second`; nothing for any other pair, 8B included.
std::optional<Command> commandFromCode(char first, char second);

// The frame that sends one set-point.
Command commandFor(SetPoint setPoint);

// A character a field may hold: 0-9 and A-F.
constexpr bool isFieldCharacter(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// A value as it travels in a field: four upper-case hex digits, zero-filled (1234 gives
// "04D2"). Anything outside 0 to 4095 is clamped to that range, so a field is always four
// characters; entry keeps every set-point far inside it.
std::string hexField(int value);

// A set-point frame: the code and one field for each set-point the command carries, taken
// from `values`.
std::string encodeFrame(Command command, const SetPointValues &values);
std::string encodeOutputFrame(bool on);

struct FieldValue
{
    SetPoint setPoint = SetPoint::Ch1Voltage;
    std::uint16_t value = 0;

    bool inRange() const { return value <= limitOf(setPoint); }
    bool operator==(const FieldValue &) const = default;
};

struct Frame
{
    Command command = Command::Output;
    std::string text;               // the characters, code included
    std::vector<FieldValue> fields; // in the order of the wire; empty for Output
    bool outputOn = false;          // Output only

    bool outOfRange() const;
};

// `text` read as exactly one whole frame; nothing when it is not one.
std::optional<Frame> parseFrame(std::string_view text);

// What the frame does, for a person: "CH1 12.34 V", "output on", "CH1 12.34 V 1.500 A,
// CH2 5.00 V 0.250 A", "series link on, CH2 12.34 V 1.500 A". Values out of range are named at
// the end.
std::string describeFrame(const Frame &frame);

} // namespace mq7410
