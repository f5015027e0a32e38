// SPDX-License-Identifier: GPL-3.0-or-later
#include "runoptions.h"

#include "listenaddress.h"
#include "sequencetable.h"

#include <QCommandLineParser>
#include <QFile>

#include <array>
#include <charconv>

namespace mq7410::run {
namespace {

const QString Description = QStringLiteral(
        "Drives the MQ-7410 power supply without a window: the same rules, limits, runs and\n"
        "frame log as the front panel mq7410, for scripts and services.");

const QString Epilogue = QStringLiteral(R"(
Commands ('mq7410-run COMMAND --help' says more):
  list-ports                  COM 1 to COM 16: each device and its state (free, held,
                              no permission, unusable), with the reason.
  play FILE.csv [--repeat N]  Plays the sequence file as Start does in the window, then
                              exits; --repeat N plays N cycles (1 to 9999, 0 until stopped)
                              instead of the file's count.
  exec LINE... | exec -       Runs SCPI lines, from the arguments or from standard input:
                              replies on standard output, each error on standard error.
  serve [--listen ADDRESS:PORT]  The SCPI server without a window, until a signal ends it.

PORT is COMn, numbered as the panel numbers the ports (MQ7410_PORTS, then the system's
serial ports in natural order), or a device path. A port that another program holds, a
panel or another mq7410-run, is refused; nothing is ever asked.

SIGINT (Ctrl+C), SIGTERM and SIGHUP stop a run as Stop does: its Finish row goes out, then
the program ends.

Exit status: 0 done; 1 a command, a file or an output was refused; 2 wrong usage; 3 the port
(or serve's address) could not be opened or the line failed; 128 + the signal's number when
a signal ended it (130 SIGINT, 143 SIGTERM, 129 SIGHUP).
)");

struct CommandName
{
    Command command;
    const char *word;
    const char *usage; // what follows the program's name in the command's usage line
};

constexpr std::array<CommandName, 4> Commands{{
        {Command::ListPorts, "list-ports", "list-ports"},
        {Command::Play, "play", "--port PORT [--log FILE] [--quiet] play"},
        {Command::Exec, "exec", "--port PORT [--log FILE] exec"},
        {Command::Serve, "serve", "--port PORT [--log FILE] [--quiet] serve"},
}};

Failure usage(const QString &text)
{
    return {FailureKind::BadValue, text.toStdString()};
}

// The options before the command, and the command's own: one parser each, set up alike for
// parsing and for the help.
struct Parsers
{
    Parsers()
    {
        global.setApplicationDescription(Description);
        global.addOptions({help, version, port, log, quiet});
        global.addPositionalArgument(QStringLiteral("COMMAND"),
                                     QStringLiteral("list-ports, play, exec or serve."),
                                     QStringLiteral("COMMAND [ARGS...]"));
        global.setOptionsAfterPositionalArgumentsMode(
                QCommandLineParser::ParseAsPositionalArguments);
    }

    // The parser of `command`, whose options may follow its arguments.
    void setUp(Command command)
    {
        sub.addOption(help);
        switch (command) {
        case Command::Play:
            sub.setApplicationDescription(
                    QStringLiteral("Plays the sequence file as Start does in the window, with the "
                                   "same plan,\ntiming and stall rule, then exits."));
            sub.addOption(repeat);
            sub.addPositionalArgument(QStringLiteral("FILE.csv"),
                                      QStringLiteral("The sequence file."));
            break;
        case Command::Exec:
            sub.setApplicationDescription(QStringLiteral(
                    "Runs SCPI lines on the panel's start state: each query's reply on standard\n"
                    "output, each error on standard error with its code and text."));
            sub.addPositionalArgument(
                    QStringLiteral("LINE"),
                    QStringLiteral("A line of SCPI commands, e.g. 'VOLT 5,(@1);OUTP ON'; - reads "
                                   "the lines from standard input."),
                    QStringLiteral("LINE... | -"));
            break;
        case Command::Serve:
            sub.setApplicationDescription(QStringLiteral(
                    "The SCPI server without a window, until SIGINT, SIGTERM or SIGHUP."));
            sub.addOption(listen);
            break;
        case Command::ListPorts:
            sub.setApplicationDescription(QStringLiteral(
                    "COM 1 to COM 16: each device and its state (free, held, no permission,\n"
                    "unusable), with the reason."));
            break;
        case Command::None:
            break;
        }
    }

    QCommandLineParser global;
    QCommandLineParser sub;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help and exit.")};
    QCommandLineOption version{QStringLiteral("version"),
                               QStringLiteral("Show the version and exit.")};
    QCommandLineOption port{{QStringLiteral("p"), QStringLiteral("port")},
                            QStringLiteral("The supply's port: COMn or a device path."),
                            QStringLiteral("PORT")};
    QCommandLineOption log{QStringLiteral("log"),
                           QStringLiteral("Also write the frame log to FILE as CSV, with the "
                                          "columns of the window's, as frames go out."),
                           QStringLiteral("FILE")};
    QCommandLineOption quiet{{QStringLiteral("q"), QStringLiteral("quiet")},
                             QStringLiteral("No progress line and no frame lines.")};
    QCommandLineOption repeat{QStringLiteral("repeat"),
                              QStringLiteral("Play N cycles (1 to 9999, 0 until stopped) "
                                             "instead of the file's count."),
                              QStringLiteral("N")};
    QCommandLineOption listen{QStringLiteral("listen"),
                              QStringLiteral("Listen on [ADDRESS:]PORT (127.0.0.1 unless an "
                                             "address is named); the window's setting when "
                                             "not given."),
                              QStringLiteral("ADDRESS:PORT")};
};

// The bytes the system gave for `text`: decoding may have lost bytes that are not UTF-8.
QByteArray bytesOf(const QList<QByteArray> &arguments, const QString &text)
{
    for (qsizetype i = arguments.size() - 1; i > 0; --i) {
        if (QFile::decodeName(arguments.at(i)) == text)
            return arguments.at(i);
        if (QFile::decodeName(arguments.at(i)).endsWith(QLatin1Char('=') + text))
            return arguments.at(i).mid(arguments.at(i).indexOf('=') + 1);
    }
    return QFile::encodeName(text);
}

std::optional<int> repeatCount(const QString &text)
{
    const std::string digits = text.toStdString();
    int count = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    if (error != std::errc() || end != digits.data() + digits.size() || !isRepeatCount(count))
        return std::nullopt;
    return count;
}

// The command's own arguments into `options`.
Status parseCommand(Parsers &parsers, const QStringList &words,
                    const QList<QByteArray> &systemWords, Options &options)
{
    QCommandLineParser &sub = parsers.sub;
    if (!sub.parse(words)) {
        QString text = words.first() + QStringLiteral(": ") + sub.errorText();
        const QStringList globalNames = parsers.port.names() + parsers.log.names()
                                        + parsers.quiet.names() + parsers.version.names();
        const QString name = sub.unknownOptionNames().value(0);
        if (globalNames.contains(name))
            text += QStringLiteral(" It goes before the command.");
        return usage(text);
    }
    options.help = sub.isSet(parsers.help);
    const QStringList arguments = sub.positionalArguments();
    switch (options.command) {
    case Command::Play:
        if (arguments.size() != 1 && !options.help)
            return usage(QStringLiteral("play takes one sequence file"));
        options.file = bytesOf(systemWords, arguments.value(0));
        if (sub.isSet(parsers.repeat)) {
            options.repeat = repeatCount(sub.value(parsers.repeat));
            if (!options.repeat) {
                return usage(QStringLiteral("--repeat takes 1 to %1, or 0 for until stopped, "
                                            "not %2")
                                     .arg(MaxRepeat)
                                     .arg(sub.value(parsers.repeat)));
            }
        }
        break;
    case Command::Exec:
        options.lines = arguments;
        if (arguments.isEmpty() && !options.help)
            return usage(QStringLiteral("exec takes SCPI lines, or - for standard input"));
        if (arguments.size() > 1 && arguments.contains(QStringLiteral("-")))
            return usage(QStringLiteral("exec takes either lines or -, not both"));
        break;
    case Command::Serve:
        options.listen = sub.value(parsers.listen);
        if (sub.isSet(parsers.listen)) {
            if (const Result<ListenAddress> address = parseListenAddress(options.listen); !address)
                return usage(QStringLiteral("--listen: ")
                             + QString::fromStdString(address.failure().text));
        }
        [[fallthrough]];
    case Command::ListPorts:
    case Command::None:
        if (!arguments.isEmpty())
            return usage(QStringLiteral("unexpected argument ") + arguments.first());
        break;
    }
    return {};
}

} // namespace

Result<Options> parseOptions(const QList<QByteArray> &arguments)
{
    QStringList texts;
    for (const QByteArray &argument : arguments)
        texts << QFile::decodeName(argument);
    Parsers parsers;
    if (!parsers.global.parse(texts))
        return usage(parsers.global.errorText());
    Options options;
    options.help = parsers.global.isSet(parsers.help);
    options.version = parsers.global.isSet(parsers.version);
    options.quiet = parsers.global.isSet(parsers.quiet);
    options.port = QFile::encodeName(parsers.global.value(parsers.port)).toStdString();
    if (parsers.global.isSet(parsers.log))
        options.logPath = bytesOf(arguments, parsers.global.value(parsers.log));
    const QStringList words = parsers.global.positionalArguments();
    if (options.help || options.version)
        return options;
    if (words.isEmpty())
        return usage(QStringLiteral("no command: list-ports, play, exec or serve"));
    for (const CommandName &name : Commands) {
        if (words.first() == QLatin1String(name.word))
            options.command = name.command;
    }
    if (options.command == Command::None)
        return usage(QStringLiteral("unknown command ") + words.first());
    parsers.setUp(options.command);
    if (const Status parsed = parseCommand(parsers, words, arguments, options); !parsed)
        return parsed.failure();
    if (options.help)
        return options;
    const bool usesPort = options.command != Command::ListPorts;
    if (usesPort && options.port.empty())
        return usage(QStringLiteral("%1 needs --port PORT").arg(words.first()));
    if (!usesPort && (parsers.global.isSet(parsers.port) || !options.logPath.isEmpty()))
        return usage(QStringLiteral("list-ports opens no port: it takes no --port or --log"));
    if (parsers.global.isSet(parsers.log) && options.logPath.isEmpty())
        return usage(QStringLiteral("--log needs a file name"));
    return options;
}

QString helpText(Command command)
{
    Parsers parsers;
    QString usage = QStringLiteral("mq7410-run");
    QString text;
    if (command == Command::None) {
        text = parsers.global.helpText() + Epilogue;
    } else {
        parsers.setUp(command);
        for (const CommandName &name : Commands) {
            if (name.command == command)
                usage += QLatin1Char(' ') + QLatin1String(name.usage);
        }
        text = parsers.sub.helpText();
    }
    // Without a QCoreApplication Qt does not know the program's name.
    return text.replace(QStringLiteral("<executable_name>"), usage);
}

} // namespace mq7410::run
