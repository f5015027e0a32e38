// SPDX-License-Identifier: GPL-3.0-or-later
// mq7410-run: the session of the front panel without a window, for scripts and services.

#include "commands.h"
#include "exitstatus.h"
#include "printer.h"
#include "runoptions.h"
#include "version.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <exception>

namespace {

int run(int argc, char *argv[])
{
    using namespace mq7410::run;
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QByteArray(argv[i]);
    const mq7410::Result<Options> parsed = parseOptions(arguments);
    if (!parsed) {
        std::fprintf(stderr, "mq7410-run: %s\nTry 'mq7410-run --help'.\n",
                     parsed.failure().text.c_str());
        return Usage;
    }
    const Options &options = *parsed;
    Printer printer;
    if (options.help || options.version) {
        printer.line(options.help ? helpText(options.command).chopped(1)
                                  : QStringLiteral("mq7410-run " MQ7410_VERSION));
        return printer.failed() ? Refused : Done;
    }

    // A reader that went away must not end a run before its Finish row: writes fail instead.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    switch (options.command) {
    case Command::ListPorts:
        return listPorts(printer);
    case Command::Play:
        return play(options, printer);
    case Command::Exec:
        return exec(options, printer);
    case Command::Serve:
        return serve(options, printer);
    case Command::None:
        break;
    }
    return Usage;
}

} // namespace

int main(int argc, char *argv[])
{
    // Out of memory, the one thing that throws here: said plainly rather than by an abort. The
    // session's destructor has let the line go by then.
    try {
        return run(argc, argv);
    } catch (const std::exception &exception) {
        std::fprintf(stderr, "mq7410-run: %s\n", exception.what());
        return mq7410::run::Refused;
    }
}
