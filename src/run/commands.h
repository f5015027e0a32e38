// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The commands of mq7410-run, each in a file of its own. Each returns the exit status
// (exitstatus.h) and needs the QCoreApplication.

#include "printer.h"
#include "runoptions.h"

namespace mq7410::run {

int listPorts(Printer &printer);
int play(const Options &options, Printer &printer);
int exec(const Options &options, Printer &printer);
int serve(const Options &options, Printer &printer);

} // namespace mq7410::run
