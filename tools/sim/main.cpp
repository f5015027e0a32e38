// SPDX-License-Identifier: GPL-3.0-or-later
// mq7410-sim, the virtual MQ-7410: a pseudo-terminal that decodes what the front panel writes
// to it. For Unix-like systems only (POSIX pseudo-terminals, termios and signals).

#include "console.h"
#include "consolekeys.h"
#include "jsonlog.h"
#include "options.h"
#include "signalwatcher.h"
#include "virtualsupply.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <csignal>
#if defined(Q_OS_LINUX)
#include <sys/prctl.h>
#endif
#include <cstdio>
#include <exception>

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

// `port`: the link when there is one, so that the panel finds the new line after an unplug.
// `keysRead`: the sim reads its terminal, and two readers would split what is typed.
void startCommand(QProcess &command, const Options &options, const std::string &port, bool keysRead)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MQ7410_PORTS"), QFile::decodeName(port.c_str()));
    command.setProcessEnvironment(environment);
    command.setProcessChannelMode(QProcess::ForwardedChannels);
    if (keysRead)
        command.setStandardInputFile(QProcess::nullDevice());
    else
        command.setInputChannelMode(QProcess::ForwardedInputChannel);
    QStringList arguments;
    for (auto it = options.command.begin() + 1; it != options.command.end(); ++it)
        arguments << QString::fromStdString(*it);
#if defined(Q_OS_LINUX)
    // Should the sim be killed outright, its COMMAND hears SIGTERM, as on any end of the sim.
    command.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
    command.start(QString::fromStdString(options.command.front()), arguments);
}

int run(int argc, char *argv[])
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

    // SIGTERM and SIGINT end the sim; SIGUSR1 unplugs it.
    SignalWatcher unixSignals({SIGTERM, SIGINT, SIGUSR1});
    ConsoleKeys keys;
    VirtualSupply supply(sinks, options.exitAfterFrames, options.linkPath);
    if (const Status started = supply.start(); !started) {
        std::fprintf(stderr, "mq7410-sim: %s\n", started.failure().text.c_str());
        return 1;
    }

    QProcess command;
    const bool withCommand = !options.command.empty();
    // Without a COMMAND the supply's end is the program's end; with one, the COMMAND's is.
    const auto supplyEnded = [&](int exitCode) {
        if (!withCommand)
            QCoreApplication::exit(exitCode);
    };
    QObject::connect(&supply, &VirtualSupply::frameLimitReached, &app, [&] { supplyEnded(0); });
    QObject::connect(&supply, &VirtualSupply::lineFailed, &app, [&] { supplyEnded(1); });
    const auto unplug = [&] {
        supply.unplug(options.replugAfterMs);
    };
    QObject::connect(&keys, &ConsoleKeys::unplugRequested, &app, unplug);
    QObject::connect(&unixSignals, &SignalWatcher::received, &app, [&](int signalNumber) {
        if (signalNumber == SIGUSR1) {
            unplug();
            return;
        }
        supply.stop(StopReason::Signal);
        supplyEnded(0);
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
        QTimer::singleShot(0, &app, [&] {
            startCommand(command, options,
                         options.linkPath.empty() ? supply.devicePath() : options.linkPath,
                         keys.isWatching());
        });
    }
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char *argv[])
{
    // Out of memory, the one thing that throws here: said plainly rather than by an abort.
    try {
        return run(argc, argv);
    } catch (const std::exception &exception) {
        std::fprintf(stderr, "mq7410-sim: %s\n", exception.what());
        return 1;
    }
}
