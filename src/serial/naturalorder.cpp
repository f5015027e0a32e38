// SPDX-License-Identifier: GPL-3.0-or-later
#include "naturalorder.h"

namespace mq7410 {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The run of digits at the front of `text`, without its leading zeros; `text` loses the run.
std::string_view takeNumber(std::string_view &text)
{
    std::size_t end = 0;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    std::string_view number = text.substr(0, end);
    text.remove_prefix(end);
    while (number.size() > 1 && number.front() == '0')
        number.remove_prefix(1);
    return number;
}

} // namespace

bool naturalLess(std::string_view a, std::string_view b)
{
    std::string_view restA = a;
    std::string_view restB = b;
    while (!restA.empty() && !restB.empty()) {
        if (isDigit(restA.front()) && isDigit(restB.front())) {
            const std::string_view numberA = takeNumber(restA);
            const std::string_view numberB = takeNumber(restB);
            // Without leading zeros, a longer run is a larger number; any length works.
            if (numberA.size() != numberB.size())
                return numberA.size() < numberB.size();
            if (numberA != numberB)
                return numberA < numberB;
            continue;
        }
        if (restA.front() != restB.front())
            return static_cast<unsigned char>(restA.front())
                   < static_cast<unsigned char>(restB.front());
        restA.remove_prefix(1);
        restB.remove_prefix(1);
    }
    if (restA.empty() != restB.empty())
        return restA.empty();
    return a < b;
}

} // namespace mq7410
