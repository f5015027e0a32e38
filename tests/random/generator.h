#pragma once

// Draws the next event from what the panel shows now, so that most events can act: clicks on
// the visible panel, typing into its boxes, ticks while a run is active. Some events still aim
// at hidden or disabled controls, which must do nothing.

#include "event.h"
#include "hostiletext.h"

namespace mq7410::model {
class PanelModel;
}

namespace mq7410::randomtest {

// `allowEnd`: the event may end the program (File > Exit, or closing the window).
Event nextEvent(Rng &rng, const model::PanelModel &panel, bool allowEnd);

} // namespace mq7410::randomtest
