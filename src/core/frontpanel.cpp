// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's view, and the one way out to the supply: the limits, the link, the commit.

#include "frontpanel.h"

#include "frame.h"
#include "setpointtext.h"

namespace mq7410 {

std::string refusedFrameText(const std::string &frame, const std::string &reason)
{
    return "The frame " + frame + " could not be sent to the supply.\n\n" + reason;
}

FrontPanel::Change::Change(FrontPanel &panel)
    : m_panel(panel)
{
    ++m_panel.m_changeDepth;
}

FrontPanel::Change::~Change()
{
    if (--m_panel.m_changeDepth == 0 && m_panel.m_observer)
        m_panel.m_observer->onChanged();
}

FrontPanel::FrontPanel(FrameLink &link, const Clock &clock)
    : m_link(link)
    , m_clock(clock)
{}

std::optional<int> FrontPanel::ManualState::ownShown(SetPoint setPoint) const
{
    if (typing == setPoint)
        return valueOf(entered, setPoint);
    if (!known[std::size_t(indexOf(setPoint))])
        return std::nullopt;
    return valueOf(held, setPoint);
}

void FrontPanel::ManualState::hold(SetPoint setPoint, std::int16_t value)
{
    valueOf(held, setPoint) = value;
    known[std::size_t(indexOf(setPoint))] = true;
}

std::optional<int> FrontPanel::shown(SetPoint setPoint) const
{
    // In series, channel 2 follows channel 1: its displays show channel 1's at every moment.
    if (m_manual.seriesLink && channelOf(setPoint) == 2)
        return m_manual.ownShown(onChannel1(setPoint));
    return m_manual.ownShown(setPoint);
}

PanelView FrontPanel::view() const
{
    PanelView view;
    view.panel = m_panel;
    for (const SetPoint setPoint : AllSetPoints) {
        const auto i = std::size_t(indexOf(setPoint));
        const SetPoint owner
                = m_manual.seriesLink && channelOf(setPoint) == 2 ? onChannel1(setPoint) : setPoint;
        const std::optional<int> value = shown(setPoint);
        view.displays[i]
                = value ? displayText(setPoint, *value) : (isVoltage(setPoint) ? "--.--" : "-.---");
        view.roles[i] = m_manual.typing == owner ? DisplayRole::Typed
                        : value                  ? DisplayRole::Held
                                                 : DisplayRole::Unknown;
        if (const int limit = effectiveLimit(setPoint); limit < limitOf(setPoint))
            view.limitNotes[i] = "\u2264 " + valueWords(setPoint, limit);
    }
    view.editTarget = m_manual.editTarget;
    view.outputCaption = m_manual.outputOn ? "Output /On" : "Output /Off";
    view.serialCaption = m_manual.seriesLink ? "Serial /On" : "Serial /Off";
    view.linkBanner = m_manual.seriesLink;
    view.table = m_table;
    if (m_run) {
        view.running = true;
        view.runningStep = m_run->plan.at(m_run->tick)->span->step;
        for (int step = 1; step <= StepCount; ++step) {
            if (auto countdown = m_run->plan.countdownText(step, m_run->tick))
                view.table.time(step) = std::move(*countdown);
        }
    }
    return view;
}

std::optional<int> FrontPanel::heldValue(SetPoint setPoint) const
{
    if (m_manual.seriesLink && channelOf(setPoint) == 2)
        setPoint = onChannel1(setPoint);
    if (!m_manual.known[std::size_t(indexOf(setPoint))])
        return std::nullopt;
    return valueOf(m_manual.held, setPoint);
}

void FrontPanel::forgetSupplyState()
{
    Change change(*this);
    m_manual.known.fill(false);
    m_manual.typing.reset();
}

void FrontPanel::setLimits(const SetPointValues &limits)
{
    Change change(*this);
    for (const SetPoint setPoint : AllSetPoints) {
        valueOf(m_limits, setPoint) = static_cast<std::int16_t>(
                std::clamp<int>(valueOf(limits, setPoint), 0, limitOf(setPoint)));
    }
}

int FrontPanel::effectiveLimit(SetPoint setPoint) const
{
    const int own = valueOf(m_limits, setPoint);
    if (!m_manual.seriesLink || channelOf(setPoint) != 1)
        return own;
    return std::min<int>(own, valueOf(m_limits, onChannel2(setPoint)));
}

Status FrontPanel::refuseDuringRun() const
{
    if (m_run)
        return Failure{FailureKind::Busy, "A sequence is running: Stop it first."};
    return {};
}

// The one check every set-point passes on its way out, whatever sent it.
Status FrontPanel::checkLimits(const std::string &frame) const
{
    const std::optional<Frame> parsed = parseFrame(frame);
    if (!parsed)
        return Failure{FailureKind::BadValue,
                       "The frame " + frame + " is not one the supply reads."};
    for (const FieldValue &field : parsed->fields) {
        const int limit = effectiveLimit(field.setPoint);
        if (field.value > limit) {
            return Failure{FailureKind::OutOfRange,
                           std::string(nameOf(field.setPoint)) + ' '
                                   + valueWords(field.setPoint, field.value)
                                   + " is above the limit of " + valueWords(field.setPoint, limit)
                                   + '.'};
        }
    }
    return {};
}

Status FrontPanel::transmit(const std::string &frame, const std::string &context,
                            std::function<void()> commit)
{
    FrameRecord record{
            frame, context + describeFrame(*parseFrame(frame)), FrameStatus::Refused, {}};
    // A frame the line did not take is a Line failure, whatever the link said.
    const auto refuse = [&](FailureKind kind, const std::string &reason) -> Status {
        record.reason = reason;
        m_lastRefusal = reason;
        tell(record, false);
        return Failure{kind, refusedFrameText(frame, reason)};
    };
    // The rest of an earlier frame goes first, or the supply would read the two as one.
    if (m_waiting) {
        const Status earlier = m_link.finishWaiting();
        if (earlier || earlier.failure().kind == FailureKind::Line)
            settleWaiting(earlier);
        if (!earlier)
            return refuse(FailureKind::Line, earlier.failure().text);
    }
    if (const Status within = checkLimits(frame); !within)
        return refuse(within.failure().kind, within.failure().text);
    const Result<Delivery> written = m_link.write(frame);
    if (!written)
        return refuse(FailureKind::Line, written.failure().text);
    if (*written == Delivery::Waiting) {
        record.status = FrameStatus::Waiting;
        m_waiting = Waiting{record, std::move(commit)};
        tell(record, false);
        return {};
    }
    record.status = FrameStatus::Sent;
    commit();
    tell(record, false);
    return {};
}

void FrontPanel::settleWaiting(const Status &result)
{
    if (!m_waiting)
        return;
    Change change(*this);
    Waiting waiting = std::move(*m_waiting);
    m_waiting.reset();
    if (result) {
        waiting.record.status = FrameStatus::Sent;
        waiting.commit();
    } else {
        waiting.record.status = FrameStatus::Cut;
        waiting.record.reason = result.failure().text;
        // The supply got part of a frame: it may hold anything now.
        forgetSupplyState();
    }
    tell(waiting.record, true);
    if (!result && m_run)
        endRun(RunEnd::LineFailed, waiting.record.reason);
}

Status FrontPanel::finishWaiting()
{
    if (!m_waiting)
        return {};
    Status finished = m_link.finishWaiting();
    if (finished || finished.failure().kind == FailureKind::Line)
        settleWaiting(finished);
    return finished;
}

void FrontPanel::lineLost(const std::string &reason)
{
    Change change(*this);
    settleWaiting(Failure{FailureKind::Line, reason});
    if (m_run)
        endRun(RunEnd::LineFailed, reason);
}

void FrontPanel::tell(const FrameRecord &record, bool settled)
{
    if (!m_observer)
        return;
    if (settled)
        m_observer->onFrameSettled(record);
    else
        m_observer->onFrameTried(record);
}

} // namespace mq7410
