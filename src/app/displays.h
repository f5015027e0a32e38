#pragma once

// The captions of the four set-point displays. The rules that change them are plain C++ and
// work on this copy; the window then shows it on the labels CH1V, CH1I, CH2V and CH2I.

#include <string>

namespace mq7410 {

struct Displays
{
    std::string CH1V = "00.00";
    std::string CH1I = "0.000";
    std::string CH2V = "00.00";
    std::string CH2I = "0.000";

    bool operator==(const Displays &) const = default;
};

} // namespace mq7410
