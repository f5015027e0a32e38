#include "serial/qtserialport.h"

#include "serial/closeerror.h"
#include "serial/platformserial.h"
#include "serial/systemports.h"

#include <QDeadlineTimer>

namespace mq7410 {

namespace {

QSerialPort::Parity toQt(Parity parity)
{
    switch (parity) {
    case Parity::None:
        return QSerialPort::NoParity;
    case Parity::Even:
        return QSerialPort::EvenParity;
    case Parity::Odd:
        return QSerialPort::OddParity;
    case Parity::Mark:
        return QSerialPort::MarkParity;
    case Parity::Space:
        return QSerialPort::SpaceParity;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits toQt(StopBits stopBits)
{
    switch (stopBits) {
    case StopBits::One:
        return QSerialPort::OneStop;
    case StopBits::OneAndHalf:
        return QSerialPort::OneAndHalfStop;
    case StopBits::Two:
        return QSerialPort::TwoStop;
    }
    return QSerialPort::OneStop;
}

} // namespace

QtSerialPort::QtSerialPort()
{
    // The port is the context: the connection cannot outlive it, nor this object.
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
                     [this](QSerialPort::SerialPortError error) { handleError(error); });
}

QtSerialPort::~QtSerialPort()
{
    if (m_port.isOpen())
        close();
}

bool QtSerialPort::selectPort(int number)
{
    if (m_port.isOpen())
        return fail(QStringLiteral("Close the port before selecting another one."));
    m_device = systemDeviceForPort(number);
    if (m_device.empty())
        return fail(QStringLiteral("There is no port COM %1 on this machine.").arg(number));
    return true;
}

bool QtSerialPort::setSettings(std::string_view settings)
{
    const std::optional<LineSettings> parsed = parseLineSettings(settings);
    if (!parsed) {
        const auto text = QString::fromUtf8(settings.data(), qsizetype(settings.size()));
        return fail(QStringLiteral("The line settings \"%1\" are not understood.").arg(text));
    }
    m_settings = *parsed;
    return true;
}

bool QtSerialPort::open()
{
    if (m_port.isOpen())
        return fail(QStringLiteral("The port is already open."));
    if (m_device.empty())
        return fail(QStringLiteral("No port is selected."));
    m_deviceGone = false;
    m_error.clear();
    m_port.setPortName(device());
    // Write-only: the supply never answers, and Qt 6.4 mishandles reads on a port opened for them.
    if (!m_port.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Cannot open %1: %2").arg(device(), m_port.errorString()));
    const bool applied = applySettings();
    const QString reason = applied ? lineMismatch(m_port, m_settings) : m_port.errorString();
    if (!applied || !reason.isEmpty()) {
        release();
        return fail(QStringLiteral("%1 refuses the line settings: %2").arg(device(), reason));
    }
    return true;
}

bool QtSerialPort::applySettings()
{
    return m_port.setBaudRate(m_settings.baudRate)
           && m_port.setDataBits(QSerialPort::DataBits(m_settings.dataBits))
           && m_port.setParity(toQt(m_settings.parity))
           && m_port.setStopBits(toQt(m_settings.stopBits))
           && m_port.setFlowControl(QSerialPort::NoFlowControl);
}

bool QtSerialPort::write(std::string_view frame)
{
    if (m_deviceGone)
        return false; // m_error still tells why, and nothing is tried
    if (!m_port.isOpen())
        return fail(QStringLiteral("The port is not open."));
    m_port.clearError();
    const auto size = qint64(frame.size());
    const qint64 queued = m_port.write(frame.data(), size);
    if (queued == size && waitUntilTaken())
        return true;
    if (m_deviceGone)
        return false;

    QString message;
    if (queued < 0 || (queued == size && m_port.error() != QSerialPort::TimeoutError))
        message = QStringLiteral("Writing to %1 failed: %2").arg(device(), m_port.errorString());
    else if (queued < size)
        message = QStringLiteral("The serial layer took only %1 of the frame's %2 bytes.")
                          .arg(queued)
                          .arg(size);
    else
        message = QStringLiteral("%1 did not take the frame within %2 ms.")
                          .arg(device())
                          .arg(writeTimeoutMs);
    // Whatever is still queued must not reach the supply later, when nobody expects it.
    m_port.clear(QSerialPort::Output);
    return fail(message + QStringLiteral(" Output still queued was discarded."));
}

bool QtSerialPort::waitUntilTaken()
{
    const QDeadlineTimer deadline(writeTimeoutMs);
    while (m_port.isOpen() && m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(int(deadline.remainingTime())))
            break;
    }
    return m_port.isOpen() && m_port.bytesToWrite() == 0;
}

std::int16_t QtSerialPort::close()
{
    if (m_deviceGone)
        return commErrorCode(QSerialPort::ResourceError); // closed already; m_error says why
    if (!m_port.isOpen()) {
        fail(QStringLiteral("The port is not open."));
        return commErrorCode(QSerialPort::NotOpenError);
    }
    // Qt's own close() drops its buffer and restores the old line settings at once, so
    // everything is handed over and put on the line first.
    m_port.clearError();
    auto error = QSerialPort::NoError;
    QString reason;
    if (!waitUntilTaken()) {
        if (m_deviceGone)
            return commErrorCode(QSerialPort::ResourceError);
        error = m_port.error() == QSerialPort::NoError ? QSerialPort::TimeoutError : m_port.error();
        reason = m_port.errorString();
        m_port.clear(QSerialPort::Output); // the line does not move: do not wait on it
    } else if (const DrainResult drained = drainOutput(m_port);
               drained.error != QSerialPort::NoError) {
        error = drained.error;
        reason = drained.message;
    }
    m_port.clearError();
    release();
    if (error == QSerialPort::NoError && m_port.error() != QSerialPort::NoError) {
        error = m_port.error();
        reason = m_port.errorString();
    }
    if (error != QSerialPort::NoError)
        fail(QStringLiteral("Closing %1: %2").arg(device(), reason));
    return commErrorCode(error);
}

void QtSerialPort::release()
{
    // Closing can report errors of its own; they must not start another close.
    m_closing = true;
    m_port.close();
    m_closing = false;
}

void QtSerialPort::handleError(QSerialPort::SerialPortError error)
{
    // When the adapter is gone, Qt reports a resource error again and again for as long as the
    // port stays open: close it on the first one.
    if (error != QSerialPort::ResourceError || m_closing || m_deviceGone || !m_port.isOpen())
        return;
    m_deviceGone = true;
    m_error = QStringLiteral("The device on %1 is gone (%2); its port was closed.")
                      .arg(device(), m_port.errorString());
    release();
}

bool QtSerialPort::isOpen() const
{
    return m_port.isOpen();
}

std::string QtSerialPort::errorString() const
{
    return m_error.toStdString();
}

std::string QtSerialPort::portDescription() const
{
    return describeDevice(m_device);
}

bool QtSerialPort::fail(const QString &message)
{
    m_error = message;
    return false;
}

} // namespace mq7410
