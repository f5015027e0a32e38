// SPDX-License-Identifier: GPL-3.0-or-later
#include "serialline.h"

#include "lineformat.h"
#include "platformserial.h"

#include <QSocketNotifier>

namespace mq7410 {

namespace {

// What a failed close shows, as the serial layer has always spelled it.
std::string closeErrorText(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
        return {};
    case QSerialPort::NotOpenError:
        return "Device not Open";
    case QSerialPort::OpenError:
    case QSerialPort::PermissionError:
        return "Device already open";
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::ResourceError:
        return "Hardware not present";
    case QSerialPort::WriteError:
    case QSerialPort::TimeoutError:
        return "Tx queue is full";
    case QSerialPort::UnsupportedOperationError:
        return "Requested mode unsupported";
    case QSerialPort::ReadError:
    case QSerialPort::UnknownError:
        break;
    }
    return "Unlist error : 16384 (&H4000)";
}

Status closeStatus(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError)
        return {};
    return Failure{FailureKind::Port, closeErrorText(error)};
}

// Offers `bytes` until the system has taken all of them or `deadline` passes; what it took
// leaves `bytes`. The last offer's outcome when something is left, else an empty one.
HandOver handOnAll(QSerialPort &port, std::string &bytes, const QDeadlineTimer &deadline)
{
    while (!bytes.empty()) {
        HandOver offer = handOver(port, bytes, deadline);
        if (offer.taken == 0)
            return offer;
        bytes.erase(0, offer.taken);
    }
    return {};
}

QDeadlineTimer deadlineIn(std::chrono::milliseconds time)
{
    return {time, Qt::PreciseTimer};
}

const std::string Within = " within " + std::to_string(SerialLine::WriteDeadline.count()) + " ms";

} // namespace

SerialLine::SerialLine(QObject *parent)
    : QObject(parent)
{
    // Applied by every open.
    static_assert(SupplyLineFormat == LineFormat{115200, 8, 'N', 1});
    m_port.setBaudRate(QSerialPort::Baud115200);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    // The rest of a frame goes out as soon as the line moves again, not with the next frame:
    // the supply must not wait for a click to get the rest of what it began to read.
    m_handOnTimer.setInterval(10);
    connect(&m_handOnTimer, &QTimer::timeout, this, &SerialLine::handOnRest);
}

SerialLine::~SerialLine()
{
    (void)shutdown(std::chrono::milliseconds(0));
}

Status SerialLine::close()
{
    if (!m_port.isOpen())
        return closeStatus(m_disconnectReason.empty() ? QSerialPort::NotOpenError
                                                      : QSerialPort::ResourceError);
    auto error = QSerialPort::NoError;
    if (hungUp(m_port)) {
        error = QSerialPort::ResourceError;
    } else if (const HandOver left = handOnAll(m_port, m_unsent, deadlineIn(WriteDeadline));
               !m_unsent.empty()) {
        error = left.gone ? QSerialPort::ResourceError : QSerialPort::WriteError;
    }
    const QSerialPort::SerialPortError released = letGo();
    return closeStatus(error != QSerialPort::NoError ? error : released);
}

Result<Delivery> SerialLine::write(std::string_view frame)
{
    if (!m_disconnectReason.empty())
        return Failure{FailureKind::Line, m_disconnectReason}; // closed already: nothing is tried
    if (!m_port.isOpen())
        return Failure{FailureKind::Line, "No port is open."};
    if (!m_unsent.empty()) // the panel finishes a Waiting frame before it writes the next
        return Failure{FailureKind::Busy, "the end of an earlier frame has not gone out yet"};
    if (frame.empty())
        return Delivery::Sent;
    const QDeadlineTimer deadline = deadlineIn(WriteDeadline);
    const HandOver first = handOver(m_port, frame, deadline);
    if (first.taken == 0) {
        if (first.gone)
            return lineGone(first.error);
        if (!first.error.isEmpty())
            return Failure{FailureKind::Line, "Writing to " + m_device
                                                      + " failed: " + first.error.toStdString()
                                                      + ". The frame was not sent."};
        return Failure{FailureKind::Line, "The line on " + m_device
                                                  + " is stalled: it took "
                                                    "nothing of the frame"
                                                  + Within + ". It was not sent."};
    }
    // Part of it is on its way: the rest must follow, now if the line lets it, else as soon as
    // it moves.
    m_unsent.assign(frame.substr(first.taken));
    if (const HandOver rest = handOnAll(m_port, m_unsent, deadline); rest.gone) {
        lineGone(rest.error);
        return Delivery::Waiting; // cut: the owner hears it through lost()
    }
    if (m_unsent.empty())
        return Delivery::Sent;
    m_handOnTimer.start();
    return Delivery::Waiting;
}

