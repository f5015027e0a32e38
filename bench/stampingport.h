#pragma once

#include "benchtools.h"

#include "serial/forwardingport.h"

#include <vector>

namespace mq7410::bench {

// The real port, with the time at which each write() returned: the frame was then the
// system's, so what comes after is the line's and the sim's share.
class StampingPort final : public ForwardingPort
{
public:
    using ForwardingPort::ForwardingPort;

    bool write(std::string_view frame) override
    {
        const bool written = ForwardingPort::write(frame);
        writtenNs.push_back(monotonicNs());
        return written;
    }

    std::vector<std::int64_t> writtenNs;
};

} // namespace mq7410::bench
