// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One line of the SCPI language read into its program message units: headers and parameters,
// as IEEE 488.2 writes them. The reader takes any bytes and does work in proportion to the
// line; it knows no command, only the grammar.

#include "scpierrors.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mq7410 {

enum class ScpiDataType {
    Number,      // decimal: 5, +5, 5.00, .5, 5E0, with an optional suffix
    Mnemonic,    // character data: ON, CH1, MAX
    String,      // 'text' or "text"
    ChannelList, // (@1)
};

struct ScpiParameter
{
    ScpiDataType type = ScpiDataType::Number;
    // A number as written, without its suffix; a mnemonic as written; a string's content; a
    // channel list's inside, between "(@" and ")".
    std::string text;
    std::string suffix; // a number's, as written ("mV"); may be empty

    bool operator==(const ScpiParameter &) const = default;
};

struct ScpiUnit
{
    std::string header;                // as written: ":VOLT:LEV?", "*IDN?"
    std::vector<std::string> keywords; // "VOLT", "LEV"; a common command's one is "*IDN"
    bool query = false;
    std::vector<ScpiParameter> parameters;
};

// The units of a line, up to the first one its grammar does not allow.
struct ScpiMessage
{
    std::vector<ScpiUnit> units;
    // The command error that ended the line there, and the unit as written up to it: the rest
    // of the line is not read, as IEEE 488.2 parsers do.
    std::optional<ScpiError> error;
    std::string brokenUnit;
};

ScpiMessage parseScpiLine(std::string_view line);

} // namespace mq7410
