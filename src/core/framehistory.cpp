#include "framehistory.h"

#include "csvrecord.h"

#include <algorithm>

namespace mq7410 {

FrameHistory::FrameHistory(std::size_t capacity)
    : m_capacity(std::max<std::size_t>(capacity, 1))
{}

void FrameHistory::add(LoggedFrame entry)
{
    if (full())
        dropOldest();
    m_entries.push_back(std::move(entry));
}

void FrameHistory::dropOldest()
{
    if (m_entries.empty())
        return;
    m_entries.pop_front();
    ++m_dropped;
}

void FrameHistory::clear()
{
    m_entries.clear();
    m_dropped = 0;
}

std::string FrameHistory::toCsv() const
{
    std::string csv = csvRecord({"time", "frame", "meaning", "status"});
    for (const LoggedFrame &entry : m_entries)
        csv += csvRecord({entry.time, entry.frame, entry.meaning, statusText(entry)});
    return csv;
}

std::string statusText(const LoggedFrame &entry)
{
    return entry.sent() ? "sent" : "not sent: " + entry.failure;
}

} // namespace mq7410
