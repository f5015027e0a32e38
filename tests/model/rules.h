#pragma once

// The model's own arithmetic, written from the documented behaviour and kept apart from the
// program's: display texts, frame fields, the table's entry check and the step times. Only
// TextToNumber and NumberToText are shared with the program.

#include <cstdint>
#include <string>
#include <string_view>

namespace mq7410::model {

// "0.000" for 0 or less, else whole amperes, ".", three digits of mA: 1500 -> "1.500".
std::string currentText(int milliamperes);
// "00.00" for 0 or less, else at least two digits of volts, ".", two digits: 5 -> "00.05".
std::string voltageText(int tenMillivolts);

// Four upper-case hex digits, zero-filled by the documented rule (one zero above 255, two
// above 15, three otherwise).
std::string hexField(int value);

// What the check of a set-point box makes of its text: either the box is replaced by " 0" and
// the cell holds 0, or the text stays and the cell holds the scaled value.
struct Entry
{
    bool replaced = false;
    std::int16_t cell = 0;
};
Entry checkEntry(std::string_view text, bool voltage);

// Whole seconds of a Time box: nearest whole number, halves away from zero; below 0 or not
// finite counts as 0, above 999999 as 999999.
double stepSeconds(std::string_view text);

} // namespace mq7410::model
