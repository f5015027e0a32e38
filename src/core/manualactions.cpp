// SPDX-License-Identifier: GPL-3.0-or-later
// The manual panel: its keys, and the same actions at the level of values that scripts use.

#include "frame.h"
#include "frontpanel.h"
#include "setpointtext.h"

namespace mq7410 {

void FrontPanel::showAutoPanel()
{
    Change change(*this);
    m_panel = PanelShown::Auto;
}

void FrontPanel::showManualPanel()
{
    Change change(*this);
    if (!m_run)
        m_panel = PanelShown::Manual;
}

void FrontPanel::select(SetPoint setPoint)
{
    if (!manualShown())
        return;
    Change change(*this);
    m_manual.editTarget = setPoint;
    m_manual.typing.reset();
    // Typing starts again from what the display shows; from 0 when the supply's value is not
    // known.
    valueOf(m_manual.entered, setPoint) = static_cast<std::int16_t>(shown(setPoint).value_or(0));
}

void FrontPanel::pressDigit(int digit)
{
    if (!manualShown() || digit < 0 || digit > 9)
        return;
    Change change(*this);
    const SetPoint target = m_manual.editTarget;
    const int limit = effectiveLimit(target);
    std::int16_t &value = valueOf(m_manual.entered, target);
    // A digit that would pass the limit starts a new value (0 when even the digit would). A
    // negative value cannot come from entry; should one turn up it counts as 0.
    const int appended = std::max<int>(value, 0) * 10 + digit;
    value = static_cast<std::int16_t>(appended <= limit ? appended : digit <= limit ? digit : 0);
    const bool followsChannel1 = m_manual.seriesLink && channelOf(target) == 2;
    if (!followsChannel1)
        m_manual.typing = target;
    // Channel 2 follows channel 1 in the quantity just typed, whichever channel was typed on:
    // a digit typed for channel 2 has no lasting effect.
    if (m_manual.seriesLink) {
        valueOf(m_manual.entered, onChannel2(target))
                = static_cast<std::int16_t>(shown(onChannel1(target)).value_or(0));
    }
}

void FrontPanel::abandonTyping()
{
    if (!manualShown() || m_run)
        return;
    Change change(*this);
    if (const std::optional<SetPoint> typed = m_manual.typing) {
        m_manual.typing.reset();
        valueOf(m_manual.entered, *typed) = static_cast<std::int16_t>(shown(*typed).value_or(0));
    }
}

std::string FrontPanel::typingNote() const
{
    if (!m_manual.typing)
        return {};
    const SetPoint typed = *m_manual.typing;
    const std::string channels
            = m_manual.seriesLink && channelOf(typed) == 1 ? " (CH2 follows in series)" : "";
    return "Enter sends " + std::string(nameOf(typed)) + ' '
           + valueWords(typed, valueOf(m_manual.entered, typed)) + channels
           + " \u00b7 Esc abandons it";
}

Status FrontPanel::enter()
{
    if (!manualShown())
        return {};
    const SetPoint target = m_manual.editTarget;
    if (!shown(target)) {
        return Failure{FailureKind::BadValue, "The supply's " + std::string(nameOf(target))
                                                      + " is not known since the reconnect: "
                                                        "type the value to send first."};
    }
    return setSetPoint(target, valueOf(m_manual.entered, target));
}

Status FrontPanel::toggleOutput()
{
    if (!manualShown())
        return {};
    return setOutput(!m_manual.outputOn);
}

Status FrontPanel::toggleSeriesLink()
{
    if (!manualShown())
        return {};
    return setSeriesLink(!m_manual.seriesLink);
}

Status FrontPanel::setSetPoint(SetPoint setPoint, int value)
{
    Change change(*this);
    if (Status idle = refuseDuringRun(); !idle)
        return idle;
    if (value < 0 || value > effectiveLimit(setPoint)) {
        return Failure{FailureKind::OutOfRange,
                       std::string(nameOf(setPoint)) + ' ' + valueWords(setPoint, value)
                               + " is outside 0 to "
                               + valueWords(setPoint, effectiveLimit(setPoint)) + '.'};
    }
    const auto v = static_cast<std::int16_t>(value);
    SetPointValues values = m_manual.entered;
    valueOf(values, setPoint) = v;
    Status sent = transmit(encodeFrame(commandFor(setPoint), values), {}, [this, setPoint, v] {
        valueOf(m_manual.sent, setPoint) = v;
        valueOf(m_manual.entered, setPoint) = v;
        m_manual.hold(setPoint, v);
    });
    if (sent && m_manual.typing == setPoint)
        m_manual.typing.reset(); // what was typed for it is dropped
    return sent;
}

Status FrontPanel::setOutput(bool on)
{
    Change change(*this);
    if (Status idle = refuseDuringRun(); !idle)
        return idle;
    return transmit(encodeOutputFrame(on), {}, [this, on] { m_manual.outputOn = on; });
}

Status FrontPanel::setSeriesLink(bool on)
{
    Change change(*this);
    if (Status idle = refuseDuringRun(); !idle)
        return idle;
    using enum SetPoint;
    // On, channel 2 takes what channel 1 holds; off, it goes back to what Enter last sent for
    // it. A Failure when channel 1's values are not known.
    SetPointValues values = m_manual.entered;
    for (const SetPoint ch2 : {Ch2Voltage, Ch2Current}) {
        if (!on) {
            valueOf(values, ch2) = valueOf(m_manual.sent, ch2);
            continue;
        }
        const std::optional<int> ch1
                = m_manual.known[std::size_t(indexOf(onChannel1(ch2)))]
                          ? std::optional<int>(valueOf(m_manual.held, onChannel1(ch2)))
                          : std::nullopt;
        if (!ch1) {
            return Failure{FailureKind::BadValue,
                           "Channel 1's set-points are not known since the reconnect: send them "
                           "first, then link the channels."};
        }
        valueOf(values, ch2) = static_cast<std::int16_t>(*ch1);
    }
    const Command command = on ? Command::LinkOn : Command::LinkOff;
    Status sent = transmit(encodeFrame(command, values), {}, [this, on, values] {
        m_manual.seriesLink = on;
        for (const SetPoint ch2 : {Ch2Voltage, Ch2Current}) {
            valueOf(m_manual.entered, ch2) = valueOf(values, ch2);
            m_manual.hold(ch2, valueOf(values, ch2));
        }
    });
    // Digits typed for channel 2 are overwritten by the frame's values.
    if (sent && m_manual.typing && channelOf(*m_manual.typing) == 2)
        m_manual.typing.reset();
    return sent;
}

Status FrontPanel::resendState()
{
    Change change(*this);
    if (Status idle = refuseDuringRun(); !idle)
        return idle;
    using enum SetPoint;
    // What the panel holds, as it holds it: the link frame carries what channel 2 shows.
    const SetPointValues held = m_manual.held;
    SetPointValues linked = held;
    if (m_manual.seriesLink) {
        valueOf(linked, Ch2Voltage) = valueOf(held, Ch1Voltage);
        valueOf(linked, Ch2Current) = valueOf(held, Ch1Current);
    }
    const auto holding = [this](const SetPointValues &values, Command command) {
        return [this, values, command] {
            for (const SetPoint setPoint : fieldsOf(command))
                m_manual.hold(setPoint, valueOf(values, setPoint));
        };
    };
    const Command link = m_manual.seriesLink ? Command::LinkOn : Command::LinkOff;
    Status sent = transmit(encodeFrame(Command::AllSetPoints, held),
                           "again: ", holding(held, Command::AllSetPoints));
    if (sent)
        sent = transmit(encodeFrame(link, linked), "again: ", holding(linked, link));
    if (sent)
        sent = transmit(encodeOutputFrame(m_manual.outputOn), "again: ", [] {});
    return sent;
}

} // namespace mq7410
