#include "controls.h"

namespace mq7410::model {

namespace {

constexpr std::array<const char *, ControlCount> Names = {
        "SerialCommand", "OutputCommand", "CH1VCommand", "CH1ACommand",  "CH2VCommand",
        "CH2ACommand",   "ZeroCommand",   "OneCommand",  "TwoCommand",   "ThreeCommand",
        "FourCommand",   "FiveCommand",   "SixCommand",  "SevenCommand", "EightCommand",
        "NineCommand",   "EnterCommand",  "CH1VOption",  "CH1AOption",   "CH2VOption",
        "CH2AOption",    "CancelCommand", "Start",
};

constexpr std::array<const char *, 4> ColumnPrefixes = {"CH1V", "CH1I", "CH2V", "CH2I"};

} // namespace

const std::array<const char *, 4> DisplayNames = {"CH1V", "CH1I", "CH2V", "CH2I"};

const char *controlName(Control control)
{
    return Names.at(static_cast<std::size_t>(control));
}

bool onManualPanel(Control control)
{
    return control != Control::CancelCommand && control != Control::Start;
}

int digitOf(Control control)
{
    const int index = static_cast<int>(control) - static_cast<int>(Control::ZeroCommand);
    return index >= 0 && index <= 9 ? index : -1;
}

std::string boxName(int box)
{
    if (isTimeBox(box))
        return "Time" + std::to_string(box + 1);
    return ColumnPrefixes.at(static_cast<std::size_t>(boxColumn(box)))
           + std::to_string(boxRow(box) + 1);
}

} // namespace mq7410::model
