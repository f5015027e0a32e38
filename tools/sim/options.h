#pragma once

// The command line of mq7410-sim: [--log FILE] [--exit-after-frames N] [-- COMMAND [ARGS...]].

#include <cstdint>
#include <string>
#include <vector>

namespace mq7410::sim {

struct Options
{
    bool help = false;
    std::string logPath;               // empty: no log
    std::uint64_t exitAfterFrames = 0; // 0: never
    std::vector<std::string> command;  // what follows "--"
};

struct ParsedOptions
{
    Options options;
    std::string error; // not empty: a usage error, exit code 2
};

// `arguments` without the program name. The last of a repeated option wins.
ParsedOptions parseOptions(const std::vector<std::string> &arguments);

std::string helpText();

} // namespace mq7410::sim
