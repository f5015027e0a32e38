#include "tickschedule.h"

namespace mq7410 {

void TickSchedule::start(std::int64_t nowNs)
{
    m_baseNs = nowNs;
    m_baseTick = 0;
    m_behindNs = 0;
}

std::int64_t TickSchedule::dueNs(int tick) const
{
    return m_baseNs + std::int64_t(tick - m_baseTick) * TickPeriodNs;
}

void TickSchedule::moveTo(int tick, std::int64_t nowNs)
{
    m_behindNs += nowNs - dueNs(tick);
    m_baseNs = nowNs;
    m_baseTick = tick;
}

} // namespace mq7410
