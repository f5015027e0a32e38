#pragma once

// Texts for the table's boxes, from plain numbers to what only a hostile user or a clipboard
// brings: signs, exponents, blanks, tabs, letters, non-ASCII, huge and tiny numbers, thousands
// of characters.

#include <random>
#include <string>

namespace mq7410::randomtest {

using Rng = std::mt19937_64;

// Characters one can type into a box key by key: printable, from the Basic Multilingual Plane.
std::string typedText(Rng &rng, bool timeBox);

// Anything a clipboard may hold, line feeds, tabs, control characters and emoji included.
std::string pastedText(Rng &rng, bool timeBox);

} // namespace mq7410::randomtest
