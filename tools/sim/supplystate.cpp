// SPDX-License-Identifier: GPL-3.0-or-later
#include "supplystate.h"

#include "setpointtext.h"

namespace mq7410::sim {

namespace {

std::string channelText(const ChannelSetPoints &channel)
{
    const std::string voltage = voltageDisplayText(channel.voltage);
    return voltage + " V " + currentDisplayText(channel.current) + " A";
}

} // namespace

void SupplyState::apply(const Frame &frame)
{
    for (const FieldValue &field : frame.fields) {
        ChannelSetPoints &channel = channelOf(field.setPoint) == 1 ? ch1 : ch2;
        (isVoltage(field.setPoint) ? channel.voltage : channel.current) = field.value;
    }
    if (frame.command == Command::Output)
        outputOn = frame.outputOn;
    else if (frame.command == Command::LinkOn)
        seriesLink = true;
    else if (frame.command == Command::LinkOff)
        seriesLink = false;
}

std::string SupplyState::statusText() const
{
    return "CH1 " + channelText(ch1) + " | CH2 " + channelText(ch2) + " | output "
           + (outputOn ? "ON" : "OFF") + " | link " + (seriesLink ? "ON" : "OFF");
}

} // namespace mq7410::sim
