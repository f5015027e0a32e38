// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyrepeat.h"

namespace mq7410 {

bool KeyRepeatFilter::press(int key, std::uint64_t timestamp)
{
    const auto released = m_releasedAt.find(key);
    const bool repeat = m_down.count(key) != 0
                        || (timestamp != 0 && released != m_releasedAt.end()
                            && released->second == timestamp);
    m_down.insert(key);
    return !repeat;
}

void KeyRepeatFilter::release(int key, std::uint64_t timestamp)
{
    m_down.erase(key);
    m_releasedAt[key] = timestamp;
}

} // namespace mq7410
