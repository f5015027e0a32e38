#pragma once

// The line settings text, such as "115200 N 8 1": baud, parity, data bits and stop bits.

#include <optional>
#include <string_view>

namespace mq7410 {

enum class Parity { None, Even, Odd, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };

struct LineSettings
{
    int baudRate = 9600;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;

    friend bool operator==(const LineSettings &, const LineSettings &) = default;
};

// Four fields separated by single blanks: the baud as a positive decimal number without leading
// zeros; N, E, O, M or S; 5 to 8; 1, 1.5 or 2. Anything else gives nothing. Whether the port can
// run at the baud is for the port to say when it opens.
std::optional<LineSettings> parseLineSettings(std::string_view text);

} // namespace mq7410
