#pragma once

// What the serial layer must do per operating system, behind one seam.

#include "serial/linesettings.h"

#include <QSerialPort>
#include <QString>

namespace mq7410 {

struct DrainResult
{
    QSerialPort::SerialPortError error = QSerialPort::NoError;
    QString message; // empty when drained
};

// Waits until the operating system has put every byte it holds for the open `port` onto the
// line. Without flow control the line empties at the baud rate.
DrainResult drainOutput(QSerialPort &port);

// Reads the open `port`'s line settings back from the system: empty when they are `settings`,
// else what differs. Some drivers change what they cannot do without a word (a pty keeps 8 data
// bits and no parity), and Qt takes 1.5 stop bits on Unix without applying them.
QString lineMismatch(QSerialPort &port, const LineSettings &settings);

} // namespace mq7410
