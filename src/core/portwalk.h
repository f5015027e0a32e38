// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Finding the supply at start-up: COM 1 to COM 16 are tried in turn, the user is asked about
// each one that opens, and the first one accepted stays open for the rest of the run.

#include "failure.h"
#include "messages.h"

#include <string>
#include <vector>

namespace mq7410 {

inline constexpr int FirstPort = 1;
inline constexpr int LastPort = 16;

struct PortTrial
{
    std::string device;      // empty: there is no COM n here, and nothing was tried
    std::string description; // the device and what the system knows of it
    Status opened;           // open, at the supply's line format, for this program alone
};

// A port as a list of ports shows it: whether this program could open it now, and why not.
enum class PortState { Free, Held, NoPermission, Unusable };

struct PortInfo
{
    int number = 0;     // COM n; 0 for a device named by its path
    std::string device; // as the system or MQ7410_PORTS names it
    std::string description;
    PortState state = PortState::Free;
    std::string reason; // why it is not free
};

// "free", "held", "no permission", "unusable".
const char *stateWord(PortState state);

class PortOpener
{
public:
    virtual ~PortOpener() = default;
    virtual PortTrial open(int number) = 0;
    // Closes the port opened last; a Failure in the serial layer's words when that went wrong.
    virtual Status close() = 0;
};

struct WalkResult
{
    int port = 0; // the accepted port, left open; 0 when none was and the program must end
    // "COM 2 (/dev/ttyS1): the reason" for every port that was tried and not offered.
    std::vector<std::string> notOffered;
};

WalkResult walkPorts(PortOpener &ports, MessageBoxes &boxes);

// The question the walk asks about an open port: "Find Com 3, Using it?", naming the device in
// the details. True for Yes.
bool askToUse(MessageBoxes &boxes, int number, const std::string &description);

} // namespace mq7410
