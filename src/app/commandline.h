#pragma once

// The command line of mq7410: [--help] [--version] [FILE.csv].

#include <string>
#include <vector>

namespace mq7410 {

struct CommandLine
{
    bool help = false;
    bool version = false;
    std::string sequenceFile; // loaded right after the port walk; empty for none
    std::string error;        // not empty: a usage error, exit status 2
};

// `arguments` without the program name.
CommandLine parseCommandLine(const std::vector<std::string> &arguments);

std::string helpText();

} // namespace mq7410
