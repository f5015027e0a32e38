// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Which command a header names. A pattern lists its nodes from the root, separated by ':',
// an optional node in brackets: "[SOURce]:VOLTage:[LEVel]". A keyword names a node in its
// short form (the leading capitals and digits: SOUR) or its long form (SOURce), in any case,
// and in no other form: VOLTA names nothing.

#include <span>
#include <string>
#include <string_view>

namespace mq7410 {

// "SOUR" for "SOURce".
std::string_view shortFormOf(std::string_view node);

bool keywordNames(std::string_view node, std::string_view keyword);

bool headerNames(std::string_view pattern, std::span<const std::string> keywords);

} // namespace mq7410
