// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The frames of this session and how each run ended, newest last, for the frame log. Bounded,
// so that a week-long run keeps its memory: the oldest entries go, and how many went is
// counted.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

namespace mq7410 {

struct LoggedFrame
{
    std::uint64_t id = 0; // given by the history: the n-th entry ever added
    std::string time;     // local time to the millisecond, as the front end stamped it
    std::string frame;    // empty for an entry that is not a frame (the end of a run)
    std::string meaning;
    std::string origin; // "panel", "run", "client 127.0.0.1:40312", ...
    std::string status; // "sent", "waiting", "not sent: <reason>", "cut: <reason>"; or empty
};

class FrameHistory
{
public:
    static constexpr std::size_t DefaultCapacity = 10'000;

    explicit FrameHistory(std::size_t capacity = DefaultCapacity);

    // Adds the entry and returns its id; when full, the oldest one goes first.
    std::uint64_t add(LoggedFrame entry);
    // The entry `id`, while it is kept; nullptr once it went.
    LoggedFrame *find(std::uint64_t id);
    bool full() const { return m_entries.size() == m_capacity; }
    void clear();
    const std::deque<LoggedFrame> &entries() const { return m_entries; }
    std::uint64_t dropped() const { return m_dropped; }

    // The entries as CSV with a header row: time,frame,meaning,origin,status.
    std::string toCsv() const;
    static std::string csvHeader();
    static std::string csvRow(const LoggedFrame &entry);

private:
    std::size_t m_capacity;
    std::deque<LoggedFrame> m_entries;
    std::uint64_t m_dropped = 0;
    std::uint64_t m_added = 0;
};

} // namespace mq7410
