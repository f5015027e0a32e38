#pragma once

// The step table of the auto panel: nine timed steps and a Finish row, kept as the texts of
// their boxes. Every number a run uses is read from these texts when the run starts.

#include "setpoint.h"

#include <array>
#include <string>
#include <string_view>

namespace mq7410 {

inline constexpr int StepCount = 9;
inline constexpr int RowCount = 10; // row 0 is the Finish row, rows 1 to 9 are steps 1 to 9
inline constexpr int FinishRow = 0;
inline constexpr int MaxStepSeconds = 999999; // what the table's heading announces

struct SequenceTexts
{
    // times[k - 1] is step k's time in seconds (box Timek, which stands one line below the
    // label of step k); values[row][set-point] are the boxes CH1V(row + 1) ... CH2I(row + 1).
    std::array<std::string, StepCount> times;
    std::array<std::array<std::string, SetPointCount>, RowCount> values;

    // Every box "0", as at start-up.
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

// A Time box as whole seconds: the number rounded to the nearest whole (halves away from
// zero); below 0, 0, or not finite (1e999) gives 0, above MaxStepSeconds gives MaxStepSeconds.
// The runner counts whole ticks, so only such a number lets every run end.
int stepSeconds(std::string_view text);

// What a run of the table plays: each step's whole seconds and each row's cells.
struct SequenceNumbers
{
    std::array<int, StepCount> seconds{};
    std::array<SetPointValues, RowCount> rows{};

    bool operator==(const SequenceNumbers &) const = default;
};

SequenceNumbers numbersOf(const SequenceTexts &texts);

} // namespace mq7410
