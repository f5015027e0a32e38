// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The command line of mq7410-run: [--port PORT] [--log FILE] [--quiet] COMMAND [ARGS...], each
// command with options of its own. Read before anything is opened, so that a usage error
// touches no port.

#include "failure.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>

namespace mq7410::run {

enum class Command { None, ListPorts, Play, Exec, Serve };

struct Options
{
    Command command = Command::None;
    bool help = false; // of the program, or of `command` when one is named
    bool version = false;
    bool quiet = false;
    std::string port;          // "COM3" or a device path; empty when none was given
    QByteArray logPath;        // the system's bytes; empty: no log
    QByteArray file;           // play: the sequence file, the system's bytes
    std::optional<int> repeat; // play: the cycles, instead of the file's count
    QStringList lines;         // exec: SCPI lines; {"-"}: from standard input
    QString listen;            // serve: [ADDRESS:]PORT; empty: as the settings say
};

// `arguments`: the program's argv as the system gave it. A Failure is a usage error.
Result<Options> parseOptions(const QList<QByteArray> &arguments);

// The program's help, or that of `command`.
QString helpText(Command command);

} // namespace mq7410::run
