// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What *IDN? answers, wherever SCPI is spoken: a script sees one instrument, whether it talks
// to the window's server, to mq7410-run serve or through mq7410-run exec.

#include "scpiinterpreter.h"

namespace mq7410 {

ScpiIdentity instrumentIdentity();

} // namespace mq7410
