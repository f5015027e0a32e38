// SPDX-License-Identifier: GPL-3.0-or-later
#include "setpointtext.h"

#include <cstdio>

namespace mq7410 {

std::string currentDisplayText(int milliamperes)
{
    if (milliamperes <= 0)
        return "0.000";
    char text[16];
    std::snprintf(text, sizeof text, "%d.%03d", milliamperes / 1000, milliamperes % 1000);
    return text;
}

std::string voltageDisplayText(int tensOfMillivolts)
{
    if (tensOfMillivolts <= 0)
        return "00.00";
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d", tensOfMillivolts / 100, tensOfMillivolts % 100);
    return text;
}

std::string displayText(SetPoint setPoint, int value)
{
    return isVoltage(setPoint) ? voltageDisplayText(value) : currentDisplayText(value);
}

std::string valueWords(SetPoint setPoint, int value)
{
    char text[24];
    if (isVoltage(setPoint))
        std::snprintf(text, sizeof text, "%d.%02d V", value / 100, value % 100);
    else
        std::snprintf(text, sizeof text, "%d.%03d A", value / 1000, value % 1000);
    return text;
}

} // namespace mq7410
