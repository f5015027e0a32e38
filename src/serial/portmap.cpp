// SPDX-License-Identifier: GPL-3.0-or-later
#include "portmap.h"

#include "naturalorder.h"
#include "portwalk.h"

#include <algorithm>
#include <string_view>

namespace mq7410 {

namespace {

bool inRange(int number)
{
    return number >= FirstPort && number <= LastPort;
}

std::vector<std::string_view> entriesOf(std::string_view list)
{
    std::vector<std::string_view> entries;
    std::size_t start = 0;
#ifdef _WIN32
    for (std::size_t end = list.find(';'); end != std::string_view::npos;
         end = list.find(';', start)) {
        entries.push_back(list.substr(start, end - start));
        start = end + 1;
    }
#else
    std::size_t colon = list.find(':');
    while (colon != std::string_view::npos) {
        // A run of colons separates only before '/' or the end; every colon after the first
        // closes an empty entry.
        const std::size_t runEnd = std::min(list.find_first_not_of(':', colon), list.size());
        if (runEnd == list.size() || list[runEnd] == '/') {
            entries.push_back(list.substr(start, colon - start));
            entries.insert(entries.end(), runEnd - colon - 1, std::string_view());
            start = runEnd;
        }
        colon = list.find(':', runEnd);
    }
#endif
    entries.push_back(list.substr(start));
    return entries;
}

} // namespace

std::string deviceForPort(int number, const std::optional<std::string> &portsVariable,
                          std::vector<std::string> systemDevices)
{
    if (!inRange(number))
        return {};
    if (portsVariable) {
        const std::vector<std::string_view> entries = entriesOf(*portsVariable);
        return std::size_t(number) <= entries.size() ? std::string(entries[number - 1])
                                                     : std::string();
    }
#ifdef _WIN32
    (void)systemDevices;
    return "COM" + std::to_string(number);
#else
    if (std::size_t(number) > systemDevices.size())
        return {};
    std::sort(systemDevices.begin(), systemDevices.end(), naturalLess);
    return systemDevices[std::size_t(number) - 1];
#endif
}

} // namespace mq7410
