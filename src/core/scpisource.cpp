// SPDX-License-Identifier: GPL-3.0-or-later
// The manual panel's values and switches in SCPI: the channel selection, the set-points, the
// output and the series link.

#include "entrycheck.h"
#include "scpiinterpreter.h"
#include "setpointtext.h"

#include <cstdio>

namespace mq7410 {
namespace {

// SCPI's not-a-number: the supply may hold anything since the reconnect.
constexpr const char *UnknownValue = "9.91E+37";

SetPoint setPointOf(int channel, bool voltage)
{
    if (channel == 1)
        return voltage ? SetPoint::Ch1Voltage : SetPoint::Ch1Current;
    return voltage ? SetPoint::Ch2Voltage : SetPoint::Ch2Current;
}

int channelNamed(const ScpiArgument &argument)
{
    return argument.text == "CH1" ? 1 : 2;
}

} // namespace

Result<int> ScpiInterpreter::addressedChannel(const std::optional<ScpiArgument> &channels) const
{
    if (!channels)
        return m_channel;
    std::string digits; // blanks and other white space left out
    for (const char c : channels->text) {
        if (static_cast<unsigned char>(c) > 0x20)
            digits += c;
    }
    if (digits == "1" || digits == "2")
        return digits[0] - '0';
    return Failure{FailureKind::BadValue, "(@" + channels->text + ") is not (@1) or (@2)"};
}

Result<int> ScpiInterpreter::valueFor(SetPoint setPoint, const ScpiArgument &argument) const
{
    const int limit = m_panel.effectiveLimit(setPoint);
    if (argument.mnemonic)
        return argument.text == "MAX" ? limit : 0;
    const double steps = roundHalfToEven(argument.number * stepsPerUnit(setPoint));
    if (!(argument.number >= 0.0) || !(steps <= limit)) {
        char written[32];
        std::snprintf(written, sizeof written, "%g %s", argument.number,
                      isVoltage(setPoint) ? "V" : "A");
        return Failure{FailureKind::OutOfRange, std::string(nameOf(setPoint)) + ' ' + written
                                                        + " is outside 0 to "
                                                        + valueWords(setPoint, limit)};
    }
    return static_cast<int>(steps);
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::selectChannel(const ScpiArguments &arguments)
{
    m_channel = channelNamed(*arguments[0]);
    return Reply{};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::selectedChannel(const ScpiArguments &)
{
    return Reply{"CH" + std::to_string(m_channel)};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::selectChannelNumber(const ScpiArguments &arguments)
{
    const Result<int> channel = wholeNumber(*arguments[0], 1, 2);
    if (!channel)
        return channel.failure();
    m_channel = *channel;
    return Reply{};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::selectedChannelNumber(const ScpiArguments &)
{
    return Reply{std::to_string(m_channel)};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::setSetPoint(bool voltage,
                                                            const ScpiArguments &arguments)
{
    const Result<int> channel = addressedChannel(arguments[1]);
    if (!channel)
        return channel.failure();
    const SetPoint setPoint = setPointOf(*channel, voltage);
    const Result<int> value = valueFor(setPoint, *arguments[0]);
    if (!value)
        return value.failure();
    if (const Status sent = m_panel.setSetPoint(setPoint, *value); !sent)
        return sent.failure();
    return Reply{};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::setPointQuery(bool voltage,
                                                              const ScpiArguments &arguments) const
{
    const Result<int> channel = addressedChannel(arguments[1]);
    if (!channel)
        return channel.failure();
    const SetPoint setPoint = setPointOf(*channel, voltage);
    if (const std::optional<ScpiArgument> &bound = arguments[0])
        return Reply{
                valueText(setPoint, bound->text == "MAX" ? m_panel.effectiveLimit(setPoint) : 0)};
    const std::optional<int> held = m_panel.heldValue(setPoint);
    return Reply{held ? valueText(setPoint, *held) : UnknownValue};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::setVoltage(const ScpiArguments &arguments)
{
    return setSetPoint(true, arguments);
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::voltage(const ScpiArguments &arguments)
{
    return setPointQuery(true, arguments);
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::setCurrent(const ScpiArguments &arguments)
{
    return setSetPoint(false, arguments);
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::current(const ScpiArguments &arguments)
{
    return setPointQuery(false, arguments);
}

// Both values are checked before either frame goes out.
Result<ScpiInterpreter::Reply> ScpiInterpreter::apply(const ScpiArguments &arguments)
{
    const int channel = channelNamed(*arguments[0]);
    const Result<int> volts = valueFor(setPointOf(channel, true), *arguments[1]);
    if (!volts)
        return volts.failure();
    const Result<int> amps = valueFor(setPointOf(channel, false), *arguments[2]);
    if (!amps)
        return amps.failure();
    Status sent = m_panel.setSetPoint(setPointOf(channel, true), *volts);
    if (sent)
        sent = m_panel.setSetPoint(setPointOf(channel, false), *amps);
    if (!sent)
        return sent.failure();
    return Reply{};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::applied(const ScpiArguments &arguments)
{
    const int channel = arguments[0] ? channelNamed(*arguments[0]) : m_channel;
    std::string reply;
    for (const bool voltage : {true, false}) {
        const SetPoint setPoint = setPointOf(channel, voltage);
        const std::optional<int> held = m_panel.heldValue(setPoint);
        reply += (voltage ? "" : ",") + (held ? valueText(setPoint, *held) : UnknownValue);
    }
    return Reply{reply};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::setOutput(const ScpiArguments &arguments)
{
    const ScpiArgument &state = *arguments[0];
    const bool on = state.mnemonic ? state.text == "ON" : roundHalfToEven(state.number) != 0.0;
    if (const Status sent = m_panel.setOutput(on); !sent)
        return sent.failure();
    return Reply{};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::output(const ScpiArguments &)
{
    return Reply{m_panel.outputOn() ? "1" : "0"};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::setTracking(const ScpiArguments &arguments)
{
    if (const Status sent = m_panel.setSeriesLink(arguments[0]->text == "SER"); !sent)
        return sent.failure();
    return Reply{};
}

Result<ScpiInterpreter::Reply> ScpiInterpreter::tracking(const ScpiArguments &)
{
    return Reply{m_panel.seriesLink() ? "SER" : "NONE"};
}

} // namespace mq7410
