// SPDX-License-Identifier: GPL-3.0-or-later
#include "scpiarguments.h"

#include "scpiheader.h"
#include "textnumber.h"

namespace mq7410 {
namespace {

constexpr int DataTypeError = -104;
constexpr int ParameterNotAllowed = -108;
constexpr int MissingParameter = -109;
constexpr int InvalidSuffix = -131;
constexpr int SuffixNotAllowed = -138;
constexpr int IllegalValue = -224;

std::span<const std::string_view> mnemonicsOf(ScpiSlot slot)
{
    static constexpr std::string_view Bounds[]{"MINimum", "MAXimum", "DEFault"};
    static constexpr std::string_view Infinity[]{"INFinity"};
    static constexpr std::string_view Switches[]{"ON", "OFF"};
    static constexpr std::string_view Channels[]{"CH1", "CH2"};
    static constexpr std::string_view Tracking[]{"NONE", "SERies"};
    switch (slot) {
    case ScpiSlot::Volts:
    case ScpiSlot::Amps:
    case ScpiSlot::Bound:
        return Bounds;
    case ScpiSlot::Count:
        return Infinity;
    case ScpiSlot::Switch:
        return Switches;
    case ScpiSlot::Channel:
        return Channels;
    case ScpiSlot::Tracking:
        return Tracking;
    case ScpiSlot::Number:
    case ScpiSlot::Channels:
        break;
    }
    return {};
}

bool takesNumbers(ScpiSlot slot)
{
    return slot == ScpiSlot::Volts || slot == ScpiSlot::Amps || slot == ScpiSlot::Number
           || slot == ScpiSlot::Count || slot == ScpiSlot::Switch;
}

// What a slot takes, for the details of its errors.
std::string expected(ScpiSlot slot)
{
    switch (slot) {
    case ScpiSlot::Volts:
        return "a voltage, MIN, MAX or DEF";
    case ScpiSlot::Amps:
        return "a current, MIN, MAX or DEF";
    case ScpiSlot::Bound:
        return "MIN, MAX or DEF";
    case ScpiSlot::Number:
        return "a number";
    case ScpiSlot::Count:
        return "a number or INF";
    case ScpiSlot::Switch:
        return "ON, OFF, 1 or 0";
    case ScpiSlot::Channel:
        return "CH1 or CH2";
    case ScpiSlot::Tracking:
        return "NONE or SER";
    case ScpiSlot::Channels:
        return "a channel list such as (@1)";
    }
    return {};
}

std::variant<double, ScpiError> suffixFactor(ScpiSlot slot, const std::string &suffix)
{
    if (suffix.empty())
        return 1.0;
    if (slot != ScpiSlot::Volts && slot != ScpiSlot::Amps)
        return ScpiError{SuffixNotAllowed, suffix + ": expected " + expected(slot)};
    const std::string unit = slot == ScpiSlot::Volts ? "V" : "A";
    if (keywordNames(unit, suffix))
        return 1.0;
    if (keywordNames("M" + unit, suffix))
        return 1e-3;
    return ScpiError{InvalidSuffix, suffix + ": expected " + unit + " or m" + unit};
}

std::variant<ScpiArgument, ScpiError> argumentFor(ScpiSlot slot, const ScpiParameter &parameter)
{
    const ScpiError wrongType{DataTypeError, "expected " + expected(slot)};
    switch (parameter.type) {
    case ScpiDataType::Number: {
        if (!takesNumbers(slot))
            return wrongType;
        const std::variant<double, ScpiError> factor = suffixFactor(slot, parameter.suffix);
        if (const auto *error = std::get_if<ScpiError>(&factor))
            return *error;
        return ScpiArgument{textToNumber(parameter.text) * std::get<double>(factor), parameter.text,
                            false};
    }
    case ScpiDataType::Mnemonic: {
        const std::span<const std::string_view> names = mnemonicsOf(slot);
        if (names.empty())
            return wrongType;
        for (const std::string_view name : names) {
            if (keywordNames(name, parameter.text))
                return ScpiArgument{0.0, std::string(shortFormOf(name)), true};
        }
        return ScpiError{IllegalValue, parameter.text + ": expected " + expected(slot)};
    }
    case ScpiDataType::ChannelList:
        if (slot != ScpiSlot::Channels)
            return wrongType;
        return ScpiArgument{0.0, parameter.text, false};
    case ScpiDataType::String:
        break;
    }
    return wrongType;
}

} // namespace

std::variant<ScpiArguments, ScpiError> scpiArguments(std::span<const ScpiSlotSpec> specs,
                                                     std::span<const ScpiParameter> parameters)
{
    const ScpiError tooMany{ParameterNotAllowed,
                            "at most " + std::to_string(specs.size()) + " parameters"};
    // Why the next parameter fitted none of the optional specs it was tried on.
    ScpiError notFitting = tooMany;
    ScpiArguments arguments(specs.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < specs.size(); ++i) {
        if (next == parameters.size()) {
            if (!specs[i].optional)
                return ScpiError{MissingParameter, "expected " + expected(specs[i].slot)};
            continue;
        }
        std::variant<ScpiArgument, ScpiError> argument
                = argumentFor(specs[i].slot, parameters[next]);
        if (auto *error = std::get_if<ScpiError>(&argument)) {
            if (!specs[i].optional || error->code != DataTypeError)
                return std::move(*error);
            notFitting = std::move(*error);
            continue;
        }
        arguments[i] = std::get<ScpiArgument>(std::move(argument));
        notFitting = tooMany;
        ++next;
    }
    if (next < parameters.size())
        return notFitting;
    return arguments;
}

} // namespace mq7410
