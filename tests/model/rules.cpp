#include "rules.h"

#include "common/textnumber.h"

#include <cfenv>
#include <cmath>
#include <cstdio>

namespace mq7410::model {

std::string currentText(int milliamperes)
{
    if (milliamperes <= 0)
        return "0.000";
    char text[32];
    std::snprintf(text, sizeof text, "%d.%03d", milliamperes / 1000, milliamperes % 1000);
    return text;
}

std::string voltageText(int tenMillivolts)
{
    if (tenMillivolts <= 0)
        return "00.00";
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d", tenMillivolts / 100, tenMillivolts % 100);
    return text;
}

std::string hexField(int value)
{
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(value));
    if (value > 255)
        return std::string("0") + hex;
    if (value > 15)
        return std::string("00") + hex;
    return std::string("000") + hex;
}

Entry checkEntry(std::string_view text, bool voltage)
{
    const float limit = voltage ? 32.0f : 3.0f;
    const double factor = voltage ? 100.0 : 1000.0;
    const double read = TextToNumber(text);
    // Anything this large is over the limit or below 0 whatever its single-precision form.
    if (!std::isfinite(read) || std::fabs(read) > 1e30)
        return {true, 0};
    const auto entry = static_cast<float>(read);
    if (entry > limit || entry < 0.0f)
        return {true, 0};
    // Halves to even: the default rounding mode of the floating-point unit.
    std::fesetround(FE_TONEAREST);
    const double cell = std::nearbyint(static_cast<double>(entry) * factor);
    return {false, static_cast<std::int16_t>(cell == 0.0 ? 0.0 : cell)};
}

double stepSeconds(std::string_view text)
{
    const double read = TextToNumber(text);
    if (!std::isfinite(read) || read < 0.0)
        return 0.0;
    const double whole = std::round(read); // halves away from zero
    return whole > 999999.0 ? 999999.0 : whole;
}

} // namespace mq7410::model
