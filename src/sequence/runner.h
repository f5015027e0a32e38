#pragma once

// Start and the one-second tick of the auto sequence: plays steps 1 to 9 of the StepTable and
// ends with the Finish row.

#include "app/panelstate.h"

#include <cstdint>
#include <string>

namespace mq7410 {

// What the runner touches in the window. Steps and Time boxes are numbered 1 to 9.
class RunnerPanel
{
public:
    virtual ~RunnerPanel() = default;
    virtual std::string timeText(int step) const = 0;
    virtual void setTimeText(int step, const std::string &text) = 0;
    virtual void setStepColor(int step, std::uint32_t color) = 0; // Colors::RunningStep / IdleStep
    // Timer1 enabled and the auto panel (frame and Start) disabled while true; the reverse when
    // false.
    virtual void setRunning(bool running) = 0;
    // Loads StepTable row `row` (0 = Finish, 1..9 = steps) into CH1VoltSet, CH1CurrSet,
    // CH2VoltSet, CH2CurrSet, in that order, and sends the all-set-points frame. False when the
    // write failed.
    virtual bool sendRow(int row) = 0;
};

// The click of Start: step 1 turns red and its row is sent at once, whatever its time.
// Ignored while a run is active.
void startRun(PanelState &state, RunnerPanel &panel);

// One tick of Timer1: counts the running step down in its Time box, or, when its time is
// used up, moves on and sends the next row. A step of N seconds lasts N + 1 ticks.
void tickRun(PanelState &state, RunnerPanel &panel);

// Ends the active run: the running step's label goes back to normal, StepsDone 0, the timer
// off and the panel usable again, SeqRunning 0. Does nothing when no run is active, so the
// window may call it on a failed write even from inside sendRow.
void endRun(PanelState &state, RunnerPanel &panel);

} // namespace mq7410
