// SPDX-License-Identifier: GPL-3.0-or-later
// The step table and the run in SCPI. A row's numbers are taken as the texts of its boxes, as
// written; the queries answer what a run would play.

#include "scpiinterpreter.h"

namespace mq7410 {
namespace {

// SCPI's infinity: a run until Stop.
constexpr const char *Infinite = "9.9E+37";

} // namespace

Result<ScpiInterpreter::Reply> ScpiInterpreter::setStep(const ScpiArguments &arguments)
{
    const Result<int> row = wholeNumber(*arguments[0], 1, StepCount);
    if (!row)
        return row.failure();
    RowTexts texts{arguments[1]->text, {}};
    for (std::size_t i = 0; i < texts.values.size(); ++i)
        texts.values[i] = arguments[2 + i]->text;
    if (const Status taken = m_panel.setRow(*row, texts); !taken)
        return taken.failure();
    return Reply{};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::setFinish(const ScpiArguments &arguments)
{
    RowTexts texts;
    for (std::size_t i = 0; i < texts.values.size(); ++i)
        texts.values[i] = arguments[i]->text;
    if (const Status taken = m_panel.setRow(FinishRow, texts); !taken)
        return taken.failure();
    return Reply{};
}

std::string ScpiInterpreter::rowText(int row) const
{
    const SequenceNumbers numbers = numbersOf(m_panel.tableTexts());
    std::string text;
    for (const SetPoint setPoint : AllSetPoints) {
        text += (text.empty() ? "" : ",")
                + valueText(setPoint, valueOf(numbers.rows.at(std::size_t(row)), setPoint));
    }
    if (row == FinishRow)
        return text;
    return std::to_string(numbers.seconds.at(std::size_t(row - 1))) + ',' + text;
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::step(const ScpiArguments &arguments)
{
    const Result<int> row = wholeNumber(*arguments[0], 1, StepCount);
    if (!row)
        return row.failure();
    return Reply{rowText(*row)};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::finish(const ScpiArguments &)
{
    return Reply{rowText(FinishRow)};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::setCount(const ScpiArguments &arguments)
{
    Result<int> cycles = UntilStop; // INFinity
    if (!arguments[0]->mnemonic)
        cycles = wholeNumber(*arguments[0], UntilStop, MaxRepeat);
    if (!cycles)
        return cycles.failure();
    if (const Status taken = m_panel.setRepeat(*cycles); !taken)
        return taken.failure();
    return Reply{};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::count(const ScpiArguments &)
{
    const int cycles = m_panel.tableTexts().repeat;
    return Reply{cycles == UntilStop ? Infinite : std::to_string(cycles)};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::startRun(const ScpiArguments &)
{
    if (const Status started = m_panel.start(); !started)
        return started.failure();
    return Reply{};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::stopRun(const ScpiArguments &)
{
    if (const Status stopped = m_panel.stop(); !stopped)
        return stopped.failure();
    return Reply{};
}

// IDLE, or RUN,<step>,<seconds left in the step>,<seconds left in the run>.
Result<ScpiInterpreter::Reply> ScpiInterpreter::runState(const ScpiArguments &)
{
    const std::optional<RunProgress> progress = m_panel.progress();
    if (!progress)
        return Reply{"IDLE"};
    return Reply{"RUN," + std::to_string(progress->step) + ','
                 + std::to_string(progress->secondsLeftInStep) + ','
                 + (progress->secondsLeftInRun ? std::to_string(*progress->secondsLeftInRun)
                                               : Infinite)};
}

} // namespace mq7410
