#include "tickschedule.h"

#include <algorithm>
#include <limits>

namespace mq7410 {

TickSchedule::TickSchedule(std::int64_t periodNs)
    : m_periodNs(std::max<std::int64_t>(periodNs, 1))
    // Strictly below half a period, so a tick is never taken near its predecessor's time.
    , m_toleranceNs(std::min(MaxEarlyToleranceNs, (m_periodNs - 1) / 2))
{}

void TickSchedule::start(std::int64_t nowNs)
{
    m_startNs = nowNs;
    m_started = true;
    m_ticksTaken = 0;
}

int TickSchedule::takeDueTicks(std::int64_t nowNs)
{
    if (!m_started || nowNs < m_startNs)
        return 0;
    const std::int64_t due = (nowNs - m_startNs + m_toleranceNs) / m_periodNs;
    const int dueTicks
            = static_cast<int>(std::min<std::int64_t>(due, std::numeric_limits<int>::max()));
    const int fresh = std::max(dueTicks - m_ticksTaken, 0);
    m_ticksTaken += fresh;
    return fresh;
}

std::int64_t TickSchedule::nsUntilNextTick(std::int64_t nowNs) const
{
    if (!m_started)
        return m_periodNs;
    const std::int64_t nextDue = m_startNs + (std::int64_t(m_ticksTaken) + 1) * m_periodNs;
    return std::max<std::int64_t>(nextDue - nowNs, 0);
}

} // namespace mq7410
