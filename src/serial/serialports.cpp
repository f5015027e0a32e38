// SPDX-License-Identifier: GPL-3.0-or-later
// The serial line's ports: which device COM n is, opening one for this program alone at the
// supply's line format, and the list of ports with why each could not be taken.

#include "serialline.h"

#include "lineformat.h"
#include "platformserial.h"
#include "systemports.h"

#include <QStringDecoder>

namespace mq7410 {

std::string SerialLine::deviceOf(int number)
{
    return systemDeviceForPort(number);
}

PortTrial SerialLine::open(int number)
{
    return tryEntry(number, systemDeviceForPort(number));
}

PortTrial SerialLine::openNamed(const std::string &name)
{
    int number = 0;
    if (name.size() > 3 && (name.starts_with("COM") || name.starts_with("com"))
        && name.find_first_not_of("0123456789", 3) == std::string::npos && name.size() <= 5)
        number = std::stoi(name.substr(3));
    if (number == 0)
        return tryEntry(0, name);
    PortTrial trial = tryEntry(number, systemDeviceForPort(number));
    if (trial.device.empty()) {
        trial.device = name;
        trial.opened = Failure{FailureKind::Port, "there is no " + name + " on this machine"};
    }
    return trial;
}

PortTrial SerialLine::tryEntry(int number, const std::string &entry)
{
    PortTrial trial;
    if (entry.empty())
        return trial;
    if (m_port.isOpen()) {
        trial.device = entry;
        trial.opened = Failure{FailureKind::Port, "this program holds " + m_device + " already"};
        return trial;
    }
    m_disconnectReason.clear();
    const Opening opening = openEntry(entry);
    trial.device = m_device;
    if (opening.state != PortState::Free) {
        trial.opened = Failure{FailureKind::Port, opening.reason};
        return trial;
    }
    m_number = number;
    trial.description = describeDevice(m_device);
    watchForHangUp();
    return trial;
}

SerialLine::Opening SerialLine::openEntry(const std::string &entry)
{
    m_unsent.clear();
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString name = decoder.decode(QByteArrayView(entry.data(), qsizetype(entry.size())));
    m_device = name.toStdString(); // readable even when not UTF-8, for the reason to name it
    if (decoder.hasError())
        return {PortState::Unusable, "the device name is not valid UTF-8"};
    // Qt names its lock file after the device it is given: one device, one name.
    const QString device = canonicalDevice(name);
    m_device = device.toStdString();
    m_port.setPortName(device);
    m_port.clearError();
    // Write-only: the supply never answers, and Qt 6.4 mishandles reads on a port opened for them.
    if (!m_port.open(QIODevice::WriteOnly)) {
        if (m_port.error() != QSerialPort::PermissionError)
            return {PortState::Unusable, m_port.errorString().toStdString()};
        if (writeDenied(device))
            return {PortState::NoPermission, "permission denied"};
        return {PortState::Held, "held by another program"};
    }
    if (const QString mismatch = lineMismatch(m_port); !mismatch.isEmpty()) {
        releasePort(m_port);
        return {PortState::Unusable,
                "it does not take " + SupplyLineFormat.text() + ": " + mismatch.toStdString()};
    }
    return {};
}

std::vector<PortInfo> SerialLine::listPorts()
{
    std::vector<PortInfo> ports;
    for (int number = FirstPort; number <= LastPort; ++number) {
        const std::string entry = systemDeviceForPort(number);
        if (entry.empty())
            continue;
        PortInfo info{number, entry, describeDevice(entry), PortState::Free, {}};
        if (m_port.isOpen()
            && canonicalDevice(QString::fromStdString(entry)).toStdString() == m_device) {
            info.state = PortState::Held;
            info.reason = "this program holds it";
        } else {
            SerialLine probe;
            const Opening opening = probe.openEntry(entry);
            info.device = probe.m_device;
            info.state = opening.state;
            info.reason = opening.reason;
        }
        ports.push_back(std::move(info));
    }
    return ports;
}

} // namespace mq7410
