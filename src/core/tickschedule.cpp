#include "tickschedule.h"

#include <algorithm>

namespace mq7410 {

TickSchedule::TickSchedule(std::int64_t periodNs)
    : m_periodNs(std::max<std::int64_t>(periodNs, 1))
    // Strictly below half a period, so a tick is never taken near its predecessor's time.
    , m_toleranceNs(std::min(MaxEarlyToleranceNs, (m_periodNs - 1) / 2))
{}

void TickSchedule::start(std::int64_t nowNs)
{
    m_baseNs = nowNs;
    m_baseTick = 0;
    m_behindNs = 0;
}

std::int64_t TickSchedule::dueNs(int tick) const
{
    return m_baseNs + std::int64_t(tick - m_baseTick) * m_periodNs;
}

void TickSchedule::moveTo(int tick, std::int64_t nowNs)
{
    m_behindNs += nowNs - dueNs(tick);
    m_baseNs = nowNs;
    m_baseTick = tick;
}

} // namespace mq7410
