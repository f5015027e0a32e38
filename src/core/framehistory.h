#pragma once

// The frames of this session, newest last, for the frame log. Bounded, so that a week-long run
// keeps its memory: the oldest entries go, and how many went is counted.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

namespace mq7410 {

struct LoggedFrame
{
    std::string time; // local time to the millisecond, as the front end stamped it
    std::string frame;
    std::string meaning;
    std::string failure; // why it was not sent; empty when it was

    bool sent() const { return failure.empty(); }
};

class FrameHistory
{
public:
    static constexpr std::size_t DefaultCapacity = 10'000;

    explicit FrameHistory(std::size_t capacity = DefaultCapacity);

    // Adds the entry; when full, the oldest one goes first.
    void add(LoggedFrame entry);
    bool full() const { return m_entries.size() == m_capacity; }
    void dropOldest();
    void clear();
    const std::deque<LoggedFrame> &entries() const { return m_entries; }
    std::uint64_t dropped() const { return m_dropped; }

    // The entries as CSV with a header row: time,frame,meaning,status.
    std::string toCsv() const;

private:
    std::size_t m_capacity;
    std::deque<LoggedFrame> m_entries;
    std::uint64_t m_dropped = 0;
};

// "not sent: <reason>", or "sent".
std::string statusText(const LoggedFrame &entry);

} // namespace mq7410
