#pragma once

// The controls a user can act on, and the 49 boxes of the auto panel, by the names the window
// gives them.

#include <array>
#include <string>

namespace mq7410::model {

enum class Control {
    SerialCommand,
    OutputCommand,
    CH1VCommand,
    CH1ACommand,
    CH2VCommand,
    CH2ACommand,
    ZeroCommand,
    OneCommand,
    TwoCommand,
    ThreeCommand,
    FourCommand,
    FiveCommand,
    SixCommand,
    SevenCommand,
    EightCommand,
    NineCommand,
    EnterCommand,
    CH1VOption,
    CH1AOption,
    CH2VOption,
    CH2AOption,
    CancelCommand,
    Start,
};
constexpr int ControlCount = 23;

const char *controlName(Control control);
bool onManualPanel(Control control); // otherwise it lies on the auto panel

// The digit of ZeroCommand ... NineCommand, or -1.
int digitOf(Control control);

// Boxes 0..8 are Time1..Time9; box 9 + 4 * row + column is the set-point box of StepTable row
// `row` (0 = Finish) and column `column` (CH1 V, CH1 A, CH2 V, CH2 A): "CH1V1" ... "CH2I10".
constexpr int TimeBoxes = 9;
constexpr int TableRows = 10;
constexpr int BoxCount = TimeBoxes + 4 * TableRows;

constexpr bool isTimeBox(int box)
{
    return box < TimeBoxes;
}
constexpr int boxRow(int box)
{
    return (box - TimeBoxes) / 4;
}
constexpr int boxColumn(int box)
{
    return (box - TimeBoxes) % 4;
}
constexpr int valueBox(int row, int column)
{
    return TimeBoxes + 4 * row + column;
}
std::string boxName(int box);

// The four displays, in the order CH1V, CH1I, CH2V, CH2I.
extern const std::array<const char *, 4> DisplayNames;

} // namespace mq7410::model
