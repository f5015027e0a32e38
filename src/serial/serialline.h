#pragma once

// The supply's serial line on Qt SerialPort: COM n found by portmap.h, opened write-only and
// for this program alone at 115200 baud 8N1 without flow control, the settings read back, and
// every frame handed on whole or not at all.

#include "core/framelink.h"
#include "core/portwalk.h"

#include <QSerialPort>
#include <QTimer>

#include <chrono>
#include <string>

namespace mq7410 {

class SerialLine final
    : public FrameLink
    , public PortOpener
{
public:
    // How long write() waits for the system to take a frame. A frame of at most 18 bytes is on
    // the wire in under 2 ms at 115200 baud; only a stalled line needs longer. Half a second
    // keeps a stall from freezing the window for long, and stays below a run's one-second tick.
    static constexpr std::chrono::milliseconds WriteDeadline{500};

    SerialLine();
    ~SerialLine() override;
    SerialLine(const SerialLine &) = delete;
    SerialLine &operator=(const SerialLine &) = delete;

    // The port walk: opens COM `number` (locked by the device's canonical path), or says why not.
    PortTrial open(int number) override;
    std::string close() override;

    // Hands the frame on whole, or refuses it whole: see FrameLink.
    WriteResult write(std::string_view frame) override;

    bool isOpen() const;
    int portNumber() const { return m_number; }
    // The device as the system names it (links resolved), e.g. "/dev/ttyUSB0".
    const std::string &device() const { return m_device; }
    // "115200 8N1"
    static std::string settingsText();

    // Closed after a failure (the adapter was pulled, the line hung up): why, else empty.
    const std::string &disconnectReason() const { return m_disconnectReason; }
    // Opens the same device again, with the same settings and checks: its name as listed is
    // resolved anew, so a link that now leads to the re-plugged adapter is followed. Empty when
    // done, else why not.
    std::string reconnect();

    // The end of the program: hands on what it can within `bound`, then lets the line go. A
    // frame still in flight at that moment may stay incomplete.
    void shutdown(std::chrono::milliseconds bound = std::chrono::milliseconds(1000));

private:
    std::string openEntry();
    WriteResult lineGone(const QString &words);
    QSerialPort::SerialPortError letGo();

    QSerialPort m_port;
    int m_number = 0;
    std::string m_entry; // COM n as MQ7410_PORTS or the system names it, opened again on reconnect
    std::string m_device;
    std::string m_disconnectReason;
    std::string m_unsent; // the rest of a frame whose first bytes already left
    QTimer m_handOnTimer; // offers that rest while the line is stalled, until it is taken
};

} // namespace mq7410
