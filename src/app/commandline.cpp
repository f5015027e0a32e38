#include "commandline.h"

namespace mq7410 {

CommandLine parseCommandLine(const std::vector<std::string> &arguments)
{
    CommandLine command;
    bool optionsEnded = false;
    for (const std::string &argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "-h" || argument == "--help")) {
            command.help = true;
        } else if (!optionsEnded && (argument == "-v" || argument == "--version")) {
            command.version = true;
        } else if (!optionsEnded && argument.size() > 1 && argument.front() == '-') {
            command.error = "unknown option " + argument;
            return command;
        } else if (!command.sequenceFile.empty()) {
            command.error = "more than one sequence file: " + argument;
            return command;
        } else {
            command.sequenceFile = argument;
        }
    }
    return command;
}

std::string helpText()
{
    return R"(Usage: mq7410 [OPTIONS] [FILE.csv]

The front panel of the MQ-7410 dual-channel DC power supply. At start-up it asks about each
serial port that opens (COM 1 to COM 16) and keeps the one you accept; with FILE.csv it then
loads that sequence file into the table and opens the auto panel.

Options:
  -h, --help      show this help and exit
  -v, --version   show the version and exit

Environment:
  MQ7410_PORTS    the devices that are COM 1, COM 2, ..., separated by ':' (Windows: ';')

It needs a desktop session (X11 or Wayland). Exit status: 0 when ended by the user or when
no port was accepted, 1 without a display, 2 for a usage error.
)";
}

} // namespace mq7410
