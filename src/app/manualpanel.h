// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The manual panel, frame "Control": the four set-point displays, the selector buttons, the
// option strip, the two switches and the keypad. Built here; the window wires the handlers.

#include "frontpanel.h"
#include "setpoint.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <string>

namespace mq7410 {

class TwipsLayout;

struct ManualPanel
{
    QGroupBox *Control = nullptr;

    QPushButton *SerialCommand = nullptr;
    QPushButton *OutputCommand = nullptr;

    QLabel *Channel2 = nullptr;
    QLabel *SerialLabel = nullptr;
    QLabel *Channel1 = nullptr;
    QLabel *CH2V = nullptr;
    QLabel *CH2I = nullptr;
    QLabel *VUnit = nullptr;
    QLabel *IUnit = nullptr;
    QLabel *CH1V = nullptr;
    QLabel *CH1I = nullptr;
    // "≤ 5.00 V" under a display while the user's limit is below the supply's.
    QLabel *CH2VLimit = nullptr;
    QLabel *CH2ILimit = nullptr;
    QLabel *CH1VLimit = nullptr;
    QLabel *CH1ILimit = nullptr;

    QGroupBox *ChannelFrame = nullptr;
    QRadioButton *CH2VOption = nullptr;
    QRadioButton *CH2AOption = nullptr;
    QRadioButton *CH1VOption = nullptr;
    QRadioButton *CH1AOption = nullptr;

    QPushButton *CH1VCommand = nullptr;
    QPushButton *CH1ACommand = nullptr;
    QPushButton *CH2VCommand = nullptr;
    QPushButton *CH2ACommand = nullptr;

    // ZeroCommand to NineCommand, indexed by their digit; the group's ids are the digits.
    std::array<QPushButton *, 10> digitKeys{};
    QButtonGroup *digitGroup = nullptr;
    QPushButton *EnterCommand = nullptr;

    QLabel *display(SetPoint setPoint) const;
    QLabel *limitNote(SetPoint setPoint) const;
    QPushButton *selector(SetPoint setPoint) const;
    QRadioButton *option(SetPoint setPoint) const;
};

ManualPanel buildManualPanel(QWidget *parent, TwipsLayout &layout);

// Shows a set-point on its display in the colour of its role, and tells assistive technology
// the value with its unit and role, so that a screen reader says "CH1 voltage, 12.34 V" rather
// than a bare number, and "typed, not sent" while it is.
void showDisplay(QLabel *display, const std::string &text, DisplayRole role);

} // namespace mq7410
