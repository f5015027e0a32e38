// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The step table as a file: CSV (RFC 4180) in UTF-8, LF or CR LF line ends, an optional
// byte-order mark. The header row
//     step,time_s,ch1_v,ch1_a,ch2_v,ch2_a
// then the rows 1 to 9 and finish, in this order, and an optional last row
//     repeat,N,,,,
// with the cycles (0 to 9999, 0 for until Stop; 1 without the row). Each cell holds the text
// of its box exactly as typed; the row of step k holds step k's time and the boxes of row k,
// the finish row an empty time and the boxes of row 0. A cell is a text a box shows whole (no
// tab, line break or other control character, at most MaxBoxText characters), so that what
// the boxes show is all that was read. Empty lines are passed over.

#include "sequencetable.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace mq7410 {

inline constexpr std::size_t MaxSequenceFileBytes = 1 << 20;

// Why a file cannot be read, and where. Lines count physical lines from 1, columns count
// characters from 1; 0 is not known.
struct SequenceFileError
{
    int line = 0;
    int column = 0;
    // What was expected there and what was found, in plain words:
    // the step label "3", found "4"
    std::string expected;

    bool operator==(const SequenceFileError &) const = default;
};

// Whether the file of `texts` reads back as `texts`; else the Failure names the first box
// (in the file's order) that no cell can hold, or the repeat count, and why.
Status checkTable(const SequenceTexts &texts);

// LF line ends, no byte-order mark. Save only a table that checkTable passes: any other is
// written all the same, and the file does not read back.
std::string writeSequence(const SequenceTexts &texts);

// All or nothing: the texts of every box and the repeat count, or the first error. A text the
// boxes would not take (40 V, 1e999) is no error here: it loads as it is and the panel
// settles it.
std::variant<SequenceTexts, SequenceFileError> readSequence(std::string_view bytes);

// The one line the error box shows:
// steps.csv, line 4, column 1: expected the step label "3", found "4"
std::string errorText(const std::string &fileName, const SequenceFileError &error);

} // namespace mq7410
