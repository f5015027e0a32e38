// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace mq7410::test {

// Counts how often anyone on this machine opens one file (Linux inotify), so that a test can
// prove a device was never touched, not merely never written to.
class OpenWatch
{
public:
    explicit OpenWatch(const QString &path);
    ~OpenWatch();
    OpenWatch(const OpenWatch &) = delete;
    OpenWatch &operator=(const OpenWatch &) = delete;

    bool isValid() const { return m_watch >= 0; }
    // Opens seen since the watch was set; -1 when it could not be set.
    int opens();

private:
    int m_fd = -1;
    int m_watch = -1;
    int m_opens = 0;
};

} // namespace mq7410::test
