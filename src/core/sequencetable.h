// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The step table of the auto panel: nine timed steps, a Finish row and a repeat count, kept as
// the texts of their boxes. Every number a run uses is read from these texts when it starts.

#include "failure.h"
#include "setpoint.h"

#include <array>
#include <string>
#include <string_view>

namespace mq7410 {

inline constexpr int StepCount = 9;
inline constexpr int RowCount = 10; // row 0 is the Finish row, rows 1 to 9 are steps 1 to 9
inline constexpr int FinishRow = 0;
inline constexpr int MaxStepSeconds = 999999; // what the table's heading announces
inline constexpr int UntilStop = 0;           // a repeat count: cycles until Stop
inline constexpr int MaxRepeat = 9999;
// The longest text a box takes: every real value fits many times over, and a box can show the
// whole of it.
inline constexpr std::size_t MaxBoxText = 64;

struct SequenceTexts
{
    // times[k - 1] is step k's time in seconds (box Timek, which stands one line below the
    // label of step k); values[row][set-point] are the boxes CH1V(row + 1) ... CH2I(row + 1).
    std::array<std::string, StepCount> times;
    std::array<std::array<std::string, SetPointCount>, RowCount> values;
    int repeat = 1; // cycles a run plays: 1 to MaxRepeat, or UntilStop

    // Every box "0", one cycle, as at start-up.
    static SequenceTexts initial();

    const std::string &time(int step) const { return times.at(std::size_t(step - 1)); }
    std::string &time(int step) { return times.at(std::size_t(step - 1)); }
    const std::string &value(int row, SetPoint setPoint) const
    {
        return values.at(std::size_t(row)).at(std::size_t(indexOf(setPoint)));
    }
    std::string &value(int row, SetPoint setPoint)
    {
        return values.at(std::size_t(row)).at(std::size_t(indexOf(setPoint)));
    }

    bool operator==(const SequenceTexts &) const = default;
};

// How messages name row `row`: "Finish" or "Step 3".
std::string rowName(int row);

// Whether a box can hold `text` so that it shows all of it: valid UTF-8, no control character
// (tab and line breaks included), at most MaxBoxText characters. The Failure says what is wrong.
Status checkBoxText(std::string_view text);

// Whether a repeat count is one the table takes.
constexpr bool isRepeatCount(int count)
{
    return count >= UntilStop && count <= MaxRepeat;
}

// A Time box as whole seconds: the number rounded to the nearest whole (halves away from
// zero); below 0, 0, or not finite (1e999) gives 0, above MaxStepSeconds gives MaxStepSeconds.
// The runner counts whole ticks, so only such a number lets every run end.
int stepSeconds(std::string_view text);

// What a run of the table plays: each step's whole seconds, each row's cells and the cycles.
struct SequenceNumbers
{
    std::array<int, StepCount> seconds{};
    std::array<SetPointValues, RowCount> rows{};
    int cycles = 1;

    bool operator==(const SequenceNumbers &) const = default;
};

// A set-point box that its check would reset counts as 0.
SequenceNumbers numbersOf(const SequenceTexts &texts);

} // namespace mq7410
