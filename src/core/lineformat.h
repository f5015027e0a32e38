// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the supply listens on its serial line: the one description that the port, the virtual
// supply and the benchmarks use.

#include <string>

namespace mq7410 {

struct LineFormat
{
    int baud = 0;
    int dataBits = 0;
    char parity = 'N'; // N, E, O
    int stopBits = 0;

    // "115200 8N1"
    std::string text() const
    {
        return std::to_string(baud) + ' ' + std::to_string(dataBits) + parity
               + std::to_string(stopBits);
    }
    bool operator==(const LineFormat &) const = default;
};

// 115200 baud, 8 data bits, no parity, 1 stop bit; no flow control.
inline constexpr LineFormat SupplyLineFormat{115200, 8, 'N', 1};

} // namespace mq7410