Status SerialLine::finishWaiting()
{
    if (m_unsent.empty())
        return m_disconnectReason.empty() ? Status()
                                          : Failure{FailureKind::Line, m_disconnectReason};
    const HandOver left = handOnAll(m_port, m_unsent, deadlineIn(WriteDeadline));
    if (left.gone)
        return lineGone(left.error);
    if (!m_unsent.empty()) {
        return Failure{FailureKind::Busy, "The line on " + m_device
                                                  + " is stalled: the end of an earlier frame has "
                                                    "not gone out"
                                                  + Within + ", so this frame was not sent."};
    }
    m_handOnTimer.stop();
    return {};
}

void SerialLine::handOnRest()
{
    if (!m_port.isOpen() || m_unsent.empty()) {
        m_handOnTimer.stop();
        return;
    }
    const HandOver offer = handOnAll(m_port, m_unsent, deadlineIn({}));
    if (offer.gone) {
        const Failure gone = lineGone(offer.error);
        emit waitingSettled(gone);
    } else if (m_unsent.empty()) {
        m_handOnTimer.stop();
        emit waitingSettled({});
    }
}

Failure SerialLine::lineGone(const QString &words)
{
    const bool cut = !m_unsent.empty();
    m_disconnectReason = "The device " + m_device + " is gone or the far end hung up ("
                         + words.toStdString() + "); its port was closed.";
    if (cut)
        m_disconnectReason += " A frame was cut: the supply will misread the next frame it gets.";
    letGo();
    emit lost(QString::fromStdString(m_disconnectReason));
    return {FailureKind::Line, m_disconnectReason};
}

void SerialLine::watchForHangUp()
{
#if defined(Q_OS_UNIX)
    // A hang-up shows at once on the descriptor, even one opened for writing only.
    m_hangUpWatch = new QSocketNotifier(m_port.handle(), QSocketNotifier::Read, this);
    connect(m_hangUpWatch, &QSocketNotifier::activated, this, [this] {
        if (m_port.isOpen() && hungUp(m_port))
            lineGone(QStringLiteral("the line hung up"));
        else if (m_hangUpWatch)
            m_hangUpWatch->setEnabled(false); // nothing to read on this line: do not spin
    });
#endif
}

bool SerialLine::isOpen() const
{
    return m_port.isOpen();
}

Status SerialLine::shutdown(std::chrono::milliseconds bound)
{
    if (!m_port.isOpen())
        return {};
    const QDeadlineTimer deadline = deadlineIn(bound);
    const bool restLeft = !handOnAll(m_port, m_unsent, deadline).gone && !m_unsent.empty();
    bool drained = true;
    if (!hungUp(m_port) && !drainOutput(m_port, deadline)) {
        discardOutput(m_port); // the line does not move: the end must not wait for it
        drained = false;
    }
    const bool cut = restLeft || !m_unsent.empty() || !drained;
    letGo();
    if (cut) {
        return Failure{FailureKind::Line, "Part of a frame did not go out before the end: the "
                                          "supply will misread the next frame it gets. Switch it "
                                          "off and on before you use it again."};
    }
    return {};
}

QSerialPort::SerialPortError SerialLine::letGo()
{
    m_unsent.clear(); // once the port is let go nothing can complete it
    m_handOnTimer.stop();
    if (m_hangUpWatch) {
        // Possibly from inside its own signal: it goes once that has returned.
        m_hangUpWatch->setEnabled(false);
        m_hangUpWatch->deleteLater();
        m_hangUpWatch = nullptr;
    }
    return releasePort(m_port);
}

} // namespace mq7410
