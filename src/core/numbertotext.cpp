// SPDX-License-Identifier: GPL-3.0-or-later
#include "textnumber.h"

#include <charconv>
#include <cmath>

namespace mq7410 {

std::string numberToText(double x)
{
    if (std::isnan(x))
        return " nan";
    const bool negative = x < 0; // -0.0 counts as 0 and gets the blank
    std::string text(1, negative ? '-' : ' ');
    const double magnitude = std::fabs(x);
    if (std::isinf(magnitude))
        return text + "inf";

    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, magnitude,
                                      std::chars_format::general, 15);
    std::string body(digits, result.ptr);
    if (body.size() > 1 && body[0] == '0' && body[1] == '.')
        body.erase(0, 1); // " .5", not " 0.5"
    for (char &c : body) {
        if (c == 'e')
            c = 'E';
    }
    return text + body;
}

} // namespace mq7410
