#pragma once

// Where the panel's frames go: the supply's serial line, or a double in tests.

#include <string>
#include <string_view>

namespace mq7410 {

struct WriteResult
{
    bool written = false;
    std::string reason; // why not, in the serial layer's words; empty when written
};

class FrameLink
{
public:
    virtual ~FrameLink() = default;
    // Hands the whole frame on, or none of it: a frame that cannot go out whole within the
    // link's deadline is refused and leaves no byte behind.
    virtual WriteResult write(std::string_view frame) = 0;
};

} // namespace mq7410
