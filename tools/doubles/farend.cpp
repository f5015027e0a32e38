// SPDX-License-Identifier: GPL-3.0-or-later
#include "farend.h"

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <utility>

namespace mq7410::test {

FarEnd::FarEnd(bool holdSlave)
    : m_master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
{
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        hangUp();
        return;
    }
    m_device = ::ptsname(m_master);
    if (holdSlave)
        m_slave = ::open(m_device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
}

FarEnd::~FarEnd()
{
    hangUp();
    if (m_slave >= 0)
        ::close(m_slave);
}

void FarEnd::hangUp()
{
    if (m_master >= 0)
        ::close(std::exchange(m_master, -1));
}

std::string FarEnd::readAll(int quietMs)
{
    std::string data;
    char buffer[4096];
    pollfd watch{m_master, POLLIN, 0};
    ssize_t count = 0;
    while (::poll(&watch, 1, quietMs) > 0 && (count = ::read(m_master, buffer, sizeof buffer)) > 0)
        data.append(buffer, std::size_t(count));
    return data;
}

std::string FarEnd::readExactly(std::size_t count, int timeoutMs)
{
    std::string data;
    char buffer[64];
    pollfd watch{m_master, POLLIN, 0};
    while (data.size() < count && ::poll(&watch, 1, timeoutMs) > 0) {
        const ssize_t got = ::read(m_master, buffer, std::min(sizeof buffer, count - data.size()));
        if (got <= 0)
            break;
        data.append(buffer, std::size_t(got));
    }
    return data;
}

} // namespace mq7410::test
