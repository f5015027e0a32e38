// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Cuts a stream of SCPI lines (a client's socket, a script's standard input) at LF, in bounded
// memory: a line longer than the limit is reported once and the rest of it, however long, is
// skipped up to its LF.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace mq7410 {

struct FramedLine
{
    std::string text;      // without its LF (a CR before it is the interpreter's to drop)
    bool overlong = false; // longer than the limit: `text` is empty, the line is gone
};

class LineFramer
{
public:
    // The most a line may hold, CR and LF not counted.
    static constexpr std::size_t MaxLine = 4096;

    // Takes the next bytes. Call it only when next() has no line left: the framer then holds
    // at most one line's start.
    void append(std::string_view bytes);
    // The next whole line; none until its LF has come.
    std::optional<FramedLine> next();

private:
    std::string m_pending;   // bytes not yet cut into lines
    std::size_t m_start = 0; // where the unread part of m_pending begins
    bool m_skipping = false; // inside an overlong line, until its LF
};

} // namespace mq7410
