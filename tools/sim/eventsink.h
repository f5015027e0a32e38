// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the virtual supply tells what happens: the console and the JSON log.

#include "framedecoder.h"
#include "linesettings.h"
#include "supplystate.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace mq7410::sim {

// Times are CLOCK_MONOTONIC nanoseconds: steady_clock on Linux, the clock of QElapsedTimer,
// so that another process can compare them with its own.
inline std::int64_t monotonicNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
}

enum class StopReason { Signal, FrameLimit, CommandEnded, ReadFailed, ReplugFailed };

// When line settings were seen: as a new line was when the supply started or was plugged in
// again, before the panel came; while someone (the panel) held the line exclusively; or while
// nobody did, as after the panel closed it without restoring what it found.
enum class SettingsSeen { AtStart, WhileHeld, WhileFree };

// "signal", "frame_limit", "command_ended", "read_failed", "replug_failed".
const char *stopReasonKey(StopReason reason);

class EventSink
{
public:
    virtual ~EventSink() = default;

    virtual void started(std::int64_t timeNs, const std::string &device, const SupplyState &state)
            = 0;
    virtual void lineSettingsChanged(std::int64_t timeNs, const LineSettings &settings,
                                     SettingsSeen seen)
            = 0;
    virtual void frameReceived(std::int64_t timeNs, const Frame &frame, const SupplyState &after)
            = 0;
    virtual void bytesSkipped(std::int64_t timeNs, const Skipped &skipped) = 0;
    // The line was hung up; the supply keeps its state and comes back on a new device.
    virtual void unplugged(std::int64_t timeNs) = 0;
    virtual void replugged(std::int64_t timeNs, const std::string &device) = 0;
    virtual void stopped(std::int64_t timeNs, StopReason reason, std::uint64_t frames) = 0;
};

} // namespace mq7410::sim
