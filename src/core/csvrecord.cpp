// SPDX-License-Identifier: GPL-3.0-or-later
#include "csvrecord.h"

#include <csv.h>

#include <string_view>

namespace mq7410 {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool needsQuotes(std::string_view field)
{
    return field.find_first_of(",\"\r\n") != std::string_view::npos
           || (!field.empty() && (isBlank(field.front()) || isBlank(field.back())));
}

void appendQuoted(std::string &record, std::string_view field)
{
    // At worst every character is a doubled quote, plus the two around the field.
    const std::size_t start = record.size();
    record.resize(start + 2 * field.size() + 2);
    const std::size_t written
            = csv_write(record.data() + start, record.size() - start, field.data(), field.size());
    record.resize(start + written);
}

} // namespace

std::string csvRecord(const std::vector<std::string> &fields)
{
    std::string record;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            record += ',';
        if (needsQuotes(fields[i]))
            appendQuoted(record, fields[i]);
        else
            record += fields[i];
    }
    record += '\n';
    return record;
}

} // namespace mq7410
