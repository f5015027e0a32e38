#include "labeltext.h"

#include <cstdio>

namespace mq7410 {

std::string CurrentToText(int milliamperes)
{
    if (milliamperes <= 0)
        return "0.000";
    char text[16];
    std::snprintf(text, sizeof text, "%d.%03d", milliamperes / 1000, milliamperes % 1000);
    return text;
}

std::string VoltageToText(int tensOfMillivolts)
{
    if (tensOfMillivolts <= 0)
        return "00.00";
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d", tensOfMillivolts / 100, tensOfMillivolts % 100);
    return text;
}

} // namespace mq7410
