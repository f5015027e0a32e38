// SPDX-License-Identifier: GPL-3.0-or-later
#include "virtualsupply.h"

#include <QSocketNotifier>

#include <cstdio>

namespace mq7410::sim {

namespace {

// Often enough to see the panel's settings before its first frames, rare enough to cost
// nothing while the line is idle. Data arriving checks them too.
constexpr int SettingsPollMs = 25;

} // namespace

VirtualSupply::VirtualSupply(std::vector<EventSink *> sinks, std::uint64_t frameLimit,
                             const std::string &linkPath, QObject *parent)
    : QObject(parent)
    , m_sinks(std::move(sinks))
    , m_frameLimit(frameLimit)
    , m_link(linkPath)
{
    m_settingsPoll.setInterval(SettingsPollMs);
    connect(&m_settingsPoll, &QTimer::timeout, this,
            [this] { checkLineSettings(monotonicNanoseconds()); });
    m_replug.setSingleShot(true);
    connect(&m_replug, &QTimer::timeout, this, &VirtualSupply::plugIn);
}

Status VirtualSupply::start()
{
    if (Status opened = openLine(); !opened)
        return opened;
    m_started = true;
    const std::int64_t now = monotonicNanoseconds();
    for (EventSink *sink : m_sinks) {
        sink->started(now, m_terminal.slavePath(), m_state);
        if (m_lineSettings)
            sink->lineSettingsChanged(now, *m_lineSettings, SettingsSeen::AtStart);
    }
    return {};
}

void VirtualSupply::stop(StopReason reason)
{
    if (!m_started || m_stopped)
        return;
    m_stopped = true;
    m_replug.stop();
    hangUp();
    m_link.remove();
    const std::int64_t now = monotonicNanoseconds();
    for (EventSink *sink : m_sinks)
        sink->stopped(now, reason, m_frames);
}

void VirtualSupply::unplug(int replugAfterMs)
{
    if (!m_started || m_stopped || !m_terminal.isOpen())
        return;
    hangUp();
    // What was still waiting may have reached the frame limit or failed to read.
    if (m_stopped)
        return;
    // Gone until the new line is there, as the device of an unplugged adapter is: a panel
    // never opens a stale name that the system may have given to another terminal meanwhile.
    m_link.remove();
    const std::int64_t now = monotonicNanoseconds();
    for (EventSink *sink : m_sinks)
        sink->unplugged(now);
    m_replug.start(replugAfterMs);
}

Status VirtualSupply::openLine()
{
    if (Status opened = m_terminal.open(); !opened)
        return opened;
    if (Status linked = m_link.point(m_terminal.slavePath()); !linked) {
        m_terminal.close();
        return linked;
    }
    // Read before the device is announced: a quick panel may change them right after.
    m_lineSettings = m_terminal.lineSettings();
    m_notifier = new QSocketNotifier(m_terminal.masterDescriptor(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &VirtualSupply::readFromPanel);
    m_settingsPoll.start();
    return {};
}

// What the panel wrote before the hang-up is still decoded; a frame it cut is reported.
void VirtualSupply::hangUp()
{
    if (!m_terminal.isOpen())
        return;
    delete m_notifier;
    m_notifier = nullptr;
    m_settingsPoll.stop();
    readFromPanel();
    handle(m_decoder.finish(), monotonicNanoseconds());
    m_terminal.close();
}

void VirtualSupply::plugIn()
{
    if (m_stopped)
        return;
    if (const Status opened = openLine(); !opened) {
        std::fprintf(stderr, "mq7410-sim: cannot plug in again: %s\n",
                     opened.failure().text.c_str());
        stop(StopReason::ReplugFailed);
        emit lineFailed();
        return;
    }
    const std::int64_t now = monotonicNanoseconds();
    for (EventSink *sink : m_sinks) {
        sink->replugged(now, m_terminal.slavePath());
        if (m_lineSettings)
            sink->lineSettingsChanged(now, *m_lineSettings, SettingsSeen::AtStart);
    }
}

void VirtualSupply::readFromPanel()
{
    std::string bytes;
    const PseudoTerminal::ReadResult result = m_terminal.read(bytes);
    const std::int64_t now = monotonicNanoseconds();
    // Settings first, looked at after the read: the panel applied them before it wrote.
    checkLineSettings(now);
    handle(m_decoder.feed(bytes), now);
    if (m_stopped)
        return;

    if (limitReached()) {
        stop(StopReason::FrameLimit);
        emit frameLimitReached();
    } else if (result == PseudoTerminal::ReadResult::Failed) {
        // Cannot happen while our own slave descriptor is open; never spin on it regardless.
        std::fprintf(stderr, "mq7410-sim: reading the pseudo-terminal failed\n");
        stop(StopReason::ReadFailed);
        emit lineFailed();
    }
}

void VirtualSupply::checkLineSettings(std::int64_t timeNs)
{
    const std::optional<LineSettings> settings = m_terminal.lineSettings();
    if (!settings || settings == m_lineSettings)
        return;
    m_lineSettings = settings;
    const SettingsSeen seen
            = m_terminal.isHeldExclusively() ? SettingsSeen::WhileHeld : SettingsSeen::WhileFree;
    for (EventSink *sink : m_sinks)
        sink->lineSettingsChanged(timeNs, *settings, seen);
}

void VirtualSupply::handle(const std::vector<DecodeEvent> &events, std::int64_t timeNs)
{
    for (const DecodeEvent &event : events) {
        if (limitReached())
            return;
        if (const auto *frame = std::get_if<Frame>(&event)) {
            m_state.apply(*frame);
            ++m_frames;
            for (EventSink *sink : m_sinks)
                sink->frameReceived(timeNs, *frame, m_state);
        } else {
            for (EventSink *sink : m_sinks)
                sink->bytesSkipped(timeNs, std::get<Skipped>(event));
        }
    }
}

} // namespace mq7410::sim
