// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The little of UTF-8 that the table's texts need: where a character ends, and which ones are
// control characters.

#include <cstddef>
#include <string_view>

namespace mq7410 {

// The bytes of the UTF-8 character at text[i]; 0 when none starts there, overlong forms,
// surrogates and anything past U+10FFFF included.
std::size_t utf8Length(std::string_view text, std::size_t i);

// The code of `character` (one whole UTF-8 character) when it is a control character: C0
// (tab, CR and LF included), DEL or C1; else -1.
int controlCode(std::string_view character);

} // namespace mq7410
