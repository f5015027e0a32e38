#include "runner.h"

#include "common/colors.h"
#include "common/textnumber.h"
#include "steptime.h"

namespace mq7410 {
namespace {

constexpr int FirstStep = 1;
constexpr int LastStep = 9;
constexpr int FinishRow = 0;

// A failed write ends the run; the window may already have ended it inside sendRow, in which
// case endRun finds nothing left to do.
void sendOrEnd(PanelState &state, RunnerPanel &panel, int row)
{
    if (!panel.sendRow(row))
        endRun(state, panel);
}

// Step `ended` has counted down to 0: clear its box and move on to the next step, or end.
void advance(PanelState &state, RunnerPanel &panel, int ended)
{
    panel.setTimeText(ended, NumberToText(0.0));
    if (ended == LastStep) {
        endRun(state, panel); // resets Step9's label
        panel.sendRow(FinishRow);
        return;
    }

    const int next = ended + 1;
    state.StepTimeLeft = stepSeconds(panel.timeText(next));
    if (state.StepTimeLeft == 0.0) {
        // The next step's row is still sent, as the last frame, and stays in force.
        endRun(state, panel); // resets the ended step's label; the next one never turns red
        panel.sendRow(next);
        return;
    }
    panel.setStepColor(ended, Colors::IdleStep);
    state.StepsDone = static_cast<std::int16_t>(ended);
    panel.setStepColor(next, Colors::RunningStep);
    sendOrEnd(state, panel, next);
}

} // namespace

void startRun(PanelState &state, RunnerPanel &panel)
{
    if (state.SeqRunning != Off)
        return; // two runs never overlap
    panel.setRunning(true);
    state.SeqRunning = On;
    state.StepsDone = 0;
    panel.setStepColor(FirstStep, Colors::RunningStep);
    state.StepTimeLeft = stepSeconds(panel.timeText(FirstStep));
    sendOrEnd(state, panel, FirstStep);
}

void tickRun(PanelState &state, RunnerPanel &panel)
{
    if (state.SeqRunning == Off)
        return;
    const int running = state.StepsDone + 1;
    if (state.StepTimeLeft != 0.0) {
        // The box shows the time before this tick's second is taken off.
        panel.setTimeText(running, NumberToText(state.StepTimeLeft));
        state.StepTimeLeft -= 1.0;
        return;
    }
    advance(state, panel, running);
}

void endRun(PanelState &state, RunnerPanel &panel)
{
    if (state.SeqRunning == Off)
        return;
    // While a run is active, StepsDone + 1 is the running step and its label is the red one.
    const int running = state.StepsDone + 1;
    if (running >= FirstStep && running <= LastStep)
        panel.setStepColor(running, Colors::IdleStep);
    state.StepsDone = 0;
    panel.setRunning(false);
    state.SeqRunning = Off;
}

} // namespace mq7410
