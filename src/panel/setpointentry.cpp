#include "setpointentry.h"

#include "labeltext.h"

#include <algorithm>
#include <string>

namespace mq7410 {
namespace {

// Where a digit goes for each edit target, and what a click on its selector restores.
struct Target
{
    std::int16_t PanelState::*value;
    std::int16_t PanelState::*sent;
    int limit;
    std::string Displays::*display;
    std::string (*toText)(int);
};

const Target *targetFor(std::int16_t code)
{
    static const Target CH1Curr{&PanelState::CH1CurrSet, &PanelState::CH1CurrSent, CurrentLimit,
                                &Displays::CH1I, CurrentToText};
    static const Target CH1Volt{&PanelState::CH1VoltSet, &PanelState::CH1VoltSent, VoltageLimit,
                                &Displays::CH1V, VoltageToText};
    static const Target CH2Curr{&PanelState::CH2CurrSet, &PanelState::CH2CurrSent, CurrentLimit,
                                &Displays::CH2I, CurrentToText};
    static const Target CH2Volt{&PanelState::CH2VoltSet, &PanelState::CH2VoltSent, VoltageLimit,
                                &Displays::CH2V, VoltageToText};
    switch (code) {
    case CH1Current:
        return &CH1Curr;
    case CH1Voltage:
        return &CH1Volt;
    case CH2Current:
        return &CH2Curr;
    case CH2Voltage:
        return &CH2Volt;
    default:
        return nullptr;
    }
}

bool isCurrent(std::int16_t code)
{
    return code == CH1Current || code == CH2Current;
}

} // namespace

void selectSetPoint(std::int16_t code, PanelState &state, Displays &displays)
{
    state.EditTarget = code;
    if (const Target *target = targetFor(code))
        state.*(target->value) = state.*(target->sent);
    displays.CH1I = CurrentToText(state.CH1CurrSent);
    displays.CH1V = VoltageToText(state.CH1VoltSent);
    displays.CH2I = CurrentToText(state.CH2CurrSent);
    displays.CH2V = VoltageToText(state.CH2VoltSent);
}

void pressDigit(int digit, PanelState &state, Displays &displays)
{
    const Target *target = targetFor(state.EditTarget);
    if (!target || digit < 0 || digit > 9)
        return;
    std::int16_t &value = state.*(target->value);
    // A value below 0 cannot come from entry; should one turn up it counts as 0.
    const int appended = std::max<int>(value, 0) * 10 + digit;
    value = static_cast<std::int16_t>(appended > target->limit ? digit : appended);
    displays.*(target->display) = target->toText(value);

    if (state.SeriesLink == Off)
        return;
    if (isCurrent(state.EditTarget)) {
        state.CH2CurrSet = state.CH1CurrSet;
        displays.CH2I = displays.CH1I;
    } else {
        state.CH2VoltSet = state.CH1VoltSet;
        displays.CH2V = displays.CH1V;
    }
}

} // namespace mq7410
