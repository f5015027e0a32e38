#pragma once

// When the run's ticks fall due, by a monotonic clock that the caller reads.

#include <cstdint>

namespace mq7410 {

// Tick k (k >= 1) is due at start + k x period, so a late tick never pushes the later ones
// back, and after a stall every tick that fell due is handed out at once, in order.
//
// Early wake-ups: the caller sleeps for nsUntilNextTick() rounded up to whole milliseconds,
// yet a timer may still fire a fraction of a millisecond early. A tick counts as due up to
// a tolerance before its time (1 ms, or less than half the period for short periods),
// so such a wake-up takes its tick at once. A wake-up earlier than that takes nothing, and the
// next wait is the small remainder. Either way each tick is taken exactly once.
// The sequence advances once a second.
inline constexpr int TickPeriodMs = 1000;

class TickSchedule
{
public:
    static constexpr std::int64_t MaxEarlyToleranceNs = 1'000'000;

    // A period below 1 ns is taken as 1 ns.
    explicit TickSchedule(std::int64_t periodNs = std::int64_t{TickPeriodMs} * 1'000'000);

    void start(std::int64_t nowNs);                         // restarts from tick 1
    int takeDueTicks(std::int64_t nowNs);                   // 0 before start()
    std::int64_t nsUntilNextTick(std::int64_t nowNs) const; // >= 0; a full period before start()
    int ticksTaken() const { return m_ticksTaken; }

private:
    std::int64_t m_periodNs;
    std::int64_t m_toleranceNs;
    std::int64_t m_startNs = 0;
    bool m_started = false;
    int m_ticksTaken = 0;
};

} // namespace mq7410
