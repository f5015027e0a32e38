// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Which device is COM n. With MQ7410_PORTS set, its entries alone name the ports: entry k is
// COM k, an empty entry means COM k does not exist. Otherwise COM n is "COMn" on Windows, and
// elsewhere the n-th serial device of the system in natural order (ttyACM2 before ttyACM10).

#include <optional>
#include <string>
#include <vector>

namespace mq7410 {

// The device of COM `number` (1 to 16), by the rule above; empty when there is none.
// `portsVariable` is the value of MQ7410_PORTS, byte for byte, or nothing when it is not set.
// Its entries are separated like PATH: by ';' on Windows; elsewhere by ':', but only where the
// next entry is empty or starts with '/', as names under /dev/serial/by-path hold colons.
std::string deviceForPort(int number, const std::optional<std::string> &portsVariable,
                          std::vector<std::string> systemDevices);

} // namespace mq7410
