// The check of a set-point box on any text: no undefined behaviour, the cell always within
// 0..3200 (voltage) or 0..3000 (current), 0 when the box is replaced, and otherwise the
// single-precision entry times the unit, halves to even.

#include "fuzzcheck.h"

#include "sequence/entrycheck.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool voltage = (data[0] & 1) == 0; // the first byte picks the box: "V" or "A"
    const std::string_view text(reinterpret_cast<const char *>(data) + 1, size - 1);
    const auto kind = voltage ? mq7410::SetPointKind::Voltage : mq7410::SetPointKind::Current;
    const mq7410::EntryCheck check = mq7410::checkEntry(text, kind);

    const int most = voltage ? 3200 : 3000;
    FUZZ_CHECK(check.cell >= 0 && check.cell <= most, "cell %d", check.cell);
    if (check.replaceWithZero) {
        FUZZ_CHECK(check.cell == 0 && check.entryValue == 0.0f, "replaced, yet cell %d",
                   check.cell);
        return 0;
    }
    const float limit = voltage ? 32.0f : 3.0f;
    FUZZ_CHECK(check.entryValue >= 0.0f && check.entryValue <= limit, "entry %g accepted",
               static_cast<double>(check.entryValue));
    std::fesetround(FE_TONEAREST);
    const double scaled
            = std::nearbyint(static_cast<double>(check.entryValue) * (voltage ? 100 : 1000));
    FUZZ_CHECK(check.cell == static_cast<int>(scaled), "entry %.9g gave cell %d, not %g",
               static_cast<double>(check.entryValue), check.cell, scaled);
    return 0;
}
