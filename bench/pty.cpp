#include "pty.h"

#include "benchtools.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace mq7410::bench {

Pty::Pty()
    : m_master(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC))
{
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        die("posix_openpt");
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slavePath = ::ptsname(m_master);
}

Pty::~Pty()
{
    ::close(m_master);
}

void Pty::readExactly(int count)
{
    char buffer[64];
    while (count > 0) {
        const ssize_t got = ::read(m_master, buffer, std::size_t(std::min(count, 64)));
        if (got > 0) {
            count -= int(got);
            continue;
        }
        if (got < 0 && errno != EAGAIN && errno != EINTR)
            die("reading the pseudo-terminal");
        pollfd entry{m_master, POLLIN, 0};
        if (::poll(&entry, 1, 2000) == 0) {
            errno = ETIMEDOUT;
            die("waiting for a frame");
        }
    }
}

int Pty::openSlaveLikeThePanel() const
{
    const int fd = ::open(m_slavePath.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    termios line{};
    if (fd < 0 || ::tcgetattr(fd, &line) != 0)
        die("opening the pseudo-terminal");
    ::cfmakeraw(&line);
    ::cfsetspeed(&line, B115200);
    line.c_cflag |= CLOCAL;
    if (::tcsetattr(fd, TCSANOW, &line) != 0)
        die("setting the line");
    return fd;
}

} // namespace mq7410::bench
