// SPDX-License-Identifier: GPL-3.0-or-later
#include "pseudoterminal.h"

#if !defined(__unix__) && !defined(__APPLE__)
#error "mq7410-sim opens a POSIX pseudo-terminal: it is for Unix-like systems only"
#endif

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace mq7410::sim {

namespace {

constexpr std::size_t MaxBytesPerRead = std::size_t{64} * 1024;

bool addDescriptorFlags(int descriptor, int fileStatusFlags)
{
    const int status = ::fcntl(descriptor, F_GETFL);
    // Close-on-exec: a COMMAND that kept the master open would hide our hang-up from itself.
    return status >= 0 && ::fcntl(descriptor, F_SETFL, status | fileStatusFlags) == 0
           && ::fcntl(descriptor, F_SETFD, FD_CLOEXEC) == 0;
}

Failure portFailure(const std::string &what)
{
    return {FailureKind::Port, what + ": " + std::strerror(errno)};
}

} // namespace

PseudoTerminal::~PseudoTerminal()
{
    close();
}

Status PseudoTerminal::open()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return portFailure("posix_openpt");
    const char *path = nullptr;
    if (!addDescriptorFlags(m_master, O_NONBLOCK) || ::grantpt(m_master) != 0
        || ::unlockpt(m_master) != 0 || !(path = ::ptsname(m_master))) {
        const Failure failure = portFailure("preparing the pseudo-terminal");
        close();
        return failure;
    }
    m_slavePath = path;

    m_slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY);
    termios attributes{};
    if (m_slave < 0 || !addDescriptorFlags(m_slave, 0) || ::tcgetattr(m_slave, &attributes) != 0) {
        const Failure failure = portFailure("opening " + m_slavePath);
        close();
        return failure;
    }
    // Raw: no echo, no line editing, no CR/LF translation, 8 data bits, no parity.
    ::cfmakeraw(&attributes);
    if (::tcsetattr(m_slave, TCSANOW, &attributes) != 0) {
        const Failure failure = portFailure("setting raw mode");
        close();
        return failure;
    }
    return {};
}

void PseudoTerminal::close()
{
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
}

PseudoTerminal::ReadResult PseudoTerminal::read(std::string &bytes)
{
    if (m_master < 0)
        return ReadResult::Failed;
    char buffer[4096];
    std::size_t total = 0;
    while (total < MaxBytesPerRead) {
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count > 0) {
            bytes.append(buffer, static_cast<std::size_t>(count));
            total += static_cast<std::size_t>(count);
        } else if (count < 0 && errno == EINTR) {
            continue;
        } else if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break;
        } else {
            return total ? ReadResult::Data : ReadResult::Failed;
        }
    }
    return total ? ReadResult::Data : ReadResult::NothingWaiting;
}

std::optional<LineSettings> PseudoTerminal::lineSettings() const
{
    termios attributes{};
    if (m_slave < 0 || ::tcgetattr(m_slave, &attributes) != 0)
        return std::nullopt;
    return lineSettingsFrom(attributes);
}

bool PseudoTerminal::isHeldExclusively() const
{
#ifdef TIOCGEXCL
    // The flag belongs to the terminal, not to a descriptor: our own slave descriptor shows it.
    int exclusive = 0;
    if (m_slave >= 0 && ::ioctl(m_slave, TIOCGEXCL, &exclusive) == 0)
        return exclusive != 0;
#endif
    return true;
}

} // namespace mq7410::sim
