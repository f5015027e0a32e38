// SPDX-License-Identifier: GPL-3.0-or-later
// The command tree, the run of a line, the common commands and the system subtree.

#include "scpiinterpreter.h"

#include "entrycheck.h"
#include "scpiheader.h"

#include <cstdio>

namespace mq7410 {

ScpiInterpreter::ScpiInterpreter(FrontPanel &panel, ScpiIdentity identity)
    : m_panel(panel)
    , m_identity(std::move(identity))
{}

std::span<const ScpiInterpreter::Command> ScpiInterpreter::commands()
{
    using enum ScpiSlot;
    using I = ScpiInterpreter;
    constexpr std::string_view Voltage = "[SOURce]:VOLTage:[LEVel]:[IMMediate]:[AMPLitude]";
    constexpr std::string_view Current = "[SOURce]:CURRent:[LEVel]:[IMMediate]:[AMPLitude]";
    constexpr ScpiSlotSpec channels{Channels, true};
    constexpr ScpiSlotSpec number{Number};
    static const std::vector<Command> table{
            {"*IDN", true, {}, &I::identify},
            {"*RST", false, {}, &I::reset},
            {"*CLS", false, {}, &I::clearStatus},
            {"*OPC", false, {}, &I::operationComplete},
            {"*OPC", true, {}, &I::operationCompleteQuery},
            {"*WAI", false, {}, &I::wait},
            {"*ESR", true, {}, &I::eventStatusQuery},
            {"*STB", true, {}, &I::statusByteQuery},
            {"*ESE", false, {number}, &I::setEventEnable},
            {"*ESE", true, {}, &I::eventEnableQuery},
            {"*SRE", false, {number}, &I::setServiceEnable},
            {"*SRE", true, {}, &I::serviceEnableQuery},
            {"SYSTem:ERRor:[NEXT]", true, {}, &I::nextError},
            {"SYSTem:VERSion", true, {}, &I::version},
            {"INSTrument:[SELect]", false, {{Channel}}, &I::selectChannel},
            {"INSTrument:[SELect]", true, {}, &I::selectedChannel},
            {"INSTrument:NSELect", false, {number}, &I::selectChannelNumber},
            {"INSTrument:NSELect", true, {}, &I::selectedChannelNumber},
            {"INSTrument:COUPle:TRACking", false, {{Tracking}}, &I::setTracking},
            {"INSTrument:COUPle:TRACking", true, {}, &I::tracking},
            {Voltage, false, {{Volts}, channels}, &I::setVoltage},
            {Voltage, true, {{Bound, true}, channels}, &I::voltage},
            {Current, false, {{Amps}, channels}, &I::setCurrent},
            {Current, true, {{Bound, true}, channels}, &I::current},
            {"APPLy", false, {{Channel}, {Volts}, {Amps}}, &I::apply},
            {"APPLy", true, {{Channel, true}}, &I::applied},
            {"OUTPut:[STATe]", false, {{Switch}}, &I::setOutput},
            {"OUTPut:[STATe]", true, {}, &I::output},
            {"SEQuence:STEP", false, {number, number, number, number, number, number}, &I::setStep},
            {"SEQuence:STEP", true, {number}, &I::step},
            {"SEQuence:FINish", false, {number, number, number, number}, &I::setFinish},
            {"SEQuence:FINish", true, {}, &I::finish},
            {"SEQuence:COUNt", false, {{Count}}, &I::setCount},
            {"SEQuence:COUNt", true, {}, &I::count},
            {"SEQuence:STARt", false, {}, &I::startRun},
            {"INITiate:[IMMediate]", false, {}, &I::startRun},
            {"SEQuence:STOP", false, {}, &I::stopRun},
            {"ABORt", false, {}, &I::stopRun},
            {"SEQuence:STATe", true, {}, &I::runState},
    };
    return table;
}

std::optional<std::string> ScpiInterpreter::execute(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const ScpiMessage message = parseScpiLine(line);
    std::vector<std::string> replies;
    bool cut = false;
    for (const ScpiUnit &unit : message.units) {
        cut = isCommandError(run(unit, replies));
        if (cut)
            break;
    }
    if (message.error && !cut) {
        m_outcome = {message.brokenUnit, 0};
        report(*message.error);
        if (m_observer)
            m_observer(m_outcome);
    }
    if (replies.empty())
        return std::nullopt;
    std::string reply = replies.front();
    for (std::size_t i = 1; i < replies.size(); ++i)
        reply += ';' + replies[i];
    return reply;
}

int ScpiInterpreter::run(const ScpiUnit &unit, std::vector<std::string> &replies)
{
    m_outcome = {unit.header, 0};
    const Command *named = nullptr;
    bool otherForm = false; // the header names a command, but not in this form
    for (const Command &command : commands()) {
        if (headerNames(command.pattern, unit.keywords)) {
            otherForm = true;
            if (command.query == unit.query) {
                named = &command;
                break;
            }
        }
    }
    const std::string &first = unit.keywords.front();
    if (keywordNames("MEASure", first) || keywordNames("FETCh", first)) {
        report({-241, "the supply measures nothing"});
    } else if (!named) {
        report(otherForm
                       ? ScpiError{-100, unit.query ? "it has no query form" : "it is a query only"}
                       : ScpiError{-113, unit.header});
    } else {
        const std::variant<ScpiArguments, ScpiError> arguments
                = scpiArguments(named->specs, unit.parameters);
        if (const auto *error = std::get_if<ScpiError>(&arguments)) {
            report(*error);
        } else if (Result<Reply> done = (this->*named->handler)(std::get<ScpiArguments>(arguments));
                   !done) {
            report(scpiErrorOf(done.failure()));
        } else if (done.value()) {
            replies.push_back(*done.value());
        }
    }
    if (m_observer)
        m_observer(m_outcome);
    return m_outcome.error;
}

void ScpiInterpreter::report(const ScpiError &error)
{
    m_status.push(error);
    if (m_outcome.error == 0)
        m_outcome.error = error.code;
}

std::optional<std::string> ScpiInterpreter::execute(const FramedLine &line)
{
    if (!line.overlong)
        return execute(line.text);
    m_outcome = {};
    report({-363, "longer than " + std::to_string(LineFramer::MaxLine) + " bytes"});
    if (m_observer)
        m_observer(m_outcome);
    return std::nullopt;
}

void ScpiInterpreter::setOutcomeObserver(std::function<void(const ScpiOutcome &)> observer)
{
    m_observer = std::move(observer);
}

Result<int> ScpiInterpreter::wholeNumber(const ScpiArgument &argument, int low, int high)
{
    const double rounded = roundHalfToEven(argument.number);
    if (!(rounded >= low && rounded <= high)) {
        return Failure{FailureKind::OutOfRange, argument.text + " is outside " + std::to_string(low)
                                                        + " to " + std::to_string(high)};
    }
    return static_cast<int>(rounded);
}

std::string ScpiInterpreter::valueText(SetPoint setPoint, int value)
{
    char text[16];
    if (isVoltage(setPoint))
        std::snprintf(text, sizeof text, "%d.%02d", value / 100, value % 100);
    else
        std::snprintf(text, sizeof text, "%d.%03d", value / 1000, value % 1000);
    return text;
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::identify(const ScpiArguments &)
{
    return Reply{m_identity.maker + ',' + m_identity.model + ',' + m_identity.serial + ','
                 + m_identity.version};
}

// As the supply is after power-up: no run, output off, every set-point 0, channels apart.
Result<ScpiInterpreter::Reply> ScpiInterpreter::reset(const ScpiArguments &)
{
    m_channel = 1;
    Status done = m_panel.stop();
    if (done)
        done = m_panel.setOutput(false);
    for (const SetPoint setPoint : AllSetPoints) {
        if (done)
            done = m_panel.setSetPoint(setPoint, 0);
    }
    if (done)
        done = m_panel.setSeriesLink(false);
    if (!done)
        return done.failure();
    return Reply{};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::clearStatus(const ScpiArguments &)
{
    m_status.clear();
    return Reply{};
}

// Every frame goes out before the command returns, except one the line still holds.
void ScpiInterpreter::finishWaiting()
{
    if (const Status finished = m_panel.finishWaiting(); !finished)
        report({-300, finished.failure().text});
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::operationComplete(const ScpiArguments &)
{
    finishWaiting();
    m_status.setOperationComplete();
    return Reply{};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::operationCompleteQuery(const ScpiArguments &)
{
    finishWaiting();
    return Reply{"1"};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::wait(const ScpiArguments &)
{
    finishWaiting();
    return Reply{};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::eventStatusQuery(const ScpiArguments &)
{
    return Reply{std::to_string(m_status.takeEventStatus())};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::statusByteQuery(const ScpiArguments &)
{
    return Reply{std::to_string(m_status.statusByte())};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::setEventEnable(const ScpiArguments &arguments)
{
    const Result<int> mask = wholeNumber(*arguments[0], 0, 255);
    if (!mask)
        return mask.failure();
    m_status.setEventEnable(*mask);
    return Reply{};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::eventEnableQuery(const ScpiArguments &)
{
    return Reply{std::to_string(m_status.eventEnable())};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::setServiceEnable(const ScpiArguments &arguments)
{
    const Result<int> mask = wholeNumber(*arguments[0], 0, 255);
    if (!mask)
        return mask.failure();
    m_status.setServiceEnable(*mask);
    return Reply{};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::serviceEnableQuery(const ScpiArguments &)
{
    return Reply{std::to_string(m_status.serviceEnable())};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::nextError(const ScpiArguments &)
{
    return Reply{m_status.takeNext()};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::version(const ScpiArguments &)
{
    return Reply{"1999.0"};
}

} // namespace mq7410
