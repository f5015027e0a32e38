// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The SCPI language of one remote client, on the panel every client shares. Each client has
// its own error queue, status registers and selected channel; the panel decides, as it does
// for the keys: a set-point sent here is sent as Enter sends it, and is refused for the same
// reasons. A command in error sends nothing and changes nothing.

#include "frontpanel.h"
#include "lineframer.h"
#include "scpiarguments.h"
#include "scpierrors.h"
#include "scpiparser.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace mq7410 {

// What *IDN? answers, field by field.
struct ScpiIdentity
{
    std::string maker;
    std::string model;
    std::string serial;
    std::string version;
};

// How one command of a line ended.
struct ScpiOutcome
{
    std::string header; // as written; for a unit the grammar refused, the unit up to the fault
    int error = 0;      // the first error it queued; 0, as "No error" is, when it queued none
};

class ScpiInterpreter
{
public:
    ScpiInterpreter(FrontPanel &panel, ScpiIdentity identity);

    // One line without its LF (a trailing CR is dropped). The reply line: the answers of its
    // queries joined by ';', as IEEE 488.2 joins them, without the LF the front end adds;
    // nothing when no query answered. After a command error the rest of the line is dropped.
    std::optional<std::string> execute(std::string_view line);
    // A line as the framer cut it: one over the limit is refused whole with error -363.
    std::optional<std::string> execute(const FramedLine &line);
    // Told of every command as it ends, for a status line or a check that a command in error
    // sent nothing.
    void setOutcomeObserver(std::function<void(const ScpiOutcome &)> observer);

    const ScpiStatus &status() const { return m_status; }
    int channel() const { return m_channel; }

private:
    using Reply = std::optional<std::string>;
    using Handler = Result<Reply> (ScpiInterpreter::*)(const ScpiArguments &);
    struct Command
    {
        std::string_view pattern;
        bool query = false;
        std::vector<ScpiSlotSpec> specs;
        Handler handler = nullptr;
    };
    static std::span<const Command> commands();

    // A whole number from a numeric argument, rounded half to even as IEEE 488.2 rounds, or
    // refused (OutOfRange) outside low to high.
    static Result<int> wholeNumber(const ScpiArgument &argument, int low, int high);
    // "12.34" for volts, "1.500" for amperes: the form of the replies.
    static std::string valueText(SetPoint setPoint, int value);

    // Runs one unit; the code of its first error, 0 when none.
    int run(const ScpiUnit &unit, std::vector<std::string> &replies);
    void report(const ScpiError &error);

    // --- the common commands and the system subtree (scpiinterpreter.cpp)
    Result<Reply> identify(const ScpiArguments &);
    Result<Reply> reset(const ScpiArguments &);
    Result<Reply> clearStatus(const ScpiArguments &);
    Result<Reply> operationComplete(const ScpiArguments &);
    Result<Reply> operationCompleteQuery(const ScpiArguments &);
    Result<Reply> wait(const ScpiArguments &);
    Result<Reply> eventStatusQuery(const ScpiArguments &);
    Result<Reply> statusByteQuery(const ScpiArguments &);
    Result<Reply> setEventEnable(const ScpiArguments &arguments);
    Result<Reply> eventEnableQuery(const ScpiArguments &);
    Result<Reply> setServiceEnable(const ScpiArguments &arguments);
    Result<Reply> serviceEnableQuery(const ScpiArguments &);
    Result<Reply> nextError(const ScpiArguments &);
    Result<Reply> version(const ScpiArguments &);
    // Waits for a frame still leaving the line; a Failure queues a device-specific error.
    void finishWaiting();

    // --- the manual panel's values and switches (scpisource.cpp)
    Result<Reply> selectChannel(const ScpiArguments &arguments);
    Result<Reply> selectedChannel(const ScpiArguments &);
    Result<Reply> selectChannelNumber(const ScpiArguments &arguments);
    Result<Reply> selectedChannelNumber(const ScpiArguments &);
    Result<Reply> setVoltage(const ScpiArguments &arguments);
    Result<Reply> voltage(const ScpiArguments &arguments);
    Result<Reply> setCurrent(const ScpiArguments &arguments);
    Result<Reply> current(const ScpiArguments &arguments);
    Result<Reply> apply(const ScpiArguments &arguments);
    Result<Reply> applied(const ScpiArguments &arguments);
    Result<Reply> setOutput(const ScpiArguments &arguments);
    Result<Reply> output(const ScpiArguments &);
    Result<Reply> setTracking(const ScpiArguments &arguments);
    Result<Reply> tracking(const ScpiArguments &);
    Result<Reply> setSetPoint(bool voltage, const ScpiArguments &arguments);
    Result<Reply> setPointQuery(bool voltage, const ScpiArguments &arguments) const;
    // The channel a channel list names, or the selected one when there is none.
    Result<int> addressedChannel(const std::optional<ScpiArgument> &channels) const;
    // The set-point's value in steps of 10 mV or 1 mA: within 0 and its limit, or refused.
    Result<int> valueFor(SetPoint setPoint, const ScpiArgument &argument) const;

    // --- the step table and the run (scpisequence.cpp)
    Result<Reply> setStep(const ScpiArguments &arguments);
    Result<Reply> step(const ScpiArguments &arguments);
    Result<Reply> setFinish(const ScpiArguments &arguments);
    Result<Reply> finish(const ScpiArguments &);
    Result<Reply> setCount(const ScpiArguments &arguments);
    Result<Reply> count(const ScpiArguments &);
    Result<Reply> startRun(const ScpiArguments &);
    Result<Reply> stopRun(const ScpiArguments &);
    Result<Reply> runState(const ScpiArguments &);
    // "5,12.34,1.500,0.00,0.000": a step's whole seconds and values as a run plays them; the
    // Finish row without the seconds.
    std::string rowText(int row) const;

    FrontPanel &m_panel;
    ScpiIdentity m_identity;
    ScpiStatus m_status;
    int m_channel = 1;
    ScpiOutcome m_outcome; // of the command running
    std::function<void(const ScpiOutcome &)> m_observer;
};

} // namespace mq7410
