// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include <QCommandLineParser>
#include <QFile>

namespace mq7410 {
namespace {

const QString Description = QStringLiteral(
        "The front panel of the MQ-7410 dual-channel DC power supply. At start-up it asks\n"
        "about each serial port that opens (COM 1 to COM 16) and keeps the one you accept;\n"
        "with FILE.csv it then loads that sequence file into the table and opens the auto panel.");

const QString Epilogue = QStringLiteral(
        "\nEnvironment:\n"
        "  MQ7410_PORTS   the devices that are COM 1, COM 2, ..., separated by ':' (Windows: ';')\n"
        "\n"
        "It needs a desktop session (X11 or Wayland). SIGTERM, SIGINT and SIGHUP end it as\n"
        "Exit does. Exit status: 0 when ended by the user or when no port was accepted, 1\n"
        "without a display or when this help could not be written, 2 for a usage error.\n");

struct Parser
{
    Parser()
    {
        parser.setApplicationDescription(Description);
        parser.addOption(help);
        parser.addOption(version);
        parser.addOption(scpi);
        parser.addPositionalArgument(QStringLiteral("FILE.csv"),
                                     QStringLiteral("A sequence file to open."),
                                     QStringLiteral("[FILE.csv]"));
    }

    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help and exit.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the version and exit.")};
    QCommandLineOption scpi{QStringLiteral("scpi"),
                            QStringLiteral("Serve SCPI on [ADDRESS:]PORT (127.0.0.1 unless an "
                                           "address is named), e.g. --scpi 5025."),
                            QStringLiteral("[ADDRESS:]PORT")};
};

} // namespace

Result<CommandLine> parseCommandLine(const QList<QByteArray> &arguments)
{
    Parser parser;
    QStringList texts;
    for (const QByteArray &argument : arguments)
        texts << QFile::decodeName(argument);
    if (!parser.parser.parse(texts))
        return Failure{FailureKind::BadValue, parser.parser.errorText().toStdString()};
    CommandLine command;
    command.help = parser.parser.isSet(parser.help);
    command.version = parser.parser.isSet(parser.version);
    command.scpi = parser.parser.value(parser.scpi);
    const QStringList files = parser.parser.positionalArguments();
    if (files.size() > 1) {
        return Failure{FailureKind::BadValue,
                       "more than one sequence file: " + files.at(1).toStdString()};
    }
    if (!files.isEmpty()) {
        // The name as the system gave it: decoding it may have lost bytes that are not UTF-8.
        command.sequenceFile = QFile::encodeName(files.front());
        for (qsizetype i = arguments.size() - 1; i > 0; --i) {
            if (texts.at(i) == files.front()) {
                command.sequenceFile = arguments.at(i);
                break;
            }
        }
    }
    return command;
}

QString helpText()
{
    return Parser().parser.helpText().replace(QStringLiteral("<executable_name>"),
                                              QStringLiteral("mq7410"))
           + Epilogue;
}

} // namespace mq7410
