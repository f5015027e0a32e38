// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The command line of mq7410-sim: [OPTIONS] [-- COMMAND [ARGS...]].

#include "failure.h"

#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

namespace mq7410::sim {

struct Options
{
    bool help = false;
    bool version = false;
    std::string logPath;               // empty: no log
    std::uint64_t exitAfterFrames = 0; // 0: never
    std::string linkPath;              // empty: no link
    int replugAfterMs = 1000;          // from an unplug to the new line
    std::vector<std::string> command;  // what follows "--"
};

// `arguments` as QCoreApplication::arguments() gives them, the program first. A failure is a
// usage error. The last of a repeated option wins.
Result<Options> parseOptions(const QStringList &arguments);

// Needs the QCoreApplication: Qt lays the options out.
std::string helpText();

} // namespace mq7410::sim
