#pragma once

// The step table as a file: CSV (RFC 4180) in UTF-8, LF or CR LF line ends, an optional
// byte-order mark. The header row
//     step,time_s,ch1_v,ch1_a,ch2_v,ch2_a
// then the rows 1 to 9 and finish, in this order. Each cell holds the text of its box exactly
// as typed; the row of step k holds step k's time and the boxes of row k, the finish row an
// empty time and the boxes of row 0. Empty lines are passed over.

#include "sequencetable.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace mq7410 {

inline constexpr std::size_t MaxSequenceFileBytes = 1 << 20;

// Why a file cannot be read, and where. Lines count physical lines from 1 (a line break in a
// quoted cell counts), columns count characters from 1; 0 is not known.
struct SequenceFileError
{
    int line = 0;
    int column = 0;
    // What was expected there and what was found, in plain words:
    // the step label "3", found "4"
    std::string expected;

    bool operator==(const SequenceFileError &) const = default;
};

// LF line ends, no byte-order mark. Texts with control characters other than tab, CR and LF
// are written as they are, and the file does not read back.
std::string writeSequence(const SequenceTexts &texts);

// All or nothing: the texts of every box, or the first error. A text the boxes would not take
// (40 V, 1e999) is no error here: it loads as it is and the panel settles it.
std::variant<SequenceTexts, SequenceFileError> readSequence(std::string_view bytes);

// The one line the error box shows:
// steps.csv, line 4, column 1: expected the step label "3", found "4"
std::string errorText(const std::string &fileName, const SequenceFileError &error);

} // namespace mq7410
