#pragma once

#include "serial/forwardingport.h"

#include <string>
#include <vector>

namespace mq7410::test {

// Passes every call on to a real port and remembers each frame the program tried to write,
// so that a test can tell "tried once and failed" from "tried again" or "never tried".
class RecordingPort final : public ForwardingPort
{
public:
    using ForwardingPort::ForwardingPort;

    bool write(std::string_view frame) override
    {
        const bool written = ForwardingPort::write(frame);
        (written ? sent : failed).emplace_back(frame);
        tried.emplace_back(frame);
        return written;
    }

    std::vector<std::string> tried;  // every frame handed to write(), in order
    std::vector<std::string> sent;   // those the port took
    std::vector<std::string> failed; // those it refused
};

} // namespace mq7410::test
