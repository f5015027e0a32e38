// SPDX-License-Identifier: GPL-3.0-or-later
// The auto panel: the step table, its checks, and the run tick by tick.

#include "entrycheck.h"
#include "frame.h"
#include "frontpanel.h"
#include "setpointtext.h"
#include "textnumber.h"

#include <algorithm>

namespace mq7410 {

Status FrontPanel::setTimeText(int step, const std::string &text)
{
    Change change(*this);
    if (Status idle = refuseDuringRun(); !idle)
        return idle;
    if (Status fits = checkBoxText(text); !fits)
        return fits;
    m_table.time(step) = text;
    return {};
}

Status FrontPanel::setValueText(int row, SetPoint setPoint, const std::string &text)
{
    Change change(*this);
    if (Status idle = refuseDuringRun(); !idle)
        return idle;
    if (Status fits = checkBoxText(text); !fits)
        return fits;
    m_table.value(row, setPoint) = text;
    return {};
}

bool FrontPanel::completeEntry(int row, SetPoint setPoint)
{
    Change change(*this);
    std::string &text = m_table.value(row, setPoint);
    if (m_run || tableCell(text, setPoint, valueOf(m_limits, setPoint)))
        return false;
    text = numberToText(0);
    return true;
}

int FrontPanel::completeEntries()
{
    Change change(*this);
    int zeroed = 0;
    for (int row = 0; row < RowCount; ++row) {
        for (const SetPoint setPoint : AllSetPoints)
            zeroed += int(completeEntry(row, setPoint));
    }
    return zeroed;
}

Status FrontPanel::setRow(int row, const RowTexts &texts)
{
    Change change(*this);
    if (Status idle = refuseDuringRun(); !idle)
        return idle;
    const std::string where = rowName(row) + ": ";
    if (row == FinishRow ? !texts.time.empty() : !checkBoxText(texts.time))
        return Failure{FailureKind::BadValue, where + "the time is not one a Time box takes."};
    for (const SetPoint setPoint : AllSetPoints) {
        const std::string &text = texts.values.at(std::size_t(indexOf(setPoint)));
        std::string name = where;
        name.append(nameOf(setPoint)).append(1, ' ').append(text);
        if (!checkBoxText(text))
            return Failure{FailureKind::BadValue, name + " is not a text a box takes."};
        if (!tableCell(text, setPoint)) {
            return Failure{FailureKind::OutOfRange,
                           name + " is outside 0 to " + valueWords(setPoint, limitOf(setPoint))
                                   + '.'};
        }
        if (!tableCell(text, setPoint, valueOf(m_limits, setPoint))) {
            return Failure{FailureKind::OutOfRange,
                           name + " is above the limit of "
                                   + valueWords(setPoint, valueOf(m_limits, setPoint)) + '.'};
        }
    }
    if (row != FinishRow)
        m_table.time(row) = texts.time;
    for (const SetPoint setPoint : AllSetPoints)
        m_table.value(row, setPoint) = texts.values.at(std::size_t(indexOf(setPoint)));
    return {};
}

Status FrontPanel::setRepeat(int count)
{
    Change change(*this);
    if (Status idle = refuseDuringRun(); !idle)
        return idle;
    if (!isRepeatCount(count)) {
        return Failure{FailureKind::OutOfRange, "A repeat count is 1 to "
                                                        + std::to_string(MaxRepeat)
                                                        + ", or 0 for until Stop."};
    }
    m_table.repeat = count;
    return {};
}

Result<int> FrontPanel::loadTable(const SequenceTexts &texts)
{
    Change change(*this);
    if (Status idle = refuseDuringRun(); !idle)
        return idle.failure();
    m_table = texts;
    m_savedTable = texts; // a text the boxes turn into " 0" differs from the file now
    const int zeroed = completeEntries();
    m_panel = PanelShown::Auto;
    return zeroed;
}

Status FrontPanel::start()
{
    Change change(*this);
    if (m_run)
        return refuseDuringRun();
    // Every cell against the limits before anything is sent. A box still being typed in counts
    // with its final text.
    for (int row : {1, 2, 3, 4, 5, 6, 7, 8, 9, FinishRow}) {
        for (const SetPoint setPoint : AllSetPoints) {
            const std::optional<std::int16_t> cell
                    = tableCell(m_table.value(row, setPoint), setPoint);
            const int limit = valueOf(m_limits, setPoint);
            if (cell && *cell > limit) {
                return Failure{FailureKind::OutOfRange, rowName(row) + ": " + nameOf(setPoint) + ' '
                                                                + valueWords(setPoint, *cell)
                                                                + " is above the limit of "
                                                                + valueWords(setPoint, limit)
                                                                + ". The run was not started."};
            }
        }
    }
    completeEntries();
    const SequenceNumbers numbers = numbersOf(m_table);
    // A run started by a script shows the table too: the manual panel is never at hand during
    // a run.
    m_panel = PanelShown::Auto;
    m_run = Run{};
    m_run->plan = planRun(numbers.seconds, numbers.cycles);
    m_run->rows = numbers.rows;
    m_run->schedule.start(m_clock.nowNs());
    return sendRow(1);
}

void FrontPanel::tick()
{
    Change change(*this);
    const std::int64_t now = m_clock.nowNs();
    while (m_run && m_run->schedule.isDue(m_run->tick + 1, now)) {
        const Tick tick = ++m_run->tick;
        const RunPlan &plan = m_run->plan;
        if (tick == plan.endTick()) {
            if (sendRow(plan.lastRow))
                endRun(RunEnd::Completed);
            break;
        }
        const PlanPosition position = *plan.at(tick);
        if (position.tickInCycle != position.span->startTick)
            continue; // a countdown tick: it may catch up with the clock
        if (!sendRow(position.span->step))
            break;
        // A step must not be cut short by the lateness of the frame that starts it.
        const std::int64_t sentNs = m_clock.nowNs();
        if (sentNs - m_run->schedule.dueNs(tick) > LateFrameNs)
            m_run->schedule.moveTo(tick, sentNs);
    }
}

Status FrontPanel::stop()
{
    Change change(*this);
    if (!m_run)
        return {};
    Status stopped = sendRow(FinishRow);
    if (stopped)
        endRun(RunEnd::Stopped);
    return stopped;
}

std::string FrontPanel::rowContext(int row) const
{
    std::string cycle;
    if (m_run->plan.cycles != 1) {
        const int number = m_run->plan.at(m_run->tick) ? m_run->plan.at(m_run->tick)->cycle
                                                       : m_run->plan.cycles;
        cycle = "cycle " + std::to_string(number) + ", ";
    }
    return cycle + (row == FinishRow ? "finish: " : "step " + std::to_string(row) + ": ");
}

Status FrontPanel::sendRow(int row)
{
    const SetPointValues values = m_run->rows.at(std::size_t(row));
    // What the run sent is what the supply holds and what typing continues from.
    Status sent
            = transmit(encodeFrame(Command::AllSetPoints, values), rowContext(row), [this, values] {
                  m_manual.entered = values;
                  m_manual.typing.reset();
                  for (const SetPoint setPoint : AllSetPoints)
                      m_manual.hold(setPoint, valueOf(values, setPoint));
              });
    if (!sent)
        endRun(RunEnd::LineFailed, m_lastRefusal);
    return sent;
}

void FrontPanel::endRun(RunEnd how, const std::string &reason)
{
    if (!m_run)
        return;
    const RunPlan &plan = m_run->plan;
    RunEnding ending{how, 1, reason};
    ending.cycles = plan.at(m_run->tick) ? plan.at(m_run->tick)->cycle : plan.cycles;
    m_run.reset();
    if (m_observer)
        m_observer->onRunEnded(ending);
}

std::optional<RunProgress> FrontPanel::progress() const
{
    if (!m_run)
        return std::nullopt;
    const RunPlan &plan = m_run->plan;
    const PlanPosition position = *plan.at(m_run->tick);
    RunProgress progress;
    progress.cycle = position.cycle;
    progress.cycles = plan.cycles;
    progress.step = position.span->step;
    progress.steps = static_cast<int>(plan.steps.size());
    progress.tick = m_run->tick;
    progress.secondsLeftInStep = position.span->endTick - position.tickInCycle;
    if (const std::optional<Tick> end = plan.endTick())
        progress.secondsLeftInRun = *end - m_run->tick;
    progress.behindNs = m_run->schedule.behindNs();
    return progress;
}

std::optional<std::int64_t> FrontPanel::nsUntilNextTick() const
{
    if (!m_run)
        return std::nullopt;
    return std::max<std::int64_t>(m_run->schedule.dueNs(m_run->tick + 1) - m_clock.nowNs(), 0);
}

} // namespace mq7410
