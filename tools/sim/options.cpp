// SPDX-License-Identifier: GPL-3.0-or-later
#include "options.h"

#include "lineformat.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <charconv>
#include <optional>

namespace mq7410::sim {

namespace {

// The parser and its options, set up the same way for parsing and for the help.
struct CommandLine
{
    CommandLine();

    QCommandLineParser parser;
    const QCommandLineOption log{
            "log", "Also write every event to FILE as JSON lines, flushed per line.", "FILE"};
    const QCommandLineOption exitAfterFrames{
            "exit-after-frames",
            "Test hook: after N frames, close the pseudo-terminal (the supply hangs up) and "
            "exit; with a COMMAND, wait for it first.",
            "N"};
    const QCommandLineOption link{
            "link",
            "Keep a symbolic link at PATH to the pseudo-terminal, moved to the new one after "
            "an unplug, removed at the end; a COMMAND gets PATH in MQ7410_PORTS.",
            "PATH"};
    const QCommandLineOption replugAfter{
            "replug-after",
            "Plug the supply in again MS milliseconds after an unplug (default 1000).", "MS"};
    // Our own rather than addHelpOption(), which adds --help-all for options we do not take.
    const QCommandLineOption help{{"h", "help"}, "Show this help and exit."};
    const QCommandLineOption version{"version", "Show the version and exit."};
};

CommandLine::CommandLine()
{
    // Qt prints the description as it is: the lines are broken here.
    parser.setApplicationDescription(
            "The MQ-7410 virtual supply. Opens a pseudo-terminal, prints its path on the first\n"
            "line (\"device: /dev/pts/N\") and decodes the frames the front panel writes to it,\n"
            "as the supply does: one line per frame, and a status line with the whole state of\n"
            "the supply.");
    parser.addOptions({log, exitAfterFrames, link, replugAfter, help, version});
    parser.addPositionalArgument("COMMAND",
                                 "Run COMMAND with MQ7410_PORTS set to the pseudo-terminal's "
                                 "path (or the --link PATH), forward its output, and exit with "
                                 "its exit code when it ends.",
                                 "[-- COMMAND [ARGS...]]");
}

// A whole number of `least` or more, in digits only.
template<typename Number>
std::optional<Number> wholeNumber(const QString &value, Number least)
{
    const std::string text = value.toStdString();
    Number number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number < least)
        return std::nullopt;
    return number;
}

Failure usageError(const QString &text)
{
    return {FailureKind::BadValue, text.toStdString()};
}

} // namespace

Result<Options> parseOptions(const QStringList &arguments)
{
    CommandLine line;
    if (!line.parser.parse(arguments))
        return usageError(line.parser.errorText());

    // The parser takes words before "--" as positional too: only those after it are a COMMAND.
    Options options;
    const QStringList words = line.parser.positionalArguments();
    const qsizetype commandStart = arguments.size() - words.size();
    if (!words.isEmpty() && arguments.at(commandStart - 1) != QLatin1String("--"))
        return usageError("unexpected argument " + words.first() + " (a COMMAND goes after --)");
    if (words.isEmpty() && arguments.size() > 1 && arguments.last() == QLatin1String("--"))
        return usageError("no COMMAND after --");
    for (const QString &word : words)
        options.command.push_back(word.toStdString());

    options.help = line.parser.isSet(line.help);
    options.version = line.parser.isSet(line.version);
    if (line.parser.isSet(line.log)) {
        options.logPath = QFile::encodeName(line.parser.value(line.log)).toStdString();
        if (options.logPath.empty())
            return usageError("--log needs a file name");
    }
    if (line.parser.isSet(line.exitAfterFrames)) {
        const QString value = line.parser.value(line.exitAfterFrames);
        const std::optional<std::uint64_t> frames = wholeNumber<std::uint64_t>(value, 1);
        if (!frames)
            return usageError("--exit-after-frames needs a whole number of 1 or more, not "
                              + value);
        options.exitAfterFrames = *frames;
    }
    if (line.parser.isSet(line.link)) {
        options.linkPath = QFile::encodeName(line.parser.value(line.link)).toStdString();
        if (options.linkPath.empty())
            return usageError("--link needs a path");
    }
    if (line.parser.isSet(line.replugAfter)) {
        const QString value = line.parser.value(line.replugAfter);
        const std::optional<int> delay = wholeNumber(value, 0);
        if (!delay)
            return usageError("--replug-after needs a whole number of milliseconds, not " + value);
        options.replugAfterMs = *delay;
    }
    return options;
}

std::string helpText()
{
    CommandLine line;
    QString text = line.parser.helpText();
    // Qt names the program as it was started, path and all; the help names it plainly.
    text.replace("Usage: " + QCoreApplication::arguments().constFirst(),
                 QLatin1String("Usage: mq7410-sim"));
    return text.toStdString() + R"(
The line settings that the front panel applies are read back and every change is reported;
anything other than )"
           + SupplyLineFormat.text() + R"( is flagged while the panel holds the line.

Unplugging: SIGUSR1, or u then Enter on the terminal the sim runs in, hangs up the line as
pulling the cable would, and plugs the supply in again on a new pseudo-terminal: its
"device:" line is printed again, the --link (gone meanwhile) names it, and the supply keeps
its state. A COMMAND keeps running: it is the panel that reconnects, by the --link path.
While the sim reads keys from its terminal, a COMMAND reads nothing from it.

SIGTERM and SIGINT (test hooks too) close the pseudo-terminal, which the front panel sees as
the far end hanging up, and end the program; a COMMAND is asked to end as well.

Exit status: 0 when done, 1 when the pseudo-terminal, the log or the link cannot be made or
the line fails, 2 for a usage error. With a COMMAND: its exit status, 128 + the signal
number when a signal ended it, 127 when it could not be started.
)";
}

} // namespace mq7410::sim
