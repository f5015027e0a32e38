// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The exit statuses of mq7410-run, which scripts act on: said here once, and in the help and
// the manual page.

#include "failure.h"

namespace mq7410::run {

enum ExitStatus : int {
    Done = 0,
    Refused = 1,    // a command, a file or an output was refused
    Usage = 2,      // wrong usage
    LineFailed = 3, // the port could not be opened, or the line failed
};

// The shells' convention for an end asked for by a signal.
constexpr int signalStatus(int signalNumber)
{
    return 128 + signalNumber;
}

// The port and the line are one status, everything else the panel or a file refused another.
constexpr int statusOf(const Failure &failure)
{
    return failure.kind == FailureKind::Port || failure.kind == FailureKind::Line ? LineFailed
                                                                                  : Refused;
}

} // namespace mq7410::run
