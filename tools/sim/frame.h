#pragma once

// What one frame from the front panel says. A frame is a two-character command code in
// upper-case hex followed by four-character fields: set-points in upper-case hex, or the
// output pattern. There is no delimiter, terminator or checksum, so the code alone tells how
// many characters follow.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mq7410::sim {

enum class Command : std::uint8_t {
    Ch1Current = 0x87,
    Ch1Voltage = 0x88,
    Ch2Current = 0x89,
    Ch2Voltage = 0x8A,
    Output = 0x8C,
    AllSetPoints = 0x8D, // CH1 voltage, CH1 current, CH2 voltage, CH2 current
    LinkOff = 0x8E,      // CH2 current, CH2 voltage
    LinkOn = 0x8F,       // CH2 current, CH2 voltage (both equal channel 1's)
};

enum class Quantity { Voltage, Current };

// Voltages count 10 mV steps, currents milliamperes.
constexpr std::uint16_t MaxVoltage = 3200;
constexpr std::uint16_t MaxCurrent = 3000;

constexpr int CodeLength = 2;
constexpr int FieldLength = 4;
constexpr int MaxFrameLength = CodeLength + 4 * FieldLength;

constexpr const char *OutputOnPattern = "F0F0";
constexpr const char *OutputOffPattern = "0F0F";

struct SetPoint
{
    int channel = 1; // 1 or 2
    Quantity quantity = Quantity::Voltage;
    std::uint16_t value = 0;

    bool inRange() const;
    bool operator==(const SetPoint &) const = default;
};

struct Frame
{
    Command command = Command::Output;
    std::string text;                // the characters as received, code included
    std::vector<SetPoint> setPoints; // in the order of the wire; empty for Output
    bool outputOn = false;           // Output only

    bool outOfRange() const;
};

// The command whose code is `first` `second`; nothing for any other pair, 8B included.
std::optional<Command> commandFromCode(char first, char second);

// The whole length of a frame with this command, code included: 6, 10 or 18.
int frameLength(Command command);

// The channel and quantity of each field after the code; empty for Output.
std::vector<SetPoint> fieldLayout(Command command);

// "12.34 V" (two digits before the point at least), "1.500 A".
std::string voltageText(std::uint16_t tenMillivolts);
std::string currentText(std::uint16_t milliamperes);

// What the frame does, for a person: "CH1 voltage 12.34 V", "output ON", "link ON, CH2 ...".
// Values out of range are named at the end.
std::string describe(const Frame &frame);

} // namespace mq7410::sim
