#pragma once

// The frames the supply understands, built from the panel state. A frame is a two-character
// command code and four-character fields, with no delimiter, terminator or checksum:
//   87/88/89/8A + field          one set-point (CH1 current, CH1 voltage, CH2 current, CH2 voltage)
//   8C + F0F0 or 0F0F            output on or off
//   8D + 4 fields                CH1 voltage, CH1 current, CH2 voltage, CH2 current
//   8E/8F + CH2 current + CH2 voltage   series link off / on

#include "app/displays.h"
#include "app/panelstate.h"

#include <cstdint>
#include <string>

namespace mq7410 {

// What each selector sends; 1 to 4 are also the set-point codes of EditTarget.
enum TransferSelector : std::int16_t {
    SendCH1Current = 1,
    SendCH1Voltage = 2,
    SendCH2Current = 3,
    SendCH2Voltage = 4,
    SendAllSetPoints = 5,
    SendOutputState = 6,
    SendLinkOff = 7,
    SendLinkOn = 8,
};

// Builds the frame for `selector` and does what goes with it: 1 to 4 record the value as last
// sent; 7 puts channel 2 back to what was last sent for it and restores its captions; 8 saves
// channel 2's captions and copies channel 1 onto it. Any other selector builds nothing and
// changes nothing (empty frame).
std::string prepareTransfer(std::int16_t selector, PanelState &state, Displays &displays);

} // namespace mq7410
