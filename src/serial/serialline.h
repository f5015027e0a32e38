// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The supply's serial line on Qt SerialPort: COM n found by portmap.h (or a device named
// outright), opened write-only and for this program alone at the supply's line format without
// flow control, the settings read back, and every frame handed on whole or, when the line
// takes only its beginning, its rest followed up until it left.

#include "framelink.h"
#include "portwalk.h"

#include <QObject>
#include <QPointer>
#include <QSerialPort>
#include <QTimer>

#include <chrono>
#include <string>
#include <vector>

class QSocketNotifier;

namespace mq7410 {

class SerialLine final
    : public QObject
    , public FrameLink
    , public PortOpener
{
    Q_OBJECT
public:
    // How long write() waits for the system to take a frame. A frame of at most 18 bytes is on
    // the wire in under 2 ms at 115200 baud; only a stalled line needs longer. Half a second
    // keeps a stall from freezing the window for long, and stays below a run's one-second tick.
    static constexpr std::chrono::milliseconds WriteDeadline{500};

    explicit SerialLine(QObject *parent = nullptr);
    ~SerialLine() override;

    // The port walk: opens COM `number` (locked by the device's canonical path), or says why not.
    PortTrial open(int number) override;
    Status close() override;
    // Opens a port named "COMn" (mapped as the walk maps it) or a device path.
    PortTrial openNamed(const std::string &name);
    // The device of COM `number` now, by the walk's mapping; empty when there is none.
    static std::string deviceOf(int number);
    // COM 1 to COM 16 as they stand: each one that exists, tried and let go at once.
    std::vector<PortInfo> listPorts();

    Result<Delivery> write(std::string_view frame) override;
    Status finishWaiting() override;

    bool isOpen() const;
    int portNumber() const { return m_number; }
    // The device as the system names it (links resolved), e.g. "/dev/ttyUSB0".
    const std::string &device() const { return m_device; }

    // Closed after a failure (the adapter was pulled, the line hung up): why, else empty.
    const std::string &disconnectReason() const { return m_disconnectReason; }

    // The end of the program: hands on what it can within `bound`, then lets the line go. A
    // Failure when part of a frame could not go out: the supply will misread the next frame.
    Status shutdown(std::chrono::milliseconds bound = std::chrono::milliseconds(1000));

signals:
    // The rest of a Waiting frame left (ok), or never will (a Line failure).
    void waitingSettled(const mq7410::Status &result);
    // The device is gone or the far end hung up; the port is closed. Told once, at once,
    // whether or not a frame is being written.
    void lost(const QString &reason);

private:
    struct Opening
    {
        PortState state = PortState::Free;
        std::string reason;
    };

    Opening openEntry(const std::string &entry);
    PortTrial tryEntry(int number, const std::string &entry);
    Failure lineGone(const QString &words);
    void watchForHangUp();
    void handOnRest();
    QSerialPort::SerialPortError letGo();

    QSerialPort m_port;
    int m_number = 0;
    std::string m_device;
    std::string m_disconnectReason;
    std::string m_unsent; // the rest of a frame whose first bytes already left
    QTimer m_handOnTimer; // offers that rest while the line is stalled, until it is taken
    QPointer<QSocketNotifier> m_hangUpWatch;
};

} // namespace mq7410
