#include "serial/portmap.h"

#include "serial/naturalorder.h"

#include <algorithm>

namespace mq7410 {

namespace {

bool inRange(int number)
{
    return number >= firstPortNumber && number <= lastPortNumber;
}

} // namespace

std::string deviceFromPortList(std::string_view list, int number, char separator)
{
    // Set but empty: no port at all (not one port with an empty name).
    if (!inRange(number) || list.empty())
        return {};
    for (int k = 1; k < number; ++k) {
        const std::size_t end = list.find(separator);
        if (end == std::string_view::npos)
            return {};
        list.remove_prefix(end + 1);
    }
    return std::string(list.substr(0, list.find(separator)));
}

std::string deviceFromSystemPorts(std::vector<std::string> devices, int number)
{
    if (!inRange(number) || std::size_t(number) > devices.size())
        return {};
    std::sort(devices.begin(), devices.end(), naturalLess);
    return devices[std::size_t(number) - 1];
}

std::string deviceForPort(int number, const std::optional<std::string> &portsVariable,
                          const std::vector<std::string> &systemDevices)
{
    if (portsVariable)
        return deviceFromPortList(*portsVariable, number);
#ifdef _WIN32
    (void)systemDevices;
    return inRange(number) ? "COM" + std::to_string(number) : std::string();
#else
    return deviceFromSystemPorts(systemDevices, number);
#endif
}

} // namespace mq7410
