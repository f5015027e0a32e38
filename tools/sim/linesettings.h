#pragma once

// The line settings of a serial line as termios holds them (Unix-like systems only).

#include <string>

struct termios;

namespace mq7410::sim {

struct LineSettings
{
    int baud = 115200; // -1: a rate this program has no name for
    int dataBits = 8;
    std::string parity = "none"; // none, even, odd, mark, space
    int stopBits = 1;
    std::string flowControl = "none"; // none, hardware, software, both

    // 115200 baud, 8 data bits, no parity, 1 stop bit: what the supply listens with.
    bool matchesSupply() const;

    // "115200 baud 8N1, flow control none"
    std::string text() const;

    bool operator==(const LineSettings &) const = default;
};

LineSettings lineSettingsFrom(const termios &attributes);

} // namespace mq7410::sim
