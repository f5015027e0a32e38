// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// CSV records (RFC 4180) for the files and exports the program writes; libcsv does the
// quoting.

#include <string>
#include <vector>

namespace mq7410 {

// The fields joined by commas, ended by "\n". A field is put in quotes, its quotes doubled,
// only when it has to be: when it holds a comma, a quote, CR or LF, or starts or ends with a
// blank or a tab (readers that trim would lose those).
std::string csvRecord(const std::vector<std::string> &fields);

} // namespace mq7410
