#include "serial/linesettings.h"

#include <array>
#include <charconv>
#include <string_view>

namespace mq7410 {

namespace {

std::optional<int> parseBaud(std::string_view field)
{
    if (field.empty() || field.front() < '1' || field.front() > '9')
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size())
        return std::nullopt;
    return value;
}

std::optional<Parity> parseParity(std::string_view field)
{
    if (field == "N")
        return Parity::None;
    if (field == "E")
        return Parity::Even;
    if (field == "O")
        return Parity::Odd;
    if (field == "M")
        return Parity::Mark;
    if (field == "S")
        return Parity::Space;
    return std::nullopt;
}

std::optional<int> parseDataBits(std::string_view field)
{
    if (field.size() == 1 && field[0] >= '5' && field[0] <= '8')
        return field[0] - '0';
    return std::nullopt;
}

std::optional<StopBits> parseStopBits(std::string_view field)
{
    if (field == "1")
        return StopBits::One;
    if (field == "1.5")
        return StopBits::OneAndHalf;
    if (field == "2")
        return StopBits::Two;
    return std::nullopt;
}

} // namespace

std::optional<LineSettings> parseLineSettings(std::string_view text)
{
    std::array<std::string_view, 4> fields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t blank = text.find(' ');
        const bool last = i + 1 == fields.size();
        // The last field runs to the end; every other one ends at a blank.
        if (last != (blank == std::string_view::npos))
            return std::nullopt;
        fields[i] = text.substr(0, blank);
        text.remove_prefix(last ? text.size() : blank + 1);
    }
    const auto baud = parseBaud(fields[0]);
    const auto parity = parseParity(fields[1]);
    const auto dataBits = parseDataBits(fields[2]);
    const auto stopBits = parseStopBits(fields[3]);
    if (!baud || !parity || !dataBits || !stopBits)
        return std::nullopt;
    return LineSettings{*baud, *parity, *dataBits, *stopBits};
}

} // namespace mq7410
