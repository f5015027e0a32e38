#pragma once

// The manual panel, frame "Control": the four set-point displays, the selector buttons, the
// option strip, the two switches and the keypad. Built here; the window wires the handlers.

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <array>

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
};

ManualPanel buildManualPanel(QWidget *parent, TwipsLayout &layout);

} // namespace mq7410
