// SPDX-License-Identifier: GPL-3.0-or-later
#include "tickschedule.h"

namespace mq7410 {

void TickSchedule::start(std::int64_t nowNs)
{
    m_startNs = nowNs;
    m_behindNs = 0;
}

std::int64_t TickSchedule::dueNs(std::int64_t tick) const
{
    return m_startNs + tick * TickPeriodNs + m_behindNs;
}

void TickSchedule::moveTo(std::int64_t tick, std::int64_t nowNs)
{
    m_behindNs += nowNs - dueNs(tick);
}

} // namespace mq7410
