#include "entrycheck.h"

#include "textnumber.h"

#include <cmath>
#include <limits>

namespace mq7410 {
namespace {

// Spelled out rather than left to the floating-point rounding mode in force.
double roundHalfToEven(double x)
{
    const double below = std::floor(x);
    const double fraction = x - below;
    if (fraction < 0.5)
        return below;
    if (fraction > 0.5)
        return below + 1.0;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

} // namespace

std::optional<std::int16_t> tableCell(std::string_view text, SetPoint setPoint)
{
    const auto limit = static_cast<float>(unitsOf(setPoint, limitOf(setPoint))); // 32 or 3

    const double read = textToNumber(text);
    // Range-check in double first: converting a double beyond the float range is undefined.
    if (!std::isfinite(read) || std::fabs(read) > std::numeric_limits<float>::max())
        return std::nullopt;
    const auto entry = static_cast<float>(read);
    if (entry > limit || entry < 0.0F)
        return std::nullopt;
    // -0, or a negative too small for single precision, scales to 0 like plain 0.
    return static_cast<std::int16_t>(
            roundHalfToEven(static_cast<double>(entry) * stepsPerUnit(setPoint)));
}

} // namespace mq7410
