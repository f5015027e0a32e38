// SPDX-License-Identifier: GPL-3.0-or-later
// The check of a set-point box on any text: no undefined behaviour, a cell always within 0 to
// the set-point's limit, nothing only for a text above the limit, below 0 or not finite, and
// otherwise the single-precision entry times the unit, halves to even.

#include "fuzzcheck.h"

#include "entrycheck.h"
#include "textnumber.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace mq7410;
    if (size == 0)
        return 0;
    // The first byte picks the box; even picks a voltage, as the seeds expect.
    const SetPoint setPoint = AllSetPoints[data[0] % SetPointCount];
    const std::string_view text(reinterpret_cast<const char *>(data) + 1, size - 1);
    const std::optional<std::int16_t> cell = tableCell(text, setPoint);

    // Far beyond any limit, yet well inside single precision: safe to narrow.
    const double read = textToNumber(text);
    const bool narrowable = std::isfinite(read) && std::fabs(read) < 1e30;
    const float entry = narrowable ? static_cast<float>(read) : 0.0F;
    const float limit = isVoltage(setPoint) ? 32.0F : 3.0F;
    const bool inRange = narrowable && entry >= 0.0F && entry <= limit;
    FUZZ_CHECK(cell.has_value() == inRange, "%.17g %s", read, cell ? "accepted" : "refused");
    if (!cell)
        return 0;

    FUZZ_CHECK(*cell >= 0 && *cell <= limitOf(setPoint), "cell %d", *cell);
    std::fesetround(FE_TONEAREST);
    const double scaled
            = std::nearbyint(static_cast<double>(entry) * (isVoltage(setPoint) ? 100 : 1000));
    FUZZ_CHECK(*cell == static_cast<int>(scaled), "entry %.9g gave cell %d, not %g",
               static_cast<double>(entry), *cell, scaled);
    return 0;
}
