// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What each parameter of a command may be, and the check of a unit's parameters against it:
// the count (-108, -109), the data type (-104), the suffix (-131, -138) and the mnemonic
// (-224). What a value means for the supply is the command's to judge.

#include "scpiparser.h"

#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace mq7410 {

enum class ScpiSlot {
    Volts,    // a number, in volts unless suffixed V or mV; or MIN, MAX, DEF
    Amps,     // a number, in amperes unless suffixed A or mA; or MIN, MAX, DEF
    Bound,    // MIN, MAX or DEF
    Number,   // a number without suffix
    Count,    // a number without suffix, or INFinity
    Switch,   // ON, OFF or a number without suffix
    Channel,  // CH1 or CH2
    Tracking, // NONE or SERies
    Channels, // a channel list
};

struct ScpiSlotSpec
{
    ScpiSlot slot = ScpiSlot::Number;
    bool optional = false; // only at the end of a command's parameters
};

struct ScpiArgument
{
    // A number: in volts or amperes for Volts and Amps, its suffix applied; 0 for a mnemonic.
    double number = 0.0;
    // A number as written, without its suffix ("12.34"); a mnemonic's short form in capitals
    // ("MAX", "SER"); a channel list's inside.
    std::string text;
    bool mnemonic = false;
};

// By slot; an optional slot without a parameter holds nothing.
using ScpiArguments = std::vector<std::optional<ScpiArgument>>;

// The unit's parameters read into the slots; an optional slot whose type a parameter does not
// have is left empty and the parameter tried on the next one (VOLT? (@2)).
std::variant<ScpiArguments, ScpiError> scpiArguments(std::span<const ScpiSlotSpec> specs,
                                                     std::span<const ScpiParameter> parameters);

} // namespace mq7410
