// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmarks need: the monotonic clock the virtual supply logs with, order
// statistics, the window on a session as the program runs it, the far end's reads, and the
// command line and machine to print.

#include "doubles.h"
#include "farend.h"

#include "session.h"
#include "uiform.h"

#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mq7410::bench {

// CLOCK_MONOTONIC in nanoseconds, as std::chrono::steady_clock and the sim's t_ns.
std::int64_t monotonicNs();

struct Summary
{
    double p50Us = 0;
    double p99Us = 0;
    double maxUs = 0;
    double meanUs = 0;
};

// Nearest-rank percentiles of durations in nanoseconds, given in microseconds.
Summary summarize(std::vector<std::int64_t> ns);

// A session as the program makes it, its settings in a folder of its own (the user's are never
// touched), with `port` ("COM1": of MQ7410_PORTS) opened. Exits when the port cannot be opened.
struct BenchSession
{
    explicit BenchSession(const std::string &port);

    QTemporaryDir settingsDir;
    Session session;
};

// The window on such a session, on COM 1, shown. It notes when each write of a frame returned
// (the session's log hears of a frame right after it was handed on): the frame was then the
// system's, so what comes after is the line's and the far end's share. Exits when a box other
// than the expected ones comes up.
struct BenchPanel : BenchSession
{
    BenchPanel();
    void checkNoErrorBox() const;

    test::ScriptedBoxes boxes;
    std::unique_ptr<UIForm> form;
    std::vector<std::int64_t> writtenNs;
};

// Reads exactly `count` bytes at the far end; exits when they do not come within two seconds.
void readFrame(test::FarEnd &end, std::size_t count);

// Opens `device` as the panel opens its port: write-only, raw, 115200 8N1. Exits on failure.
int openLikeThePanel(const std::string &device);

// Draws off screen unless QT_QPA_PLATFORM says otherwise; call before QApplication exists.
void preferOffscreen();

// The exact command, to be printed with the figures.
QString commandLine(const QStringList &arguments);

// The value after `name` as an integer, or `fallback`; exits with a message on a bad value.
long long intOption(const QStringList &arguments, const QString &name, long long fallback);
// The word after `name`, or `fallback`.
QString textOption(const QStringList &arguments, const QString &name, const QString &fallback);

// Prints what failed, with the system's reason when there is one, and exits.
[[noreturn]] void die(const char *what);
// Prints the message and exits.
[[noreturn]] void failWith(const std::string &message);

// "2 cores, load average 0.12 0.30 0.25", for the record.
QString machineLine();

} // namespace mq7410::bench
