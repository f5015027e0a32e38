// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrycheck.h"

#include "sequencetable.h"
#include "setpointtext.h"
#include "textnumber.h"

#include <cmath>
#include <limits>

namespace mq7410 {

double roundHalfToEven(double x)
{
    // Spelled out rather than left to the floating-point rounding mode in force.
    const double below = std::floor(x);
    const double fraction = x - below;
    if (fraction < 0.5)
        return below;
    if (fraction > 0.5)
        return below + 1.0;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

std::optional<std::int16_t> tableCell(std::string_view text, SetPoint setPoint, int limit)
{
    const auto supplyLimit = static_cast<float>(unitsOf(setPoint, limitOf(setPoint))); // 32 or 3

    const double read = textToNumber(text);
    // Range-check in double first: converting a double beyond the float range is undefined.
    if (!std::isfinite(read) || std::fabs(read) > std::numeric_limits<float>::max())
        return std::nullopt;
    const auto entry = static_cast<float>(read);
    if (entry > supplyLimit || entry < 0.0F)
        return std::nullopt;
    // -0, or a negative too small for single precision, scales to 0 like plain 0.
    const double cell = roundHalfToEven(static_cast<double>(entry) * stepsPerUnit(setPoint));
    if (cell > limit)
        return std::nullopt;
    return static_cast<std::int16_t>(cell);
}

std::string readingNote(std::string_view text, std::optional<SetPoint> setPoint, int limit)
{
    if (!readNumber(text).restIgnored)
        return {};
    std::string read;
    if (!setPoint) {
        read = std::to_string(stepSeconds(text)) + " s";
    } else if (const std::optional<std::int16_t> cell = tableCell(text, *setPoint, limit)) {
        read = valueWords(*setPoint, *cell);
    } else {
        return {};
    }
    return std::string(text) + " is read as " + read;
}

} // namespace mq7410
