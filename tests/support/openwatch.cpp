// SPDX-License-Identifier: GPL-3.0-or-later
#include "openwatch.h"

#include <QFile>

#include <sys/inotify.h>
#include <unistd.h>

namespace mq7410::test {

OpenWatch::OpenWatch(const QString &path)
    : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    if (m_fd >= 0)
        m_watch = ::inotify_add_watch(m_fd, QFile::encodeName(path).constData(), IN_OPEN);
}

OpenWatch::~OpenWatch()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int OpenWatch::opens()
{
    if (!isValid())
        return -1;
    alignas(inotify_event) char buffer[4096];
    ssize_t count = 0;
    while ((count = ::read(m_fd, buffer, sizeof buffer)) > 0) {
        for (ssize_t at = 0; at < count;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            if (event->mask & IN_OPEN)
                ++m_opens;
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    return m_opens;
}

} // namespace mq7410::test
