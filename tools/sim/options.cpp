#include "options.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace mq7410::sim {

namespace {

std::optional<std::uint64_t> positiveNumber(std::string_view text)
{
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number == 0)
        return std::nullopt;
    return number;
}

} // namespace

ParsedOptions parseOptions(const std::vector<std::string> &arguments)
{
    ParsedOptions parsed;
    Options &options = parsed.options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--") {
            options.command.assign(arguments.begin() + i + 1, arguments.end());
            if (options.command.empty())
                parsed.error = "no COMMAND after --";
            return parsed;
        }
        if (argument == "-h" || argument == "--help") {
            options.help = true;
            continue;
        }

        // Options with a value: "--name VALUE" or "--name=VALUE".
        const std::string_view name = argument.substr(0, argument.find('='));
        if (name != "--log" && name != "--exit-after-frames") {
            parsed.error = argument.starts_with('-')
                                   ? "unknown option " + std::string(argument)
                                   : "unexpected argument " + std::string(argument)
                                             + " (a COMMAND goes after --)";
            return parsed;
        }
        std::string value;
        if (name.size() < argument.size()) {
            value = argument.substr(name.size() + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            parsed.error = std::string(name) + " needs a value";
            return parsed;
        }

        if (name == "--log") {
            if (value.empty()) {
                parsed.error = "--log needs a file name";
                return parsed;
            }
            options.logPath = value;
        } else if (const std::optional<std::uint64_t> frames = positiveNumber(value)) {
            options.exitAfterFrames = *frames;
        } else {
            parsed.error = "--exit-after-frames needs a whole number of 1 or more, not " + value;
            return parsed;
        }
    }
    return parsed;
}

std::string helpText()
{
    return R"(Usage: mq7410-sim [OPTIONS] [-- COMMAND [ARGS...]]

The MQ-7410 virtual supply. Opens a pseudo-terminal, prints its path on the first line
("device: /dev/pts/N") and decodes the frames the front panel writes to it, as the supply
does: one line per frame, and a status line with the whole state of the supply.

Options:
  --log FILE              also write every event to FILE as JSON lines, flushed per line
  --exit-after-frames N   test hook: after N frames, close the pseudo-terminal (the
                          supply hangs up) and exit; with a COMMAND, wait for it first
  -h, --help              show this help and exit
  -- COMMAND [ARGS...]    run COMMAND with MQ7410_PORTS set to the pseudo-terminal's path,
                          forward its output, and exit with its exit code when it ends

The line settings that the front panel applies are read back and every change is reported;
anything other than 115200 baud, 8 data bits, no parity, 1 stop bit is flagged while the
panel holds the line.

SIGTERM and SIGINT (test hooks too) close the pseudo-terminal, which the front panel sees as
the far end hanging up, and end the program; a COMMAND is asked to end as well.

Exit status: 0 when done, 1 when the pseudo-terminal or the log cannot be opened, 2 for a
usage error. With a COMMAND: its exit status, 128 + the signal number when a signal ended
it, 127 when it could not be started.
)";
}

} // namespace mq7410::sim
