// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The session as the commands that drive the supply hold it: the frame log file written as
// frames settle, the port opened by name without a question, the signals that end a command,
// and the end that lets the line go.

#include "framelogfile.h"
#include "printer.h"
#include "runoptions.h"

#include "session.h"
#include "signalwatcher.h"

#include <optional>

namespace mq7410::run {

class Headless : public QObject
{
    Q_OBJECT
public:
    Headless(const Options &options, Printer &printer);

    Session &session() { return m_session; }
    // Opens the log, then the port: Done, or the exit status of the one that failed, said on
    // standard error.
    int open();
    // Each frame as a plain line on standard output, unless --quiet; with its origin for a
    // server, whose clients take turns.
    void printFrames(bool withOrigin);
    // The end: a frame still waiting gets its chance to leave, the line is let go. `status`,
    // unless the line failed or an output was lost on the way.
    int finish(int status);

signals:
    // An entry of the frame log as it stays: a waiting frame once it settled.
    void settled(const mq7410::LoggedFrame &entry);
    // SIGINT, SIGTERM or SIGHUP came.
    void signalled(int signalNumber);

private:
    void onLogged(const LoggedFrame &entry, bool update);
    void record(const LoggedFrame &entry);

    const Options &m_options;
    Printer &m_printer;
    Session m_session;
    SignalWatcher m_signals;
    FrameLogFile m_log;
    std::optional<LoggedFrame> m_waiting; // held back until the line says how it ended
    bool m_logFailed = false;
    bool m_lineLost = false;
};

} // namespace mq7410::run
