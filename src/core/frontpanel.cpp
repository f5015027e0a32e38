#include "frontpanel.h"

#include "entrycheck.h"
#include "frame.h"
#include "setpointtext.h"
#include "textnumber.h"

#include <algorithm>

namespace mq7410 {
namespace {

std::string stepContext(int row)
{
    return row == FinishRow ? "finish: " : "step " + std::to_string(row) + ": ";
}

} // namespace

FrontPanel::FrontPanel(FrameLink &link, const Clock &clock)
    : m_link(link)
    , m_clock(clock)
{}

PanelView FrontPanel::view() const
{
    PanelView view;
    view.panel = m_panel;
    view.displays = m_manual.displays;
    view.editTarget = m_manual.editTarget;
    view.outputCaption = m_manual.outputOn ? "Output /On" : "Output /Off";
    view.serialCaption = m_manual.seriesLink ? "Serial /On" : "Serial /Off";
    view.linkBanner = m_manual.seriesLink;
    view.table = m_table;
    if (m_run) {
        view.running = true;
        view.runningStep = m_run->plan.stepAt(m_run->tick)->step;
        for (int step = 1; step <= StepCount; ++step) {
            if (auto countdown = m_run->plan.countdownText(step, m_run->tick))
                view.table.time(step) = std::move(*countdown);
        }
    }
    return view;
}

std::optional<RunProgress> FrontPanel::progress() const
{
    if (!m_run)
        return std::nullopt;
    const RunPlan &plan = m_run->plan;
    const StepSpan *span = plan.stepAt(m_run->tick);
    return RunProgress{span->step,
                       static_cast<int>(plan.steps.size()),
                       m_run->tick,
                       span->endTick - m_run->tick,
                       plan.endTick() - m_run->tick,
                       m_run->schedule.behindNs()};
}

std::optional<std::int64_t> FrontPanel::nsUntilNextTick() const
{
    if (!m_run)
        return std::nullopt;
    return std::max<std::int64_t>(m_run->schedule.dueNs(m_run->tick + 1) - m_clock.nowNs(), 0);
}

void FrontPanel::setFrameObserver(std::function<void(const FrameRecord &)> observer)
{
    m_observer = std::move(observer);
}

void FrontPanel::showAutoPanel()
{
    m_panel = PanelShown::Auto;
}

void FrontPanel::showManualPanel()
{
    if (!m_run)
        m_panel = PanelShown::Manual;
}

void FrontPanel::select(SetPoint setPoint)
{
    if (!manualShown())
        return;
    m_manual.editTarget = setPoint;
    // Typing starts again from what the supply holds, and every display shows what it holds.
    valueOf(m_manual.entered, setPoint) = valueOf(m_manual.held, setPoint);
    for (const SetPoint each : AllSetPoints)
        m_manual.show(each, valueOf(m_manual.held, each));
}

void FrontPanel::pressDigit(int digit)
{
    if (!manualShown() || digit < 0 || digit > 9)
        return;
    const SetPoint target = m_manual.editTarget;
    std::int16_t &value = valueOf(m_manual.entered, target);
    // A digit that would pass the limit starts a new value. A negative value cannot come from
    // entry; should one turn up it counts as 0.
    const int appended = std::max<int>(value, 0) * 10 + digit;
    value = static_cast<std::int16_t>(appended > limitOf(target) ? digit : appended);
    m_manual.show(target, value);

    if (!m_manual.seriesLink)
        return;
    // Channel 2 follows channel 1 in the quantity just typed, whichever channel was typed on.
    const SetPoint ch1 = isVoltage(target) ? SetPoint::Ch1Voltage : SetPoint::Ch1Current;
    const SetPoint ch2 = onChannel2(target);
    valueOf(m_manual.entered, ch2) = valueOf(m_manual.entered, ch1);
    m_manual.displays[std::size_t(indexOf(ch2))] = m_manual.displays[std::size_t(indexOf(ch1))];
}

Outcome FrontPanel::enter()
{
    if (!manualShown())
        return {};
    const SetPoint target = m_manual.editTarget;
    const Command command = commandFor(target);
    ManualState next = m_manual;
    valueOf(next.sent, target) = valueOf(next.entered, target);
    next.sentFrame(command);
    return transmit(encodeFrame(command, next.entered), next);
}

Outcome FrontPanel::toggleOutput()
{
    if (!manualShown())
        return {};
    ManualState next = m_manual;
    next.outputOn = !m_manual.outputOn;
    return transmit(encodeOutputFrame(next.outputOn), next);
}

Outcome FrontPanel::toggleSeriesLink()
{
    if (!manualShown())
        return {};
    using enum SetPoint;
    ManualState next = m_manual;
    next.seriesLink = !m_manual.seriesLink;
    // On, channel 2 takes channel 1's values; off, it goes back to what Enter last sent for it.
    const SetPointValues &from = next.seriesLink ? next.entered : next.sent;
    valueOf(next.entered, Ch2Voltage) = valueOf(from, next.seriesLink ? Ch1Voltage : Ch2Voltage);
    valueOf(next.entered, Ch2Current) = valueOf(from, next.seriesLink ? Ch1Current : Ch2Current);
    const Command command = next.seriesLink ? Command::LinkOn : Command::LinkOff;
    next.sentFrame(command);
    return transmit(encodeFrame(command, next.entered), next);
}

void FrontPanel::ManualState::sentFrame(Command command)
{
    for (const SetPoint setPoint : fieldsOf(command)) {
        valueOf(held, setPoint) = valueOf(entered, setPoint);
        show(setPoint, valueOf(held, setPoint));
    }
}

void FrontPanel::ManualState::show(SetPoint setPoint, int value)
{
    displays[std::size_t(indexOf(setPoint))] = displayText(setPoint, value);
}

void FrontPanel::setTimeText(int step, const std::string &text)
{
    if (!m_run)
        m_table.time(step) = text;
}

void FrontPanel::setValueText(int row, SetPoint setPoint, const std::string &text)
{
    if (!m_run)
        m_table.value(row, setPoint) = text;
}

void FrontPanel::completeEntry(int row, SetPoint setPoint)
{
    std::string &text = m_table.value(row, setPoint);
    if (!m_run && !tableCell(text, setPoint))
        text = numberToText(0);
}

void FrontPanel::completeEntries()
{
    for (int row = 0; row < RowCount; ++row) {
        for (const SetPoint setPoint : AllSetPoints)
            completeEntry(row, setPoint);
    }
}

bool FrontPanel::loadTable(const SequenceTexts &texts)
{
    if (m_run)
        return false;
    m_table = texts;
    m_savedTable = texts; // a text the boxes turn into " 0" differs from the file now
    completeEntries();
    m_panel = PanelShown::Auto;
    return true;
}

Outcome FrontPanel::start()
{
    if (m_run || m_panel != PanelShown::Auto)
        return {};
    completeEntries(); // the final text of every box, focused or not
    const SequenceNumbers numbers = numbersOf(m_table);
    m_run = Run{};
    m_run->plan = planRun(numbers.seconds);
    m_run->rows = numbers.rows;
    m_run->schedule.start(m_clock.nowNs());
    return sendRow(1);
}

Outcome FrontPanel::tick()
{
    Outcome outcome;
    const std::int64_t now = m_clock.nowNs();
    while (m_run && m_run->schedule.isDue(m_run->tick + 1, now)) {
        const int tick = ++m_run->tick;
        const RunPlan &plan = m_run->plan;
        if (tick == plan.endTick()) {
            outcome = sendRow(plan.lastRow);
            endRun();
            break;
        }
        const StepSpan *span = plan.stepAt(tick);
        if (span->startTick != tick)
            continue; // a countdown tick: it may catch up with the clock
        outcome = sendRow(span->step);
        if (!m_run)
            break;
        // A step must not be cut short by the lateness of the frame that starts it.
        const std::int64_t sentNs = m_clock.nowNs();
        if (sentNs - m_run->schedule.dueNs(tick) > LateFrameNs)
            m_run->schedule.moveTo(tick, sentNs);
    }
    return outcome;
}

Outcome FrontPanel::stop()
{
    if (!m_run)
        return {};
    Outcome outcome = sendRow(FinishRow);
    endRun();
    return outcome;
}

Outcome FrontPanel::sendRow(int row)
{
    const SetPointValues &values = m_run->rows.at(std::size_t(row));
    Outcome outcome = write(encodeFrame(Command::AllSetPoints, values), stepContext(row));
    if (outcome.refused()) {
        endRun();
        return outcome;
    }
    // What the run sent is what the supply holds and what typing continues from; the displays
    // show it when the run ends.
    m_manual.entered = values;
    m_manual.held = values;
    m_run->anyFrameSent = true;
    return outcome;
}

void FrontPanel::endRun()
{
    if (!m_run)
        return;
    if (m_run->anyFrameSent)
        m_manual.sentFrame(Command::AllSetPoints);
    m_run.reset();
}

Outcome FrontPanel::write(const std::string &frame, const std::string &context)
{
    const WriteResult result = m_link.write(frame);
    FrameRecord record{frame, context + describeFrame(*parseFrame(frame)), result.written,
                       result.reason};
    if (m_observer)
        m_observer(record);
    return {std::move(record)};
}

Outcome FrontPanel::transmit(const std::string &frame, const ManualState &next)
{
    Outcome outcome = write(frame, {});
    if (!outcome.refused())
        m_manual = next;
    return outcome;
}

} // namespace mq7410
