// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace mq7410::test {

// One run of the virtual supply mq7410-sim as a process, with its JSON log in a temporary
// folder. The program is $MQ7410_SIM, or the one beside the test programs. On Linux the sim
// dies with the test, so that a test ended for running too long leaves no sim behind. It runs
// in the temporary folder: a relative path among the arguments lands there.
class SimProcess
{
public:
    // Bound of every wait on the process: generous, for a loaded machine. Nothing is timed.
    static constexpr int WaitMs = 20000;

    ~SimProcess();

    // Starts it with `--log FILE` and `extraArguments`, and reads the device line.
    bool start(const QStringList &extraArguments = {});
    // SIGTERM, then waits for the end: the far end hangs up. True when it ended cleanly.
    bool terminate();

    const QString &device() const { return m_device; }
    // A path in the temporary folder, for a file or link of the test's own.
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QProcess &process() { return m_process; }
    // Everything it printed after the device line, so far.
    QString output();

    // The log's complete lines, all or those of one event; a line that is not JSON is {}.
    QList<QJsonObject> records(const QString &event = {}) const;
    QStringList frames() const;
    // The supply as the last frame left it, or as it started.
    QJsonObject state() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_device;
    QString m_output;
};

// A supply state as the log writes it: set-points in 10 mV steps and mA.
QJsonObject supplyState(int ch1V, int ch1I, int ch2V, int ch2I, bool output, bool link);

} // namespace mq7410::test
