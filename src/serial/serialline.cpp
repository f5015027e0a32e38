#include "serial/serialline.h"

#include "serial/platformserial.h"
#include "serial/systemports.h"

#include <QStringDecoder>

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

} // namespace

SerialLine::SerialLine()
{
    // Applied by every open.
    m_port.setBaudRate(QSerialPort::Baud115200);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    // The rest of a frame goes out as soon as the line moves again, not with the next frame:
    // the supply must not wait for a click to get what the panel already shows as sent.
    m_handOnTimer.setInterval(10);
    QObject::connect(&m_handOnTimer, &QTimer::timeout, &m_handOnTimer, [this] {
        if (m_port.isOpen() && handOnAll(m_port, m_unsent, deadlineIn({})).gone)
            lineGone(QStringLiteral("the rest of a frame could not go out"));
        if (m_unsent.empty() || !m_port.isOpen())
            m_handOnTimer.stop();
    });
}

SerialLine::~SerialLine()
{
    shutdown(std::chrono::milliseconds(0));
}

PortTrial SerialLine::open(int number)
{
    PortTrial trial;
    const std::string entry = systemDeviceForPort(number);
    if (entry.empty())
        return trial;
    if (m_port.isOpen()) {
        trial.device = QString::fromStdString(entry).toStdString();
        trial.reason = "this program holds " + m_device + " already";
        return trial;
    }
    m_number = number;
    m_entry = entry;
    m_disconnectReason.clear();
    trial.reason = openEntry();
    trial.device = m_device;
    trial.opened = trial.reason.empty();
    if (trial.opened)
        trial.description = describeDevice(m_device);
    return trial;
}

std::string SerialLine::openEntry()
{
    m_unsent.clear();
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString name = decoder.decode(QByteArrayView(m_entry.data(), qsizetype(m_entry.size())));
    m_device = name.toStdString(); // readable even when not UTF-8, for the reason to name it
    if (decoder.hasError())
        return "the device name is not valid UTF-8";
    // Qt names its lock file after the device it is given: one device, one name.
    const QString device = canonicalDevice(name);
    m_device = device.toStdString();
    m_port.setPortName(device);
    m_port.clearError();
    // Write-only: the supply never answers, and Qt 6.4 mishandles reads on a port opened for them.
    if (!m_port.open(QIODevice::WriteOnly)) {
        if (m_port.error() != QSerialPort::PermissionError)
            return m_port.errorString().toStdString();
        return writeDenied(device) ? "permission denied" : "held by another program";
    }
    if (const QString mismatch = lineMismatch(m_port); !mismatch.isEmpty()) {
        releasePort(m_port);
        return "it does not take " + settingsText() + ": " + mismatch.toStdString();
    }
    return {};
}

std::string SerialLine::close()
{
    if (!m_port.isOpen())
        return closeErrorText(m_disconnectReason.empty() ? QSerialPort::NotOpenError
                                                         : QSerialPort::ResourceError);
    auto error = QSerialPort::NoError;
    if (hungUp(m_port)) {
        error = QSerialPort::ResourceError;
    } else if (const HandOver left = handOnAll(m_port, m_unsent, deadlineIn(WriteDeadline));
               !m_unsent.empty()) {
        error = left.gone ? QSerialPort::ResourceError : QSerialPort::WriteError;
    }
    const QSerialPort::SerialPortError released = letGo();
    return closeErrorText(error != QSerialPort::NoError ? error : released);
}

WriteResult SerialLine::write(std::string_view frame)
{
    if (!m_disconnectReason.empty())
        return {false, m_disconnectReason}; // closed already: nothing is tried
    if (!m_port.isOpen())
        return {false, "No port is open."};
    const QDeadlineTimer deadline = deadlineIn(WriteDeadline);
    static const std::string within = " within " + std::to_string(WriteDeadline.count()) + " ms";
    const auto refuse = [this](const HandOver &offer, const std::string &stall) -> WriteResult {
        if (offer.gone)
            return lineGone(offer.error);
        if (!offer.error.isEmpty())
            return {false, "Writing to " + m_device + " failed: " + offer.error.toStdString()
                                   + ". The frame was not sent."};
        return {false, "The line on " + m_device + " is stalled: " + stall};
    };

    // The end of an earlier frame goes first, or the supply would read the two as one.
    if (const HandOver left = handOnAll(m_port, m_unsent, deadline); !m_unsent.empty())
        return refuse(left, "the end of an earlier frame has not gone out" + within
                                    + ", so this frame was not sent.");
    if (frame.empty())
        return {true, {}};
    const HandOver first = handOver(m_port, frame, deadline);
    if (first.taken == 0)
        return refuse(first, "it took nothing of the frame" + within + ". It was not sent.");
    // Part of it is on its way: the rest must follow, now if the line lets it, else before the
    // next frame.
    m_unsent.assign(frame.substr(first.taken));
    if (const HandOver rest = handOnAll(m_port, m_unsent, deadline); rest.gone)
        return lineGone(rest.error);
    if (!m_unsent.empty())
        m_handOnTimer.start();
    return {true, {}};
}

WriteResult SerialLine::lineGone(const QString &words)
{
    m_disconnectReason = "The device " + m_device + " is gone or the far end hung up ("
                         + words.toStdString() + "); its port was closed.";
    letGo();
    return {false, m_disconnectReason};
}

bool SerialLine::isOpen() const
{
    return m_port.isOpen();
}

std::string SerialLine::settingsText()
{
    return "115200 8N1";
}

std::string SerialLine::reconnect()
{
    if (m_port.isOpen())
        return {};
    if (m_entry.empty())
        return "No port was opened before.";
    std::string reason = openEntry();
    if (reason.empty())
        m_disconnectReason.clear();
    return reason;
}

void SerialLine::shutdown(std::chrono::milliseconds bound)
{
    if (!m_port.isOpen())
        return;
    const QDeadlineTimer deadline = deadlineIn(bound);
    if (!handOnAll(m_port, m_unsent, deadline).gone && !hungUp(m_port)
        && !drainOutput(m_port, deadline))
        discardOutput(m_port); // the line does not move: the end must not wait for it
    letGo();
}

QSerialPort::SerialPortError SerialLine::letGo()
{
    m_unsent.clear(); // once the port is let go nothing can complete it
    m_handOnTimer.stop();
    return releasePort(m_port);
}

} // namespace mq7410
