// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The supply behind the pseudo-terminal: reads what the front panel writes, decodes it, keeps
// the supply state, and tells the sinks. Also reads back the line settings the panel applied,
// and can be unplugged: the line hangs up and comes back as a new pseudo-terminal.

#include "devicelink.h"
#include "eventsink.h"
#include "failure.h"
#include "framedecoder.h"
#include "pseudoterminal.h"
#include "supplystate.h"

#include <QObject>
#include <QTimer>

#include <optional>
#include <vector>

class QSocketNotifier;

namespace mq7410::sim {

class VirtualSupply : public QObject
{
    Q_OBJECT
public:
    // `frameLimit` 0: no limit. Otherwise, right after that many frames, the supply stops
    // (nothing after them is decoded) and emits frameLimitReached(). `linkPath` not empty:
    // a symbolic link kept there names the pseudo-terminal of the moment.
    VirtualSupply(std::vector<EventSink *> sinks, std::uint64_t frameLimit,
                  const std::string &linkPath, QObject *parent = nullptr);

    // Opens the pseudo-terminal, makes the link, and reports the start.
    Status start();

    // Decodes what is still waiting, reports a frame cut short, closes the pseudo-terminal
    // (the panel sees the far end hang up) and removes the link. Only the first call does
    // anything.
    void stop(StopReason reason);

    // Hangs up as stop() does, but keeps the state, and after `replugAfterMs` opens a new
    // pseudo-terminal and links it; the link is gone in between. Ignored while unplugged or
    // stopped.
    void unplug(int replugAfterMs);

    const std::string &devicePath() const { return m_terminal.slavePath(); }

signals:
    // Both come after the supply has stopped by itself.
    void frameLimitReached();
    void lineFailed(); // reading failed, or no new line after an unplug

private:
    Status openLine();
    void hangUp();
    void plugIn();
    void readFromPanel();
    void checkLineSettings(std::int64_t timeNs);
    void handle(const std::vector<DecodeEvent> &events, std::int64_t timeNs);
    bool limitReached() const { return m_frameLimit && m_frames >= m_frameLimit; }

    std::vector<EventSink *> m_sinks;
    std::uint64_t m_frameLimit;
    std::uint64_t m_frames = 0;
    bool m_started = false;
    bool m_stopped = false;
    PseudoTerminal m_terminal;
    DeviceLink m_link;
    FrameDecoder m_decoder;
    SupplyState m_state;
    std::optional<LineSettings> m_lineSettings;
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_settingsPoll;
    QTimer m_replug;
};

} // namespace mq7410::sim
