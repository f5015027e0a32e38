// SPDX-License-Identifier: GPL-3.0-or-later
// textToNumber on any bytes, and numberToText on what it reads and on any double: no crash,
// never NaN, and a written number reads back as the value it shows (15 significant digits).

#include "fuzzcheck.h"

#include "textnumber.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

double toFifteenDigits(double x)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", x);
    return std::strtod(text, nullptr);
}

// " 12", "-3", " .5", " 1E+15": a sign place, digits with at most one ".", no zero before
// the point, no trailing zero after it, at most 15 significant digits, an optional exponent.
bool wellFormed(const std::string &text)
{
    if (text.size() < 2 || (text[0] != ' ' && text[0] != '-'))
        return false;
    const std::string mantissa = text.substr(1, text.find('E') - 1);
    if (mantissa.size() > 1 && mantissa[0] == '0')
        return false;
    const std::size_t point = mantissa.find('.');
    if (point != std::string::npos
        && (mantissa.back() == '0' || mantissa.back() == '.'
            || mantissa.find('.', point + 1) != std::string::npos))
        return false;
    int significant = 0;
    bool leading = true;
    for (const char c : mantissa) {
        if (c == '.')
            continue;
        if (c < '0' || c > '9')
            return false;
        leading = leading && c == '0';
        significant += leading ? 0 : 1;
    }
    return significant <= 15;
}

void checkWritten(double x)
{
    const std::string written = mq7410::numberToText(x);
    if (!std::isfinite(x))
        return;
    FUZZ_CHECK(wellFormed(written), "numberToText(%.17g) = \"%s\"", x, written.c_str());
    FUZZ_CHECK((written[0] == '-') == (x < 0), "sign of \"%s\" for %.17g", written.c_str(), x);
    const double back = mq7410::textToNumber(written);
    FUZZ_CHECK(back == toFifteenDigits(x), "\"%s\" reads as %.17g, not %.17g", written.c_str(),
               back, toFifteenDigits(x));
    // Within 15 digits of the largest double the text rounds past it and reads as infinity.
    if (std::isfinite(back))
        FUZZ_CHECK(mq7410::numberToText(back) == written, "\"%s\" is not written again as itself",
                   written.c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const double read = mq7410::textToNumber(text);
    FUZZ_CHECK(!std::isnan(read), "textToNumber gave NaN");
    checkWritten(read);

    if (size >= sizeof(double)) { // any bit pattern: NaN, infinities, subnormals
        double any = 0;
        std::memcpy(&any, data, sizeof any);
        checkWritten(any);
    }
    return 0;
}
