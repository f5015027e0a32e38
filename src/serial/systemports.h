// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What this machine has: the serial devices Qt lists, what it knows of one, and MQ7410_PORTS.

#include <string>

namespace mq7410 {

// The device of COM `number` on this machine (see portmap.h), as MQ7410_PORTS spells it, byte
// for byte; empty when there is none.
std::string systemDeviceForPort(int number);

// The device and what the system knows of it: "/dev/ttyUSB0 - USB-Serial Controller (maker)".
// Just the device for one the system does not list.
std::string describeDevice(const std::string &device);

} // namespace mq7410
