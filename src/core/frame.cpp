// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame.h"

#include "setpointtext.h"

#include <algorithm>
#include <array>

namespace mq7410 {
namespace {

using enum SetPoint;

constexpr std::array<SetPoint, 1> Ch1CurrentField{Ch1Current};
constexpr std::array<SetPoint, 1> Ch1VoltageField{Ch1Voltage};
constexpr std::array<SetPoint, 1> Ch2CurrentField{Ch2Current};
constexpr std::array<SetPoint, 1> Ch2VoltageField{Ch2Voltage};
constexpr std::array<SetPoint, 4> AllFields{Ch1Voltage, Ch1Current, Ch2Voltage, Ch2Current};
constexpr std::array<SetPoint, 2> LinkFields{Ch2Current, Ch2Voltage};

constexpr std::array AllCommands{Command::Ch1Current, Command::Ch1Voltage, Command::Ch2Current,
                                 Command::Ch2Voltage, Command::Output,     Command::AllSetPoints,
                                 Command::LinkOff,    Command::LinkOn};

constexpr char HexDigits[] = "0123456789ABCDEF";

// The enum's values are the codes on the wire.
std::string codeOf(Command command)
{
    const auto code = static_cast<unsigned>(command);
    return {HexDigits[code >> 4], HexDigits[code & 0xF]};
}

int hexDigitValue(char c)
{
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

std::string words(const FieldValue &field)
{
    return valueWords(field.setPoint, field.value);
}

// "CH2 12.34 V 1.500 A": the channel's fields, voltage first whatever the wire's order.
std::string channelWords(const Frame &frame, int channel)
{
    std::string voltage;
    std::string current;
    for (const FieldValue &field : frame.fields) {
        if (channelOf(field.setPoint) == channel)
            (isVoltage(field.setPoint) ? voltage : current) = words(field);
    }
    return "CH" + std::to_string(channel) + ' ' + voltage + ' ' + current;
}

} // namespace

std::span<const SetPoint> fieldsOf(Command command)
{
    switch (command) {
    case Command::Ch1Current:
        return Ch1CurrentField;
    case Command::Ch1Voltage:
        return Ch1VoltageField;
    case Command::Ch2Current:
        return Ch2CurrentField;
    case Command::Ch2Voltage:
        return Ch2VoltageField;
    case Command::Output:
        return {};
    case Command::AllSetPoints:
        return AllFields;
    case Command::LinkOff:
    case Command::LinkOn:
        return LinkFields;
    }
    return {};
}

int frameLength(Command command)
{
    const auto fields = command == Command::Output ? 1 : fieldsOf(command).size();
    return CodeLength + FieldLength * static_cast<int>(fields);
}

std::optional<Command> commandFromCode(char first, char second)
{
    for (const Command command : AllCommands) {
        const std::string code = codeOf(command);
        if (code[0] == first && code[1] == second)
            return command;
    }
    return std::nullopt;
}

Command commandFor(SetPoint setPoint)
{
    switch (setPoint) {
    case Ch1Voltage:
        return Command::Ch1Voltage;
    case Ch1Current:
        return Command::Ch1Current;
    case Ch2Voltage:
        return Command::Ch2Voltage;
    case Ch2Current:
        return Command::Ch2Current;
    }
    return Command::Ch1Voltage;
}

std::string hexField(int value)
{
    const int field = std::clamp(value, 0, 0xFFF);
    std::string text(FieldLength, '0');
    for (int i = FieldLength - 1, rest = field; i >= 0; --i, rest >>= 4)
        text[static_cast<std::size_t>(i)] = HexDigits[rest & 0xF];
    return text;
}

std::string encodeFrame(Command command, const SetPointValues &values)
{
    std::string frame = codeOf(command);
    for (const SetPoint setPoint : fieldsOf(command))
        frame += hexField(valueOf(values, setPoint));
    return frame;
}

std::string encodeOutputFrame(bool on)
{
    return codeOf(Command::Output) + std::string(on ? OutputOnPattern : OutputOffPattern);
}

bool Frame::outOfRange() const
{
    return std::any_of(fields.begin(), fields.end(),
                       [](const FieldValue &field) { return !field.inRange(); });
}

std::optional<Frame> parseFrame(std::string_view text)
{
    if (text.size() < CodeLength)
        return std::nullopt;
    const std::optional<Command> command = commandFromCode(text[0], text[1]);
    if (!command || text.size() != static_cast<std::size_t>(frameLength(*command)))
        return std::nullopt;
    const std::string_view body = text.substr(CodeLength);
    if (!std::all_of(body.begin(), body.end(), isFieldCharacter))
        return std::nullopt;
    if (*command == Command::Output && body != OutputOnPattern && body != OutputOffPattern)
        return std::nullopt;

    Frame frame{*command, std::string(text), {}, body == OutputOnPattern};
    std::size_t at = CodeLength;
    for (const SetPoint setPoint : fieldsOf(*command)) {
        unsigned value = 0;
        for (int i = 0; i < FieldLength; ++i)
            value = value * 16 + static_cast<unsigned>(hexDigitValue(text[at++]));
        frame.fields.push_back({setPoint, static_cast<std::uint16_t>(value)});
    }
    return frame;
}

std::string describeFrame(const Frame &frame)
{
    std::string text;
    switch (frame.command) {
    case Command::Ch1Current:
    case Command::Ch1Voltage:
    case Command::Ch2Current:
    case Command::Ch2Voltage:
        text = "CH" + std::to_string(channelOf(frame.fields.at(0).setPoint)) + ' '
               + words(frame.fields.at(0));
        break;
    case Command::Output:
        text = frame.outputOn ? "output on" : "output off";
        break;
    case Command::AllSetPoints:
        text = channelWords(frame, 1) + ", " + channelWords(frame, 2);
        break;
    case Command::LinkOff:
    case Command::LinkOn:
        text = std::string(frame.command == Command::LinkOn ? "series link on, "
                                                            : "series link off, ")
               + channelWords(frame, 2);
        break;
    }
    std::string note;
    for (const FieldValue &field : frame.fields) {
        if (!field.inRange())
            note += (note.empty() ? "  [out of range: " : ", ")
                    + std::string(nameOf(field.setPoint));
    }
    return note.empty() ? text : text + note + "]";
}

} // namespace mq7410
