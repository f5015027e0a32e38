#pragma once

// Which device is COM n. With MQ7410_PORTS set, its entries alone name the ports: entry k is
// COM k, an empty entry means COM k does not exist. Otherwise COM n is "COMn" on Windows, and
// elsewhere the n-th serial device of the system in natural order (ttyACM2 before ttyACM10).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mq7410 {

inline constexpr int firstPortNumber = 1;
inline constexpr int lastPortNumber = 16;

// Separates the entries of MQ7410_PORTS, like PATH on the same platform.
#ifdef _WIN32
inline constexpr char portListSeparator = ';';
#else
inline constexpr char portListSeparator = ':';
#endif

// The device that a value of MQ7410_PORTS gives for COM `number`; empty when there is none.
std::string deviceFromPortList(std::string_view list, int number,
                               char separator = portListSeparator);

// The `number`-th of the system's serial devices in natural order; empty when there is none.
std::string deviceFromSystemPorts(std::vector<std::string> devices, int number);

// The device of COM `number` (1 to 16), by the rule above; empty when there is none.
// `portsVariable` is the value of MQ7410_PORTS, or nothing when it is not set.
std::string deviceForPort(int number, const std::optional<std::string> &portsVariable,
                          const std::vector<std::string> &systemDevices);

} // namespace mq7410
