// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the program reads a number the user typed into a box, and writes one back.
// Plain C++, so that the table and the runner read and write numbers the same way everywhere.

#include <string>
#include <string_view>

namespace mq7410 {

// Reads the leading number of `text`, whatever the locale.
// Blanks, tabs and line feeds are skipped wherever they stand. Then: an optional sign, digits
// with at most one ".", an optional exponent (E or e, optional sign, digits). Reading stops at
// the first character that cannot continue the number. No leading number gives 0. A number
// too large for a double gives +/- infinity; one too small gives 0.
double textToNumber(std::string_view text);

struct NumberReading
{
    double value = 0.0;
    bool restIgnored = false; // the text has more than the number: "12,5", "1.5A", "x"
};

// textToNumber, and whether part of the text was not read.
NumberReading readNumber(std::string_view text);

// Writes `x` as the boxes show numbers: a blank before a number of 0 or more, "-" before a
// negative one; no zero before the point below 1; no trailing zeros; at most 15 significant
// digits (" 0", " 12", "-3", " 2.5", " .5"). Very large or very small magnitudes use an
// exponent (" 1E+15", " 1E-05"); infinities and NaN are written " inf", "-inf", " nan".
std::string numberToText(double x);

} // namespace mq7410
