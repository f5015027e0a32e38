#include "datatransfer.h"

#include "hexfield.h"

namespace mq7410 {
namespace {

std::string linkOff(PanelState &state, Displays &displays)
{
    state.CH2VoltSet = state.CH2VoltSent;
    state.CH2CurrSet = state.CH2CurrSent;
    displays.CH2V = state.SavedCH2VCaption;
    displays.CH2I = state.SavedCH2ICaption;
    return "8E" + HexField(state.CH2CurrSet) + HexField(state.CH2VoltSet);
}

std::string linkOn(PanelState &state, Displays &displays)
{
    state.SavedCH2VCaption = displays.CH2V;
    state.SavedCH2ICaption = displays.CH2I;
    displays.CH2V = displays.CH1V;
    displays.CH2I = displays.CH1I;
    state.CH2VoltSet = state.CH1VoltSet;
    state.CH2CurrSet = state.CH1CurrSet;
    return "8F" + HexField(state.CH2CurrSet) + HexField(state.CH2VoltSet);
}

} // namespace

std::string prepareTransfer(std::int16_t selector, PanelState &state, Displays &displays)
{
    switch (selector) {
    case SendCH1Current:
        state.CH1CurrSent = state.CH1CurrSet;
        return "87" + HexField(state.CH1CurrSet);
    case SendCH1Voltage:
        state.CH1VoltSent = state.CH1VoltSet;
        return "88" + HexField(state.CH1VoltSet);
    case SendCH2Current:
        state.CH2CurrSent = state.CH2CurrSet;
        return "89" + HexField(state.CH2CurrSet);
    case SendCH2Voltage:
        state.CH2VoltSent = state.CH2VoltSet;
        return "8A" + HexField(state.CH2VoltSet);
    case SendAllSetPoints:
        return "8D" + HexField(state.CH1VoltSet) + HexField(state.CH1CurrSet)
               + HexField(state.CH2VoltSet) + HexField(state.CH2CurrSet);
    case SendOutputState:
        return state.OutputOn != Off ? "8CF0F0" : "8C0F0F";
    case SendLinkOff:
        return linkOff(state, displays);
    case SendLinkOn:
        return linkOn(state, displays);
    default:
        return {};
    }
}

} // namespace mq7410
