// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The virtual supply as the benchmarks run it: mq7410-sim as a process that logs each frame it
// reads with its CLOCK_MONOTONIC time, and what a process's /proc status says of its memory.

#include <QList>
#include <QProcess>
#include <QString>

#include <cstdint>
#include <optional>

namespace mq7410::bench {

// Starts `program --log LOG` and returns the device it offers; exits when it does not start.
QString startSim(QProcess &sim, const QString &program, const QString &log);

struct SimFrame
{
    QString frame;
    std::int64_t ns = 0; // when the sim read it
};

// The frames the sim logged at or after `sinceNs`, in order.
QList<SimFrame> framesSince(const QString &log, std::int64_t sinceNs);

// A field of /proc/PID/status in kB ("VmHWM": the peak resident set, "VmRSS": the resident
// set now); nothing when the process is gone. `pid` 0: this process.
std::optional<long long> statusKb(qint64 pid, const char *field);

} // namespace mq7410::bench
