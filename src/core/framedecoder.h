// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Turns the bytes the front panel writes, in chunks of any size, into frames and reports of
// skipped bytes.
//
// The rule, applied at the first byte not yet accounted for:
// 1. If the bytes from there form a whole valid frame (a known code, then as many upper-case
//    hex characters as the code asks for, and for 8C exactly F0F0 or 0F0F), that is a frame.
// 2. If they are a valid beginning of one, wait for more bytes.
// 3. Otherwise that one byte is skipped, and the rule starts again at the next byte.
// A byte that rules a candidate out is judged at once; nothing waits for a whole frame.
//
// So every byte ends up either in a frame or skipped, in order, and the result does not
// depend on how the stream was cut into chunks. A valid frame is missed only when an earlier
// frame took its first bytes: without delimiters, a code followed by enough hex characters
// is a frame, whatever follows ("8D" + "8804D2..." is read as an 8D frame).
//
// Skipped bytes in a row are reported together, at most MaxSkippedReport bytes a report; a
// report is closed by a frame, by the end of the chunk and by finish(). Values out of range
// are decoded as they are; Frame::outOfRange() tells. Memory stays bounded: between chunks
// the decoder holds less than one frame.

#include "frame.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace mq7410 {

enum class SkipReason {
    UnknownCode,       // not 87..8F, or 8B, or lower-case
    BadFieldCharacter, // a field character that is not 0-9 or A-F
    BadOutputPattern,  // 8C followed by hex other than F0F0 or 0F0F
    Truncated,         // the stream ended inside a frame
};

struct Skipped
{
    std::string bytes;
    SkipReason reason = SkipReason::UnknownCode; // why the first of these bytes was skipped
};

using DecodeEvent = std::variant<Frame, Skipped>;

constexpr std::size_t MaxSkippedReport = 64;

class FrameDecoder
{
public:
    std::vector<DecodeEvent> feed(std::string_view bytes);

    // The end of the stream: what is left cannot become a frame any more.
    std::vector<DecodeEvent> finish();

    // The bytes held for a frame that has begun but is not complete.
    std::string_view pending() const { return m_pending; }

private:
    void decodePending(std::vector<DecodeEvent> &events, bool atEnd);
    void skipFirst(SkipReason reason, std::vector<DecodeEvent> &events);
    void closeSkipped(std::vector<DecodeEvent> &events);

    std::string m_pending; // never longer than MaxFrameLength
    Skipped m_skipped;     // the run of skipped bytes being gathered
};

// "unknown_code", "bad_field_character", "bad_output_pattern", "truncated".
const char *reasonKey(SkipReason reason);

// For a person: "unknown command code", ...
const char *reasonText(SkipReason reason);

} // namespace mq7410
