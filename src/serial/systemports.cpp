// SPDX-License-Identifier: GPL-3.0-or-later
#include "systemports.h"

#include "portmap.h"

#include <QSerialPortInfo>

#include <optional>
#include <vector>

namespace mq7410 {

namespace {

const char PortsVariableName[] = "MQ7410_PORTS";

std::optional<std::string> portsVariable()
{
    // Set but empty counts as set: it means "no port at all". Bytes, not text: a name that is
    // not UTF-8 must reach the open, which says so, rather than turn into another name here.
    if (!qEnvironmentVariableIsSet(PortsVariableName))
        return std::nullopt;
    return qgetenv(PortsVariableName).toStdString();
}

std::vector<std::string> systemDevices()
{
    std::vector<std::string> devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        devices.push_back(info.systemLocation().toStdString());
    return devices;
}

} // namespace

std::string systemDeviceForPort(int number)
{
    const std::optional<std::string> variable = portsVariable();
    // Only the Linux and macOS rule needs the system's list.
#ifdef Q_OS_WIN
    const bool needsList = false;
#else
    const bool needsList = !variable;
#endif
    return deviceForPort(number, variable,
                         needsList ? systemDevices() : std::vector<std::string>());
}

std::string describeDevice(const std::string &device)
{
    const QString name = QString::fromStdString(device);
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        if (info.systemLocation() != name && info.portName() != name)
            continue;
        QString text = name;
        if (!info.description().isEmpty())
            text += " - " + info.description();
        if (!info.manufacturer().isEmpty())
            text += " (" + info.manufacturer() + ")";
        return text.toStdString();
    }
    return device;
}

} // namespace mq7410
