#include "frame.h"

#include <cstdio>

namespace mq7410::sim {

bool SetPoint::inRange() const
{
    return value <= (quantity == Quantity::Voltage ? MaxVoltage : MaxCurrent);
}

bool Frame::outOfRange() const
{
    for (const SetPoint &setPoint : setPoints) {
        if (!setPoint.inRange())
            return true;
    }
    return false;
}

std::optional<Command> commandFromCode(char first, char second)
{
    if (first != '8')
        return std::nullopt;
    switch (second) {
    case '7':
        return Command::Ch1Current;
    case '8':
        return Command::Ch1Voltage;
    case '9':
        return Command::Ch2Current;
    case 'A':
        return Command::Ch2Voltage;
    case 'C':
        return Command::Output;
    case 'D':
        return Command::AllSetPoints;
    case 'E':
        return Command::LinkOff;
    case 'F':
        return Command::LinkOn;
    default:
        return std::nullopt;
    }
}

std::vector<SetPoint> fieldLayout(Command command)
{
    constexpr auto V = Quantity::Voltage;
    constexpr auto I = Quantity::Current;
    switch (command) {
    case Command::Ch1Current:
        return {{1, I}};
    case Command::Ch1Voltage:
        return {{1, V}};
    case Command::Ch2Current:
        return {{2, I}};
    case Command::Ch2Voltage:
        return {{2, V}};
    case Command::Output:
        return {};
    case Command::AllSetPoints:
        return {{1, V}, {1, I}, {2, V}, {2, I}};
    case Command::LinkOff:
    case Command::LinkOn:
        return {{2, I}, {2, V}};
    }
    return {};
}

int frameLength(Command command)
{
    // The output pattern takes one field's place.
    const auto fields = command == Command::Output ? 1 : fieldLayout(command).size();
    return CodeLength + FieldLength * static_cast<int>(fields);
}

std::string voltageText(std::uint16_t tenMillivolts)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02u.%02u V", tenMillivolts / 100u, tenMillivolts % 100u);
    return text;
}

std::string currentText(std::uint16_t milliamperes)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u.%03u A", milliamperes / 1000u, milliamperes % 1000u);
    return text;
}

namespace {

std::string valueText(const SetPoint &setPoint)
{
    return setPoint.quantity == Quantity::Voltage ? voltageText(setPoint.value)
                                                  : currentText(setPoint.value);
}

std::string nameOf(const SetPoint &setPoint)
{
    return "CH" + std::to_string(setPoint.channel)
           + (setPoint.quantity == Quantity::Voltage ? " voltage" : " current");
}

std::string outOfRangeNote(const Frame &frame)
{
    std::string note;
    for (const SetPoint &setPoint : frame.setPoints) {
        if (!setPoint.inRange())
            note += (note.empty() ? "  [out of range: " : ", ") + nameOf(setPoint);
    }
    return note.empty() ? note : note + "]";
}

} // namespace

std::string describe(const Frame &frame)
{
    const std::vector<SetPoint> &fields = frame.setPoints;
    std::string text;
    switch (frame.command) {
    case Command::Ch1Current:
    case Command::Ch1Voltage:
    case Command::Ch2Current:
    case Command::Ch2Voltage:
        text = nameOf(fields.at(0)) + ' ' + valueText(fields.at(0));
        break;
    case Command::Output:
        text = frame.outputOn ? "output ON" : "output OFF";
        break;
    case Command::AllSetPoints:
        text = "CH1 " + valueText(fields.at(0)) + ' ' + valueText(fields.at(1)) + ", CH2 "
               + valueText(fields.at(2)) + ' ' + valueText(fields.at(3));
        break;
    case Command::LinkOff:
    case Command::LinkOn:
        text = std::string(frame.command == Command::LinkOn ? "link ON" : "link OFF") + ", CH2 "
               + valueText(fields.at(0)) + ' ' + valueText(fields.at(1));
        break;
    }
    return text + outOfRangeNote(frame);
}

} // namespace mq7410::sim
