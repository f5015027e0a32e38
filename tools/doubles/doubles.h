// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Stand-ins for the world around the core, shared by the tests, the benchmarks and the
// screenshot tool: a link that records frames (and refuses or holds them back on demand),
// boxes answered from a script, and a clock that moves only when told.

#include "clock.h"
#include "framelink.h"
#include "messages.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace mq7410::test {

class RecordingLink final : public FrameLink
{
public:
    Result<Delivery> write(std::string_view frame) override;
    Status finishWaiting() override;

    // Writes are refused with this reason while it is not empty.
    std::string refuseWith;
    // While true, a frame leaves only in part: write() answers Waiting, and finishWaiting()
    // answers that the line is stalled.
    bool holdBack = false;
    std::vector<std::string> sent;    // every frame taken, whole or in part, in order
    std::vector<std::string> refused; // every frame refused, in order
    // Called with each frame before it is judged: what the world does meanwhile.
    std::function<void(std::string_view)> onWrite;
};

class ScriptedBoxes final : public MessageBoxes
{
public:
    Answer show(const Message &message) override;

    // Answers for the coming questions, in order; No (Cancel for unsaved changes) when none is
    // left.
    std::deque<Answer> answers;
    std::vector<Message> shown;
    // Called while a box is up, before it is answered.
    std::function<void(const Message &)> whileShown;
};

class ManualClock final : public Clock
{
public:
    std::int64_t nowNs() const override { return now; }
    void advanceMs(std::int64_t ms) { now += ms * 1'000'000; }

    std::int64_t now = 1'000'000'000;
};

} // namespace mq7410::test
