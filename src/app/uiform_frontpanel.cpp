// Handlers of the manual panel: output switch, Enter, selectors, keypad, series link, and the
// keys of the physical keyboard that stand for the keypad.

#include "uiform.h"

#include "panel/setpointentry.h"
#include "protocol/datatransfer.h"

#include <QKeyEvent>

namespace mq7410 {

void UIForm::connectFrontPanel()
{
    for (QPushButton *sender :
         {m_manual.EnterCommand, m_manual.OutputCommand, m_manual.SerialCommand, m_sequence.Start})
        m_clickFirst.watch(sender);
    connect(m_manual.OutputCommand, &QPushButton::clicked, this, [this] { OutputCommand_Click(); });
    connect(m_manual.EnterCommand, &QPushButton::clicked, this, [this] { EnterCommand_Click(); });
    connect(m_manual.SerialCommand, &QPushButton::clicked, this, [this] { SerialCommand_Click(); });
    connect(m_manual.digitGroup, &QButtonGroup::idClicked, this,
            [this](int digit) { DigitCommand_Click(digit); });
    const std::pair<QPushButton *, SetPointCode> selectors[] = {
            {m_manual.CH1ACommand, CH1Current},
            {m_manual.CH1VCommand, CH1Voltage},
            {m_manual.CH2ACommand, CH2Current},
            {m_manual.CH2VCommand, CH2Voltage},
    };
    for (const auto &[button, code] : selectors) {
        connect(button, &QPushButton::clicked, this,
                [this, code = code] { SelectorCommand_Click(code); });
    }
}

void UIForm::OutputCommand_Click()
{
    if (m_state.OutputOn != Off) {
        m_state.OutputOn = Off;
        m_manual.OutputCommand->setText(QStringLiteral("Output /Off"));
    } else {
        m_state.OutputOn = On;
        m_manual.OutputCommand->setText(QStringLiteral("Output /On"));
    }
    DataTransfer(SendOutputState);
}

void UIForm::EnterCommand_Click()
{
    DataTransfer(m_state.EditTarget);
}

void UIForm::SelectorCommand_Click(std::int16_t code)
{
    selectSetPoint(code, m_state, m_displays);
    const std::pair<QRadioButton *, SetPointCode> options[] = {
            {m_manual.CH1VOption, CH1Voltage},
            {m_manual.CH1AOption, CH1Current},
            {m_manual.CH2VOption, CH2Voltage},
            {m_manual.CH2AOption, CH2Current},
    };
    for (const auto &[option, optionCode] : options)
        option->setChecked(optionCode == code);
    showDisplays();
}

void UIForm::DigitCommand_Click(int digit)
{
    pressDigit(digit, m_state, m_displays);
    showDisplays();
}

void UIForm::SerialCommand_Click()
{
    if (m_state.SeriesLink != Off) {
        m_state.SeriesLink = Off;
        m_manual.SerialCommand->setText(QStringLiteral("Serial /Off"));
        m_manual.SerialLabel->setVisible(false);
        DataTransfer(SendLinkOff);
    } else {
        m_state.SeriesLink = On;
        m_manual.SerialCommand->setText(QStringLiteral("Serial /On"));
        m_manual.SerialLabel->setVisible(true);
        DataTransfer(SendLinkOn);
    }
}

// The digit keys of the main block and of the number pad press the keypad's digit buttons;
// Enter and Return press its Enter. Held keys do not repeat: one press, one click.
void UIForm::keyPressEvent(QKeyEvent *event)
{
    const bool commandKey
            = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!m_manual.Control->isVisible() || commandKey) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    const int key = event->key();
    QPushButton *button = nullptr;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        button = m_manual.digitKeys[key - Qt::Key_0];
    else if (key == Qt::Key_Enter || key == Qt::Key_Return)
        button = m_manual.EnterCommand;
    if (!button) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat())
        button->click();
}

} // namespace mq7410
