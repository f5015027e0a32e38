// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A symbolic link that names the supply's pseudo-terminal, whichever it is now: the panel is
// given the link, so that it finds the new line after an unplug by opening the same name.

#include "failure.h"

#include <string>

namespace mq7410::sim {

class DeviceLink
{
public:
    // `path` empty: no link, and every call does nothing.
    explicit DeviceLink(std::string path);
    ~DeviceLink();
    DeviceLink(const DeviceLink &) = delete;
    DeviceLink &operator=(const DeviceLink &) = delete;

    const std::string &path() const { return m_path; }

    // Makes the link name `target`. Whoever opens the path meanwhile finds the old target or
    // the new one, never nothing: a new link is made beside it and renamed over it. Refuses
    // to replace anything but a symbolic link, so that a mistyped path costs no file.
    Status point(const std::string &target);

    // Removes the link if it still names the last target; point() makes it again.
    void remove();

private:
    std::string m_path;
    std::string m_target;
};

} // namespace mq7410::sim
