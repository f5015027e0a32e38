// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The line settings of a serial line as termios holds them (Unix-like systems only).

#include "lineformat.h"

#include <string>

struct termios;

namespace mq7410::sim {

struct LineSettings
{
    int baud = SupplyLineFormat.baud; // -1: a rate this program has no name for
    int dataBits = SupplyLineFormat.dataBits;
    std::string parity = "none"; // none, even, odd, mark, space
    int stopBits = SupplyLineFormat.stopBits;
    std::string flowControl = "none"; // none, hardware, software, both

    // N, E, O, M or S
    char parityLetter() const;

    // Whether the supply would hear it: SupplyLineFormat, flow control aside.
    bool matchesSupply() const;

    // "115200 baud 8N1, flow control none"
    std::string text() const;

    bool operator==(const LineSettings &) const = default;
};

LineSettings lineSettingsFrom(const termios &attributes);

} // namespace mq7410::sim
