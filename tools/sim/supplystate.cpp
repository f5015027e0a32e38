#include "supplystate.h"

namespace mq7410::sim {

void SupplyState::apply(const Frame &frame)
{
    for (const SetPoint &setPoint : frame.setPoints) {
        ChannelSetPoints &channel = setPoint.channel == 1 ? ch1 : ch2;
        (setPoint.quantity == Quantity::Voltage ? channel.voltage : channel.current)
                = setPoint.value;
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
    return "CH1 " + voltageText(ch1.voltage) + ' ' + currentText(ch1.current) + " | CH2 "
           + voltageText(ch2.voltage) + ' ' + currentText(ch2.current) + " | output "
           + (outputOn ? "ON" : "OFF") + " | link " + (seriesLink ? "ON" : "OFF");
}

} // namespace mq7410::sim
