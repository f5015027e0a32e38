// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Tells a key's first press from the repeats of a key held down, whatever the window system
// reports. X11 sends a held key as a release and a press with the same time stamp, and does
// not always mark the press as a repeat.

#include <cstdint>
#include <map>
#include <set>

namespace mq7410 {

class KeyRepeatFilter
{
public:
    // True for a first press; false for a press of a key that is still down, or one that
    // comes with the time stamp of that key's last release (0: the window system gave none).
    bool press(int key, std::uint64_t timestamp);
    void release(int key, std::uint64_t timestamp);

private:
    std::set<int> m_down;
    std::map<int, std::uint64_t> m_releasedAt;
};

} // namespace mq7410
