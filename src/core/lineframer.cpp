// SPDX-License-Identifier: GPL-3.0-or-later
#include "lineframer.h"

namespace mq7410 {

void LineFramer::append(std::string_view bytes)
{
    m_pending.erase(0, m_start);
    m_start = 0;
    m_pending.append(bytes);
}

std::optional<FramedLine> LineFramer::next()
{
    const std::string_view unread = std::string_view(m_pending).substr(m_start);
    const std::size_t lf = unread.find('\n');
    if (m_skipping) {
        if (lf == std::string_view::npos) {
            m_pending.clear(); // skipped bytes cost nothing
            m_start = 0;
            return std::nullopt;
        }
        m_skipping = false;
        m_start += lf + 1;
        return next();
    }
    if (lf == std::string_view::npos) {
        // One byte more than the limit may still be the CR of a CR LF.
        if (unread.size() > MaxLine + 1) {
            m_skipping = true;
            m_pending.clear();
            m_start = 0;
            return FramedLine{{}, true};
        }
        return std::nullopt;
    }
    std::string_view line = unread.substr(0, lf);
    m_start += lf + 1;
    const std::size_t length = line.ends_with('\r') ? line.size() - 1 : line.size();
    if (length > MaxLine)
        return FramedLine{{}, true};
    return FramedLine{std::string(line), false};
}

} // namespace mq7410
