#include "serial/systemports.h"

#include "serial/portmap.h"

#include <QSerialPortInfo>

#include <vector>

namespace mq7410 {

namespace {

const char portsVariableName[] = "MQ7410_PORTS";

std::optional<std::string> portsVariable()
{
    // Set but empty counts as set: it means "no port at all".
    if (!qEnvironmentVariableIsSet(portsVariableName))
        return std::nullopt;
    return qEnvironmentVariable(portsVariableName).toStdString();
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
    const std::vector<std::string> devices;
#else
    const std::vector<std::string> devices
            = variable ? std::vector<std::string>() : systemDevices();
#endif
    return deviceForPort(number, variable, devices);
}

std::string describeDevice(const std::string &device)
{
    if (device.empty())
        return {};
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
