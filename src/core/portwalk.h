#pragma once

// Finding the supply at start-up: COM 1 to COM 16 are tried in turn, the user is asked about
// each one that opens, and the first one accepted stays open for the rest of the run.

#include "messages.h"

#include <string>
#include <vector>

namespace mq7410 {

inline constexpr int FirstPort = 1;
inline constexpr int LastPort = 16;

struct PortTrial
{
    std::string device;      // empty: there is no COM n here, and nothing was tried
    bool opened = false;     // open, at the fixed line settings, for this program alone
    std::string description; // the device and what the system knows of it
    std::string reason;      // why it did not open
};

class PortOpener
{
public:
    virtual ~PortOpener() = default;
    virtual PortTrial open(int number) = 0;
    // Closes the port opened last; the serial layer's words when that went wrong, else empty.
    virtual std::string close() = 0;
};

struct WalkResult
{
    int port = 0; // the accepted port, left open; 0 when none was and the program must end
    // "COM 2 (/dev/ttyS1): the reason" for every port that was tried and not offered.
    std::vector<std::string> notOffered;
};

WalkResult walkPorts(PortOpener &ports, MessageBoxes &boxes);

} // namespace mq7410
