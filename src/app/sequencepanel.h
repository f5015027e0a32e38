// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The auto panel, frame "Auto Sequence List": nine timed steps and a Finish row, with Start,
// Cancel and the repeat count. Built here; the window wires the handlers.

#include "sequencetable.h"
#include "tablebox.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include <array>

namespace mq7410 {

class TwipsLayout;

struct SequencePanel
{
    QGroupBox *Sequence = nullptr;

    QLabel *StepIndex = nullptr;
    QLabel *TimeL = nullptr;
    QLabel *CH1VL = nullptr;
    QLabel *CH1AL = nullptr;
    QLabel *CH2VL = nullptr;
    QLabel *CH2AL = nullptr;
    QLabel *Unit = nullptr;

    // Step1 to Step9 at index 0 to 8; Finish labels the last line.
    std::array<QLabel *, 9> stepLabels{};
    QLabel *Finish = nullptr;
    // Time1 to Time9 at index 0 to 8; step k's time box stands one line below its label.
    std::array<TableBox *, StepCount> timeBoxes{};
    // The set-point boxes by table row and set-point: row r holds CH1V(r+1), CH1I(r+1),
    // CH2V(r+1) and CH2I(r+1), so row 0 is the Finish row's CH1V1 ... CH2I1.
    std::array<std::array<TableBox *, SetPointCount>, RowCount> valueBoxes{};

    QPushButton *CancelCommand = nullptr;
    QPushButton *Start = nullptr;
    // Cycles a run plays: 1 to 9999, or 0 shown as "until Stop".
    QLabel *RepeatL = nullptr;
    QSpinBox *RepeatCount = nullptr;
};

SequencePanel buildSequencePanel(QWidget *parent, TwipsLayout &layout);

// The caption under the headings: the ranges, spread under them by blanks.
extern const char *const UnitCaption;

} // namespace mq7410
