// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What text a sequence file may hold, and where in it an error stands: the whole file must be
// UTF-8 text, and each cell a text that a box shows whole.

#include "sequencefile.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace mq7410 {

struct FilePosition
{
    int line = 1;
    int column = 1;
};

// To the character after the one that starts with `first`.
void advance(FilePosition &at, char first);

SequenceFileError errorAt(FilePosition at, std::string expected);

// The first byte that is no UTF-8, or the first control character other than tab, CR and LF
// (which the grammar gives a meaning). Checked before the rows, so that a binary file is told
// as such, not by the first cell it breaks.
std::optional<SequenceFileError> checkFileText(std::string_view text);

// A cell as a message quotes it: on one line, and cut short after a few characters.
std::string shown(std::string_view cell);

// One cell met character by character, its quotes included: which characters belong to its
// text, and the first one that makes it a text no box can show.
class CellText
{
public:
    explicit CellText(bool quoted)
        : m_quoted(quoted)
    {}

    // Empty while the text can still be a box's; else what was found: "a tab".
    std::string take(std::string_view character);

private:
    bool isText(char first);

    bool m_quoted;
    bool m_opened = false;    // past the opening quote
    bool m_quotePend = false; // a quote that closes the cell, or is the first of two
    std::size_t m_characters = 0;
};

} // namespace mq7410
