#include "serial/platformserial.h"

#if defined(Q_OS_WIN)
#include <qt_windows.h>
#elif defined(Q_OS_UNIX)
#include <cerrno>
#include <cstring>
#include <termios.h>
#endif

namespace mq7410 {

#if defined(Q_OS_WIN)

DrainResult drainOutput(QSerialPort &port)
{
    if (FlushFileBuffers(port.handle()))
        return {};
    const DWORD code = GetLastError();
    const auto error = code == ERROR_INVALID_HANDLE || code == ERROR_DEVICE_REMOVED
                                       || code == ERROR_DEVICE_NOT_CONNECTED
                                       || code == ERROR_BAD_COMMAND
                               ? QSerialPort::ResourceError
                               : QSerialPort::WriteError;
    return {error, QStringLiteral("FlushFileBuffers failed (error %1)").arg(code)};
}

QString lineMismatch(QSerialPort &, const LineSettings &)
{
    return {}; // the Windows driver fails SetCommState for what it cannot do
}

#elif defined(Q_OS_UNIX)

DrainResult drainOutput(QSerialPort &port)
{
    int result = 0;
    do {
        result = ::tcdrain(port.handle());
    } while (result == -1 && errno == EINTR);
    if (result == 0)
        return {};
    // EIO, ENXIO, ENODEV: the device has gone (a hung-up tty answers EIO).
    const int code = errno;
    const auto error = code == EIO || code == ENXIO || code == ENODEV || code == EBADF
                               ? QSerialPort::ResourceError
                               : QSerialPort::WriteError;
    return {error, QString::fromLocal8Bit(std::strerror(code))};
}

namespace {

// The speed code of the common rates; 0 for others, which are not checked.
speed_t speedCode(int baudRate)
{
    switch (baudRate) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
    }
    return 0;
}

tcflag_t parityFlags(Parity parity)
{
#ifdef CMSPAR
    const tcflag_t stick = CMSPAR;
#else
    const tcflag_t stick = 0; // mark and space cannot be asked for, nor found
#endif
    switch (parity) {
    case Parity::None:
        return 0;
    case Parity::Even:
        return PARENB;
    case Parity::Odd:
        return PARENB | PARODD;
    case Parity::Mark:
        return PARENB | PARODD | stick;
    case Parity::Space:
        return PARENB | stick;
    }
    return 0;
}

} // namespace

QString lineMismatch(QSerialPort &port, const LineSettings &settings)
{
    termios line{};
    if (::tcgetattr(port.handle(), &line) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    if ((line.c_cflag & CSIZE) != sizes[settings.dataBits - 5])
        return QStringLiteral("%1 data bits are not available").arg(settings.dataBits);
    if ((line.c_cflag & (PARENB | PARODD | parityFlags(Parity::Mark)))
        != parityFlags(settings.parity))
        return QStringLiteral("this parity is not available");
    if (settings.stopBits == StopBits::OneAndHalf)
        return QStringLiteral("1.5 stop bits are not available");
    if (((line.c_cflag & CSTOPB) != 0) != (settings.stopBits == StopBits::Two))
        return QStringLiteral("this number of stop bits is not available");
    const speed_t code = speedCode(settings.baudRate);
    if (code != 0 && ::cfgetospeed(&line) != code)
        return QStringLiteral("%1 baud is not available").arg(settings.baudRate);
    return {};
}

#else

DrainResult drainOutput(QSerialPort &)
{
    return {}; // no known way to wait for the line here; what is queued goes out on its own
}

QString lineMismatch(QSerialPort &, const LineSettings &)
{
    return {};
}

#endif

} // namespace mq7410
