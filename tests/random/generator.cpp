#include "generator.h"

#include "model/panelmodel.h"
#include "model/rules.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace mq7410::randomtest {

namespace {

using model::Control;

int below(Rng &rng, int n)
{
    return std::uniform_int_distribution<int>(0, n - 1)(rng);
}

Event click(Control control)
{
    return makeEvent(EventKind::Click, static_cast<int>(control));
}

// A digit that takes the value being entered to its limit or just past it, when the value
// so far is the start of the limit ("3", "32", "320" on the way to 3200).
int boundaryDigit(Rng &rng, const model::PanelModel &panel)
{
    const model::Variables &v = panel.variables();
    const int code = v.editTarget;
    constexpr int Columns[] = {0, 1, 0, 3, 2};
    const int value = v.set[Columns[code]];
    const std::string limit = code == 2 || code == 4 ? "3200" : "3000";
    const std::string typed = value == 0 ? std::string() : std::to_string(value);
    if (typed.size() < limit.size() && limit.compare(0, typed.size(), typed) == 0)
        return std::min(9, limit[typed.size()] - '0' + below(rng, 2));
    return below(rng, 10);
}

Event manualPanelEvent(Rng &rng, const model::PanelModel &panel)
{
    const int roll = below(rng, 100);
    if (roll < 40) { // the keypad
        const int digit = below(rng, 2) == 0 ? boundaryDigit(rng, panel) : below(rng, 10);
        return click(static_cast<Control>(static_cast<int>(Control::ZeroCommand) + digit));
    }
    if (roll < 52)
        return click(static_cast<Control>(static_cast<int>(Control::CH1VCommand) + below(rng, 4)));
    if (roll < 60)
        return click(Control::EnterCommand);
    if (roll < 66)
        return click(below(rng, 2) == 0 ? Control::SerialCommand : Control::OutputCommand);
    if (roll < 70)
        return click(static_cast<Control>(static_cast<int>(Control::CH1VOption) + below(rng, 4)));
    if (roll < 90)
        return makeEvent(EventKind::Key, below(rng, 22), below(rng, 20) == 0);
    if (roll < 95) // hidden controls of the auto panel
        return click(below(rng, 2) == 0 ? Control::Start : Control::CancelCommand);
    return makeEvent(EventKind::MenuAuto);
}

Event boxEvent(Rng &rng)
{
    const int box = below(rng, 3) == 0 ? below(rng, model::TimeBoxes) : below(rng, model::BoxCount);
    const bool timeBox = model::isTimeBox(box);
    const bool selectAll = below(rng, 3) != 0;
    if (below(rng, 2) == 0)
        return makeEvent(EventKind::Type, box, selectAll, typedText(rng, timeBox));
    return makeEvent(EventKind::Paste, box, selectAll, pastedText(rng, timeBox));
}

// A short time for a step whose box reads as 0, so that runs get past their first steps and
// reach the Finish row: after a run every box of an ended step reads 0 again.
std::optional<Event> fillATime(Rng &rng, const model::PanelModel &panel)
{
    std::vector<int> zero;
    for (int box = 0; box < model::TimeBoxes; ++box) {
        if (model::stepSeconds(panel.view().boxes[box]) == 0)
            zero.push_back(box);
    }
    if (zero.empty())
        return std::nullopt;
    const int box = zero[below(rng, static_cast<int>(zero.size()))];
    return makeEvent(EventKind::Type, box, true, std::to_string(1 + below(rng, 3)));
}

Event autoPanelEvent(Rng &rng, const model::PanelModel &panel)
{
    const bool running = panel.variables().running;
    if (running && below(rng, 100) < 60)
        return makeEvent(EventKind::Tick);
    const int roll = below(rng, 100);
    if (!running && roll < 15) {
        if (std::optional<Event> fill = fillATime(rng, panel))
            return *fill;
    }
    if (roll < 45)
        return boxEvent(rng);
    if (roll < 58)
        return click(Control::Start);
    if (roll < 68)
        return click(Control::CancelCommand);
    if (roll < 73)
        return makeEvent(EventKind::Tick);
    if (roll < 83)
        return makeEvent(EventKind::Key, below(rng, 22), below(rng, 20) == 0);
    if (roll < 95) // hidden controls of the manual panel
        return click(static_cast<Control>(below(rng, static_cast<int>(Control::CancelCommand))));
    return makeEvent(EventKind::MenuAuto);
}

} // namespace

Event nextEvent(Rng &rng, const model::PanelModel &panel, bool allowEnd)
{
    const int roll = below(rng, 1000);
    if (allowEnd && roll < 500)
        return makeEvent(roll % 2 == 0 ? EventKind::Exit : EventKind::CloseWindow);
    if (roll < 10)
        return makeEvent(EventKind::MenuAbout);
    if (roll < 25)
        return makeEvent(EventKind::WritesFail, 0, true);
    if (roll < 100)
        return makeEvent(EventKind::WritesFail, 0, false);
    if (roll < 130)
        return makeEvent(EventKind::Tick);
    return panel.view().controlVisible ? manualPanelEvent(rng, panel) : autoPanelEvent(rng, panel);
}

} // namespace mq7410::randomtest
