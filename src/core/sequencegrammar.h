// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rows of a sequence file, said once for the reader and the writer: the header, then the
// file rows 1 to 9 (the steps), the finish row and an optional repeat row.

#include "sequencetable.h"

#include <array>
#include <string>
#include <string_view>

namespace mq7410 {

inline constexpr int SequenceCellCount = 2 + SetPointCount;
inline constexpr std::array<std::string_view, SequenceCellCount> SequenceHeadings{
        "step", "time_s", "ch1_v", "ch1_a", "ch2_v", "ch2_a"};
inline constexpr std::string_view SequenceHeader = "step,time_s,ch1_v,ch1_a,ch2_v,ch2_a";
inline constexpr std::string_view FinishLabel = "finish";
inline constexpr std::string_view RepeatLabel = "repeat";
inline constexpr int FinishFileRow = StepCount + 1;
inline constexpr int RepeatFileRow = StepCount + 2;
// The cycles of a file without a repeat row: every file written before there was one.
inline constexpr int RepeatWithoutRow = 1;

// The label that file row `fileRow` (1 to RepeatFileRow) starts with.
inline std::string fileRowLabel(int fileRow)
{
    if (fileRow <= StepCount)
        return std::to_string(fileRow);
    return std::string(fileRow == FinishFileRow ? FinishLabel : RepeatLabel);
}

// The file row (1 to RepeatFileRow) that starts with `label`; 0 for none.
inline int fileRowOf(std::string_view label)
{
    for (int fileRow = 1; fileRow <= RepeatFileRow; ++fileRow) {
        if (label == fileRowLabel(fileRow))
            return fileRow;
    }
    return 0;
}

// The row of the table whose boxes file row `fileRow` (1 to FinishFileRow) holds.
constexpr int tableRowOf(int fileRow)
{
    return fileRow <= StepCount ? fileRow : FinishRow;
}

} // namespace mq7410
