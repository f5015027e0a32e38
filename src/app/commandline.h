// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The command line of mq7410: [--help] [--version] [--scpi [ADDRESS:]PORT] [FILE.csv].
// Read before any window exists, so that --help and --version answer without a display.

#include "failure.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace mq7410 {

struct CommandLine
{
    bool help = false;
    bool version = false;
    QByteArray sequenceFile; // the system's bytes; loaded right after the port walk
    QString scpi;            // where the SCPI server listens; empty: as File > Remote Control says
};

// `arguments`: the program's argv, as the system gave it (bytes). A Failure is a usage error,
// exit status 2.
Result<CommandLine> parseCommandLine(const QList<QByteArray> &arguments);

QString helpText();

} // namespace mq7410
