// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The set-points and switches of the supply, as the frames received so far left them. The
// supply starts with every set-point at 0, the output off and the link off.

#include "frame.h"

#include <cstdint>
#include <string>

namespace mq7410::sim {

struct ChannelSetPoints
{
    std::uint16_t voltage = 0; // 10 mV steps
    std::uint16_t current = 0; // mA
    bool operator==(const ChannelSetPoints &) const = default;
};

struct SupplyState
{
    ChannelSetPoints ch1;
    ChannelSetPoints ch2;
    bool outputOn = false;
    bool seriesLink = false;

    // Takes every value as sent, out of range or not, so that what the panel asked for shows.
    void apply(const Frame &frame);

    // "CH1 12.34 V 1.500 A | CH2 05.00 V 0.250 A | output ON | link OFF"
    std::string statusText() const;

    bool operator==(const SupplyState &) const = default;
};

} // namespace mq7410::sim
