// SPDX-License-Identifier: GPL-3.0-or-later
#include "framehistory.h"

#include "csvrecord.h"

#include <algorithm>

namespace mq7410 {

FrameHistory::FrameHistory(std::size_t capacity)
    : m_capacity(std::max<std::size_t>(capacity, 1))
{}

std::uint64_t FrameHistory::add(LoggedFrame entry)
{
    if (full()) {
        m_entries.pop_front();
        ++m_dropped;
    }
    entry.id = ++m_added;
    m_entries.push_back(std::move(entry));
    return m_added;
}

LoggedFrame *FrameHistory::find(std::uint64_t id)
{
    // Ids grow by one with every entry, so the entry's place follows from the first one's.
    if (m_entries.empty() || id < m_entries.front().id || id > m_entries.back().id)
        return nullptr;
    return &m_entries[std::size_t(id - m_entries.front().id)];
}

void FrameHistory::clear()
{
    m_entries.clear();
    m_dropped = 0;
}

std::string FrameHistory::csvHeader()
{
    return csvRecord({"time", "frame", "meaning", "origin", "status"});
}

std::string FrameHistory::csvRow(const LoggedFrame &entry)
{
    return csvRecord({entry.time, entry.frame, entry.meaning, entry.origin, entry.status});
}

std::string FrameHistory::toCsv() const
{
    std::string csv = csvHeader();
    for (const LoggedFrame &entry : m_entries)
        csv += csvRow(entry);
    return csv;
}

} // namespace mq7410
