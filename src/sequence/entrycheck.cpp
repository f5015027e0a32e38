#include "entrycheck.h"

#include "common/textnumber.h"

#include <cmath>
#include <limits>

namespace mq7410 {
namespace {

struct Scale
{
    float limit;
    double factor;
};

Scale scaleOf(SetPointKind kind)
{
    return kind == SetPointKind::Voltage ? Scale{32.0f, 100.0} : Scale{3.0f, 1000.0};
}

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

EntryCheck checkEntry(std::string_view text, SetPointKind kind)
{
    constexpr EntryCheck replaced{true, 0.0f, 0};
    const Scale scale = scaleOf(kind);

    const double read = TextToNumber(text);
    // Range-check in double first: converting a double beyond the float range is undefined.
    if (!std::isfinite(read) || std::fabs(read) > std::numeric_limits<float>::max())
        return replaced;

    auto entry = static_cast<float>(read);
    // Both limits apply to the single-precision value: 3.00000001 reads as exactly 3.
    if (entry > scale.limit || entry < 0.0f)
        return replaced;
    if (entry == 0.0f)
        entry = 0.0f; // -0, or a negative too small for single precision, is plain 0

    const double scaled = roundHalfToEven(static_cast<double>(entry) * scale.factor);
    return {false, entry, static_cast<std::int16_t>(scaled)};
}

} // namespace mq7410
