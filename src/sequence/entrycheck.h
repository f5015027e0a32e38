#pragma once

// The one check run whenever the text of one of the table's 40 set-point boxes changes.

#include <cstdint>
#include <string_view>

namespace mq7410 {

// Voltage boxes: limit 32.0 V, stored in 10 mV steps. Current boxes: limit 3.0 A, in mA.
enum class SetPointKind { Voltage, Current };

struct EntryCheck
{
    // The box must be set to NumberToText(0), " 0"; that change re-runs the check, which then
    // accepts it. An accepted text stays exactly as typed.
    bool replaceWithZero;
    float entryValue;  // the PanelState's EntryValue after the check
    std::int16_t cell; // the value for the box's StepTable cell
};

// Reads `text` with TextToNumber, rounded to single precision. Above the limit (the limit
// itself is accepted), below 0, or beyond a double's range: replace, value and cell 0.
// Otherwise the cell is the single-precision value times the unit factor, worked out in
// double precision and rounded to nearest, halves to even. -0 is taken as 0.
EntryCheck checkEntry(std::string_view text, SetPointKind kind);

} // namespace mq7410
