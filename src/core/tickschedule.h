// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// When the run's ticks fall due, by a monotonic clock that the caller reads.
//
// Tick k is due one period after tick k - 1, counted from Start: a late timer does not push
// the later ticks back, and after a stall the ticks that fell due meanwhile are due at once.
// Only a frame that goes out late moves the schedule: the ticks after it are counted from the
// moment it went out, so that the step it starts still lasts its whole time.
//
// Early wake-ups: the caller sleeps until dueNs() rounded up to whole milliseconds, yet a timer
// may still fire a fraction of a millisecond early. A tick counts as due up to a millisecond
// before its time.

#include <cstdint>

namespace mq7410 {

inline constexpr std::int64_t TickPeriodNs = 1'000'000'000;

class TickSchedule
{
public:
    static constexpr std::int64_t EarlyToleranceNs = 1'000'000;

    void start(std::int64_t nowNs); // tick 0 is now
    std::int64_t dueNs(std::int64_t tick) const;
    bool isDue(std::int64_t tick, std::int64_t nowNs) const
    {
        return nowNs + EarlyToleranceNs >= dueNs(tick);
    }
    // Tick `tick` happened at `nowNs` rather than when it was due: count the later ones from
    // there. The time the run is behind its first schedule grows by the difference.
    void moveTo(std::int64_t tick, std::int64_t nowNs);
    std::int64_t behindNs() const { return m_behindNs; }

private:
    std::int64_t m_startNs = 0;
    std::int64_t m_behindNs = 0;
};

} // namespace mq7410
