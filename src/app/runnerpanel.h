#pragma once

// What the sequence runner touches in the window, on the real controls: the Time boxes, the
// step labels, Timer1 with the auto panel's enabled state, and the frame of a step's row.

#include "panelstate.h"
#include "sequence/runner.h"
#include "sequence/tickschedule.h"
#include "sequencepanel.h"

#include <functional>

namespace mq7410 {

class WindowRunnerPanel : public RunnerPanel
{
public:
    // `sendAllSetPoints` writes the frame of the four set-points and says whether it went out.
    WindowRunnerPanel(SequencePanel &panel, PanelState &state,
                      std::function<bool()> sendAllSetPoints);

    std::string timeText(int step) const override;
    void setTimeText(int step, const std::string &text) override;
    void setStepColor(int step, std::uint32_t color) override;
    void setRunning(bool running) override;
    bool sendRow(int row) override;

    // Ticks due by now that the timer has not yet handed out; arms the timer for the next.
    int takeDueTicks();
    void armForNextTick();

private:
    SequencePanel &m_panel;
    PanelState &m_state;
    std::function<bool()> m_sendAllSetPoints;
    TickSchedule m_ticks;
};

} // namespace mq7410
