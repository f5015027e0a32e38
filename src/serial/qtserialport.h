#pragma once

// The supply's serial port on Qt SerialPort: opened write-only, every frame handed whole to the
// operating system before write() returns, drained before it is closed.

#include "serial/linesettings.h"
#include "serial/serialport.h"

#include <QSerialPort>
#include <QString>

namespace mq7410 {

class QtSerialPort final : public SerialPort
{
public:
    // How long write() and close() wait for the operating system to take queued bytes.
    // A frame of at most 18 bytes is on the wire in under 2 ms at 115200 baud, and the system
    // normally takes it at once into a buffer of kilobytes; only a stalled line needs longer.
    // Half a second keeps a stall from freezing the window for long, and stays below the
    // sequence runner's 1000 ms tick so that one failed write cannot swallow a step.
    static constexpr int writeTimeoutMs = 500;

    QtSerialPort();
    ~QtSerialPort() override;

    bool selectPort(int number) override;
    // Kept for the next open(); an open port keeps the settings it was opened with.
    bool setSettings(std::string_view settings) override;
    bool open() override;
    std::int16_t close() override;
    bool write(std::string_view frame) override;
    bool isOpen() const override;
    std::string errorString() const override;
    std::string portDescription() const override;

private:
    void handleError(QSerialPort::SerialPortError error);
    bool applySettings();
    bool waitUntilTaken();
    void release();
    bool fail(const QString &message);
    QString device() const { return QString::fromStdString(m_device); }

    QSerialPort m_port;
    std::string m_device;
    LineSettings m_settings;
    QString m_error;
    bool m_deviceGone = false; // closed on a resource error: later writes fail at once
    bool m_closing = false;
};

} // namespace mq7410
