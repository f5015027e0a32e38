// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-License-Identifier: GPL-3.0-or-later
// mq7410-sim, the virtual MQ-7410: a pseudo-terminal that decodes what the front panel writes
// to it. For Unix-like systems only (POSIX pseudo-terminals, termios and signals).

#include "console.h"
#include "jsonlog.h"
#include "options.h"
#include "unixsignals.h"
#include "virtualsupply.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>

#include <cstdio>

using namespace mq7410;
using namespace mq7410::sim;

namespace {

// How long a COMMAND gets to end after SIGTERM before it is killed.
constexpr int CommandGraceMs = 5000;

// The shells' convention for a process ended by a signal.
int exitCodeOf(int exitCode, QProcess::ExitStatus status)
{
    return status == QProcess::NormalExit ? exitCode : 128 + exitCode;
}

void startCommand(QProcess &command, const Options &options, const std::string &device)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MQ7410_PORTS"), QString::fromStdString(device));
    command.setProcessEnvironment(environment);
    command.setProcessChannelMode(QProcess::ForwardedChannels);
    command.setInputChannelMode(QProcess::ForwardedInputChannel);
    QStringList arguments;
    for (auto it = options.command.begin() + 1; it != options.command.end(); ++it)
        arguments << QString::fromStdString(*it);
    command.start(QString::fromStdString(options.command.front()), arguments);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const Result<Options> parsed = parseOptions(QCoreApplication::arguments());
    if (!parsed) {
        std::fprintf(stderr, "mq7410-sim: %s\nTry 'mq7410-sim --help'.\n",
                     parsed.failure().text.c_str());
        return 2;
    }
    const Options &options = *parsed;
    if (options.help || options.version) {
        std::fputs(options.help ? helpText().c_str() : "mq7410-sim " MQ7410_VERSION "\n", stdout);
        return 0;
    }

    Console console(stdout);
    JsonLog log;
    std::vector<EventSink *> sinks{&console};
    if (!options.logPath.empty()) {
        if (const Status opened = log.open(options.logPath); !opened) {
            std::fprintf(stderr, "mq7410-sim: %s\n", opened.failure().text.c_str());
            return 1;
        }
        sinks.push_back(&log);
    }

    UnixSignals unixSignals;
    VirtualSupply supply(sinks, options.exitAfterFrames);
    if (const Status started = supply.start(); !started) {
        std::fprintf(stderr, "mq7410-sim: %s\n", started.failure().text.c_str());
        return 1;
    }

    QProcess command;
    const bool withCommand = !options.command.empty();
    // Without a COMMAND the supply's end is the program's end; with one, the COMMAND's is.
    const auto supplyEnded = [&] {
        if (!withCommand)
            QCoreApplication::exit(0);
    };
    QObject::connect(&supply, &VirtualSupply::frameLimitReached, &app, supplyEnded);
    QObject::connect(&supply, &VirtualSupply::readFailed, &app, supplyEnded);
    QObject::connect(&unixSignals, &UnixSignals::terminationRequested, &app, [&] {
        supply.stop(StopReason::Signal);
        supplyEnded();
        if (command.state() != QProcess::NotRunning) {
            command.terminate();
            QTimer::singleShot(CommandGraceMs, &command, [&] { command.kill(); });
        }
    });

    if (withCommand) {
        QObject::connect(&command, &QProcess::finished, &app,
                         [&](int exitCode, QProcess::ExitStatus status) {
                             supply.stop(StopReason::CommandEnded);
                             QCoreApplication::exit(exitCodeOf(exitCode, status));
                         });
        QObject::connect(&command, &QProcess::errorOccurred, &app,
                         [&](QProcess::ProcessError processError) {
                             if (processError != QProcess::FailedToStart)
                                 return;
                             std::fprintf(stderr, "mq7410-sim: cannot start %s: %s\n",
                                          options.command.front().c_str(),
                                          qPrintable(command.errorString()));
                             supply.stop(StopReason::CommandEnded);
                             QCoreApplication::exit(127);
                         });
        // From inside the event loop, so that an exit requested at once is not lost.
        QTimer::singleShot(0, &app, [&] { startCommand(command, options, supply.devicePath()); });
    }
    return QCoreApplication::exec();
}
