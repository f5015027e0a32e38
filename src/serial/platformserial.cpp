// SPDX-License-Identifier: GPL-3.0-or-later
#include "platformserial.h"

#include <algorithm>
#include <climits>

#if defined(Q_OS_UNIX)
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace mq7410 {

namespace {

int remainingMs(const QDeadlineTimer &deadline)
{
    return int(std::clamp<qint64>(deadline.remainingTime(), 0, INT_MAX));
}

} // namespace

#if defined(Q_OS_UNIX)

namespace {

// How long to sleep between two looks at a queue that only empties at the line's pace.
constexpr int NapMs = 5;

// A hung-up tty answers EIO; a pulled adapter ENXIO or ENODEV.
bool meansGone(int code)
{
    return code == EIO || code == ENXIO || code == ENODEV || code == EBADF;
}

QString systemWords(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

bool hangUpSeen(const pollfd &watch)
{
    return (watch.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void nap(const QDeadlineTimer &deadline)
{
    ::poll(nullptr, 0, std::min(NapMs, remainingMs(deadline)));
}

} // namespace

HandOver handOver(QSerialPort &port, std::string_view bytes, const QDeadlineTimer &deadline)
{
    const int fd = port.handle();
    bool woken = false;
    for (;;) {
        const ssize_t count = ::write(fd, bytes.data(), bytes.size());
        if (count > 0)
            return {std::size_t(count), false, {}};
        const int code = count < 0 ? errno : EAGAIN;
        if (code == EINTR)
            continue;
        if (code != EAGAIN && code != EWOULDBLOCK)
            return {0, meansGone(code), systemWords(code)};
        if (deadline.hasExpired())
            return {};
        if (woken)
            nap(deadline); // said to have room, then took nothing: do not spin on it
        pollfd watch{fd, POLLOUT, 0};
        const int ready = ::poll(&watch, 1, remainingMs(deadline));
        if (ready < 0 && errno != EINTR)
            return {0, false, systemWords(errno)};
        if (ready > 0 && hangUpSeen(watch))
            return {0, true, QStringLiteral("the line hung up")};
        woken = ready > 0;
    }
}

bool hungUp(QSerialPort &port)
{
    pollfd watch{port.handle(), POLLOUT, 0};
    int ready = 0;
    do {
        ready = ::poll(&watch, 1, 0);
    } while (ready < 0 && errno == EINTR);
    return ready > 0 && hangUpSeen(watch);
}

bool drainOutput(QSerialPort &port, const QDeadlineTimer &deadline)
{
    // tcdrain() would be exact, but it cannot be given a deadline.
    int queued = 0;
    while (::ioctl(port.handle(), TIOCOUTQ, &queued) == 0 && queued > 0 && !deadline.hasExpired())
        nap(deadline);
    return queued == 0;
}

void discardOutput(QSerialPort &port)
{
    ::tcflush(port.handle(), TCOFLUSH);
}

QSerialPort::SerialPortError releasePort(QSerialPort &port)
{
    // Qt 6 puts the settings it found back when it closes, and has no switch to keep ours.
    // So the device is let go here (dup2 closes it) and Qt's close meets /dev/null instead.
    const int fd = port.handle();
#ifdef TIOCNXCL
    ::ioctl(fd, TIOCNXCL); // Qt's close would have done it, on the device
#endif
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    const bool swapped = null >= 0 && ::dup2(null, fd) == fd;
    if (null >= 0)
        ::close(null);
    port.clearError();
    port.close();
    if (swapped)
        port.clearError(); // Qt's complaints are about /dev/null
    return port.error();
}

QString lineMismatch(QSerialPort &port)
{
    termios line{};
    if (::tcgetattr(port.handle(), &line) != 0)
        return systemWords(errno);
    if ((line.c_cflag & CSIZE) != CS8)
        return QStringLiteral("8 data bits are not available");
    if ((line.c_cflag & PARENB) != 0)
        return QStringLiteral("the parity bit stays on");
    if ((line.c_cflag & CSTOPB) != 0)
        return QStringLiteral("1 stop bit is not available");
    if (::cfgetospeed(&line) != B115200)
        return QStringLiteral("115200 baud is not available");
#ifdef CRTSCTS
    if ((line.c_cflag & CRTSCTS) != 0)
        return QStringLiteral("hardware flow control stays on");
#endif
    if ((line.c_iflag & IXON) != 0)
        return QStringLiteral("XON/XOFF flow control stays on");
    return {};
}

QString canonicalDevice(const QString &name)
{
    const QString canonical = QFileInfo(name).canonicalFilePath();
    return canonical.isEmpty() ? name : canonical;
}

bool writeDenied(const QString &device)
{
    return ::access(QFile::encodeName(device).constData(), W_OK) != 0
           && (errno == EACCES || errno == EPERM);
}

#else

// Qt keeps what the system has not taken yet, and sends it on its own; a frame is offered only
// once everything before it is gone, so that it is still taken whole or not at all.

HandOver handOver(QSerialPort &port, std::string_view bytes, const QDeadlineTimer &deadline)
{
    port.clearError();
    drainOutput(port, deadline);
    if (port.error() == QSerialPort::ResourceError)
        return {0, true, port.errorString()};
    if (port.bytesToWrite() > 0)
        return {};
    const qint64 queued = port.write(bytes.data(), qint64(bytes.size()));
    if (queued <= 0)
        return {0, port.error() == QSerialPort::ResourceError, port.errorString()};
    port.waitForBytesWritten(remainingMs(deadline));
    return {std::size_t(queued), false, {}};
}

bool hungUp(QSerialPort &port)
{
    return port.error() == QSerialPort::ResourceError;
}

bool drainOutput(QSerialPort &port, const QDeadlineTimer &deadline)
{
    while (port.bytesToWrite() > 0 && port.waitForBytesWritten(remainingMs(deadline))) {}
    return port.bytesToWrite() == 0;
}

void discardOutput(QSerialPort &port)
{
    port.clear(QSerialPort::Output);
}

QSerialPort::SerialPortError releasePort(QSerialPort &port)
{
    port.clearError();
    port.close();
    return port.error();
}

QString lineMismatch(QSerialPort &)
{
    return {}; // the Windows driver fails SetCommState for what it cannot do
}

QString canonicalDevice(const QString &name)
{
    return name; // COMn has one name
}

bool writeDenied(const QString &)
{
    return false; // Windows answers "access denied" for a port held by another program
}

#endif

} // namespace mq7410
