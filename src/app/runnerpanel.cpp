#include "runnerpanel.h"

#include "appearance.h"

#include <chrono>

namespace mq7410 {
namespace {

std::int64_t monotonicNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

WindowRunnerPanel::WindowRunnerPanel(SequencePanel &panel, PanelState &state,
                                     std::function<bool()> sendAllSetPoints)
    : m_panel(panel)
    , m_state(state)
    , m_sendAllSetPoints(std::move(sendAllSetPoints))
{}

std::string WindowRunnerPanel::timeText(int step) const
{
    return m_panel.timeBoxes.at(step - 1)->text().toStdString();
}

void WindowRunnerPanel::setTimeText(int step, const std::string &text)
{
    m_panel.timeBoxes.at(step - 1)->setText(QString::fromStdString(text));
}

void WindowRunnerPanel::setStepColor(int step, std::uint32_t color)
{
    setBackColor(m_panel.stepLabels.at(step - 1), color);
}

void WindowRunnerPanel::setRunning(bool running)
{
    if (running) {
        m_ticks.start(monotonicNs());
        armForNextTick();
    } else {
        m_panel.Timer1->stop();
    }
    m_panel.Sequence->setEnabled(!running);
    m_panel.Start->setEnabled(!running);
}

bool WindowRunnerPanel::sendRow(int row)
{
    const StepRow &values = m_state.StepTable.at(row);
    m_state.CH1VoltSet = values[ColCH1Volt];
    m_state.CH1CurrSet = values[ColCH1Curr];
    m_state.CH2VoltSet = values[ColCH2Volt];
    m_state.CH2CurrSet = values[ColCH2Curr];
    return m_sendAllSetPoints();
}

int WindowRunnerPanel::takeDueTicks()
{
    return m_ticks.takeDueTicks(monotonicNs());
}

void WindowRunnerPanel::armForNextTick()
{
    // Rounded up, so the timer never wakes before the tick is due.
    constexpr std::int64_t NsPerMs = 1'000'000;
    const std::int64_t ns = m_ticks.nsUntilNextTick(monotonicNs());
    m_panel.Timer1->start(static_cast<int>((ns + NsPerMs - 1) / NsPerMs));
}

} // namespace mq7410
