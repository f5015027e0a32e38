#pragma once

// The window's variables, kept for as long as the program runs. Nothing here is saved.

#include <array>
#include <cstdint>
#include <string>

namespace mq7410 {

// -1 for on, 0 for off; a test asks only whether the flag is 0.
using Flag = std::int16_t;
constexpr Flag On = -1;
constexpr Flag Off = 0;

// Codes of the four set-points: the values of EditTarget and selectors 1 to 4 of DataTransfer.
enum SetPointCode : std::int16_t {
    CH1Current = 1,
    CH1Voltage = 2,
    CH2Current = 3,
    CH2Voltage = 4,
};

// Columns of a StepTable row, in the order the all-set-points frame carries them.
enum StepColumn { ColCH1Volt = 0, ColCH1Curr = 1, ColCH2Volt = 2, ColCH2Curr = 3 };

constexpr int StepRows = 10; // row 0 is the Finish row, rows 1 to 9 are steps 1 to 9
using StepRow = std::array<std::int16_t, 4>;
using StepTableRows = std::array<StepRow, StepRows>;

// Voltages are in steps of 10 mV (0..3200), currents in mA (0..3000). Every value the program
// gives a set-point fits 16 bits (the keypad's largest intermediate value is 32009).
struct PanelState
{
    std::int16_t EditTarget = CH1Voltage;
    Flag SeriesLink = Off;
    Flag OutputOn = Off;

    std::int16_t CH1VoltSet = 0;
    std::int16_t CH1CurrSet = 0;
    std::int16_t CH2VoltSet = 0;
    std::int16_t CH2CurrSet = 0;

    std::int16_t CH1VoltSent = 0;
    std::int16_t CH1CurrSent = 0;
    std::int16_t CH2VoltSent = 0;
    std::int16_t CH2CurrSent = 0;

    std::string SavedCH2VCaption;
    std::string SavedCH2ICaption;

    StepTableRows StepTable{};
    float EntryValue = 0.0f;

    Flag SeqRunning = Off;
    std::int16_t StepsDone = 0;
    double StepTimeLeft = 0.0;
};

} // namespace mq7410

namespace mq7410 {

// What start-up sets before anything else happens; the saved captions, the table, EntryValue
// and StepTimeLeft keep the values they were created with.
inline void setStartValues(PanelState &state)
{
    state.EditTarget = CH1Voltage;
    state.CH1CurrSet = 0;
    state.CH1VoltSet = 0;
    state.CH2CurrSet = 0;
    state.CH2VoltSet = 0;
    state.CH1CurrSent = 0;
    state.CH1VoltSent = 0;
    state.CH2CurrSent = 0;
    state.CH2VoltSent = 0;
    state.SeriesLink = Off;
    state.SeqRunning = Off;
    state.OutputOn = Off;
    state.StepsDone = 0;
}

} // namespace mq7410
