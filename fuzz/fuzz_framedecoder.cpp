// SPDX-License-Identifier: GPL-3.0-or-later
// The frame decoder on any bytes, cut into chunks of any sizes: every byte ends up in a frame
// or in a report of skipped bytes, in order; frames do not depend on the chunks; no more than
// one frame is held between chunks; every frame is one that parseFrame takes, and has words.

#include "fuzzcheck.h"

#include "framedecoder.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace mq7410;

struct Decoded
{
    std::string bytes;               // frames and skipped bytes, in the order reported
    std::vector<std::string> frames; // the frames' texts
};

void take(const std::vector<DecodeEvent> &events, Decoded &decoded)
{
    for (const DecodeEvent &event : events) {
        if (const auto *frame = std::get_if<Frame>(&event)) {
            FUZZ_CHECK(frame->text.size() == static_cast<std::size_t>(frameLength(frame->command))
                               && parseFrame(frame->text),
                       "frame \"%s\" is not one", frame->text.c_str());
            // Words for every frame decoded: .at() on a missing field would throw here.
            describeFrame(*frame);
            decoded.bytes += frame->text;
            decoded.frames.push_back(frame->text);
        } else {
            const auto &skipped = std::get<Skipped>(event);
            FUZZ_CHECK(!skipped.bytes.empty() && skipped.bytes.size() <= MaxSkippedReport,
                       "a report of %zu skipped bytes", skipped.bytes.size());
            decoded.bytes += skipped.bytes;
        }
    }
}

Decoded decode(std::string_view stream, const std::vector<std::size_t> &chunks)
{
    FrameDecoder decoder;
    Decoded decoded;
    std::size_t at = 0;
    for (std::size_t i = 0; at < stream.size(); ++i) {
        const std::size_t length = chunks.empty() ? stream.size() : chunks[i % chunks.size()];
        take(decoder.feed(stream.substr(at, length)), decoded);
        at += length;
        FUZZ_CHECK(decoder.pending().size() < static_cast<std::size_t>(MaxFrameLength),
                   "%zu bytes held between chunks", decoder.pending().size());
    }
    take(decoder.finish(), decoded);
    FUZZ_CHECK(decoder.pending().empty(), "bytes held after the end");
    return decoded;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The first bytes, up to a zero byte, give the chunk sizes (1 to 32); the rest is the
    // stream.
    std::vector<std::size_t> chunks;
    std::size_t at = 0;
    for (; at < size && data[at] != 0 && chunks.size() < 16; ++at)
        chunks.push_back(data[at] % 32 + 1);
    const std::string_view stream(reinterpret_cast<const char *>(data) + std::min(at + 1, size),
                                  size - std::min(at + 1, size));

    const Decoded whole = decode(stream, {});
    FUZZ_CHECK(whole.bytes == stream, "bytes lost, added or reordered");
    const Decoded cut = decode(stream, chunks);
    FUZZ_CHECK(cut.bytes == stream, "bytes lost, added or reordered in chunks");
    FUZZ_CHECK(cut.frames == whole.frames, "the frames depend on the chunks");
    return 0;
}
