// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The monotonic clock that the run's ticks are counted by; tests give a clock they move.

#include <chrono>
#include <cstdint>

namespace mq7410 {

class Clock
{
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowNs() const = 0;
};

// CLOCK_MONOTONIC on Linux: the clock of QElapsedTimer, so that other processes (the virtual
// supply's log) can be compared with it.
class SteadyClock final : public Clock
{
public:
    std::int64_t nowNs() const override
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
    }
};

// The one steady clock a program needs.
inline const Clock &steadyClock()
{
    static const SteadyClock clock;
    return clock;
}

} // namespace mq7410
