// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The console view: a line per event with the seconds since start, and a status line with the
// whole supply state, redrawn in place when the output is a terminal and printed as a line of
// its own after each frame when it is not.

#include "eventsink.h"

#include <cstdio>

namespace mq7410::sim {

class Console : public EventSink
{
public:
    explicit Console(std::FILE *out);

    void started(std::int64_t timeNs, const std::string &device, const SupplyState &state) override;
    void lineSettingsChanged(std::int64_t timeNs, const LineSettings &settings,
                             SettingsSeen seen) override;
    void frameReceived(std::int64_t timeNs, const Frame &frame, const SupplyState &after) override;
    void bytesSkipped(std::int64_t timeNs, const Skipped &skipped) override;
    void unplugged(std::int64_t timeNs) override;
    void replugged(std::int64_t timeNs, const std::string &device) override;
    void stopped(std::int64_t timeNs, StopReason reason, std::uint64_t frames) override;

private:
    // One event line; on a terminal the status line is redrawn below it.
    void print(std::int64_t timeNs, const std::string &text);

    std::FILE *m_out;
    bool m_terminal;
    std::int64_t m_startNs = 0;
    SupplyState m_state;
};

// The bytes as a person can read them: printable ASCII as is, anything else (and " and \)
// as \xNN.
std::string printableBytes(const std::string &bytes);

} // namespace mq7410::sim
