// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the serial line must do per operating system, behind one seam. On Unix the bytes go
// straight to the port's non-blocking descriptor, so that the program knows how much of a
// frame the system took; elsewhere Qt's own buffered writes stand in.

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QString>

#include <cstddef>
#include <string_view>

namespace mq7410 {

struct HandOver
{
    std::size_t taken = 0; // 0: the line stayed full until the deadline, or `error` says why
    bool gone = false;     // the device is gone or the far end hung up
    QString error;         // the system's words for a failure; empty when none
};

// Offers `bytes` to the open `port` in one write, waiting until `deadline` at most for room.
// Whatever the system did not take is the caller's to keep: nothing is ever discarded.
HandOver handOver(QSerialPort &port, std::string_view bytes, const QDeadlineTimer &deadline);

// True when the device of the open `port` is gone or its far end hung up.
bool hungUp(QSerialPort &port);

// Waits until the system has put what it holds for `port` onto the line, or until `deadline`.
// False when output is still queued then.
bool drainOutput(QSerialPort &port, const QDeadlineTimer &deadline);

// Drops what the system still holds for `port`: only when the program ends on a stalled line,
// where closing would otherwise wait for the line (up to half a minute on a serial port).
void discardOutput(QSerialPort &port);

// Closes the open `port` and leaves its line settings as they are: the far end must not see
// the line change when the program lets go. Returns what went wrong, else NoError.
QSerialPort::SerialPortError releasePort(QSerialPort &port);

// The open `port`'s line settings read back from the system: empty when they are 115200 baud,
// 8 data bits, no parity, 1 stop bit and no flow control, else what differs. Some drivers
// change what they cannot do without a word.
QString lineMismatch(QSerialPort &port);

// The device `name` stands for, links resolved, so that one device has one name and one lock
// file; `name` itself when it cannot be resolved.
QString canonicalDevice(const QString &name);

// True when the system would refuse this user the device for writing, whoever holds it.
bool writeDenied(const QString &device);

} // namespace mq7410
