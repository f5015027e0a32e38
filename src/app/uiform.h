#pragma once

// UIForm is the program's one window and the owner of everything that lives while it runs.
//
// How the pieces fit:
// - PanelState holds the window's variables; the rules that change them (number texts, label
//   texts, frames, keypad and table arithmetic, the runner's steps) are plain C++ in common/,
//   protocol/, panel/ and sequence/, and take the state as an argument.
// - manualpanel and sequencepanel build the two panels; TwipsLayout places their controls.
// - The handlers below are named after their control and event. Each one is short: it calls a
//   rule, then shows the result in the controls.
// - Frames go out only through DataTransfer, which writes them to the SerialPort seam; messages
//   go through MessageBoxes. Tests put fakes behind both.

#include "clickfirst.h"
#include "displays.h"
#include "manualpanel.h"
#include "panelstate.h"
#include "runnerpanel.h"
#include "sequencepanel.h"
#include "twipslayout.h"

#include <QMainWindow>

class QAction;
class QMenu;

namespace mq7410 {

class MessageBoxes;
class SerialPort;

class UIForm : public QMainWindow
{
    Q_OBJECT
public:
    UIForm(SerialPort &port, MessageBoxes &boxes, QWidget *parent = nullptr);
    ~UIForm() override;

    // Start values, timer, manual panel, then the port walk. Returns false when no port was
    // accepted: the program must then end without showing the window.
    bool Form_Load();

    // Builds the frame for `selector`, updates what goes with it, and writes the frame. A
    // failed write is reported to the user; the result says whether the frame went out.
    bool DataTransfer(std::int16_t selector);

    const PanelState &state() const { return m_state; }

    // Menu commands and the auto panel's Cancel.
    void Exit_Click();
    void About_Click();
    void Auto_Click();
    void CancelCommand_Click();

    // The manual panel: output switch, Enter, selector buttons (with the set-point code they
    // choose), digit keys and the series-link switch.
    void OutputCommand_Click();
    void EnterCommand_Click();
    void SelectorCommand_Click(std::int16_t code);
    void DigitCommand_Click(int digit);
    void SerialCommand_Click();

    // The auto panel: the check of a set-point box (by StepTable row and column), Start, and
    // one tick of the running sequence.
    void ValueBox_Change(int row, int column);
    void Start_Click();
    void Timer1_Tick();

signals:
    // The program must end now; main() quits the event loop.
    void endRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildMenu();
    void connectMenu();
    void connectFrontPanel();
    void connectSequence();
    void Timer1_Timeout();
    void endRunAfterFailedWrite();
    void endProgram();
    void showDisplays();
    void reportWriteFailure(const std::string &frame);
    void ShowCommError(std::int16_t code);

    SerialPort &m_port;
    MessageBoxes &m_boxes;
    PanelState m_state;
    Displays m_displays;
    TwipsLayout m_layout;
    ManualPanel m_manual;
    SequencePanel m_sequence;
    WindowRunnerPanel m_runnerPanel;
    ClickFirst m_clickFirst;
    QAction *m_exitAction = nullptr;
    QAction *m_autoAction = nullptr;
    QAction *m_aboutAction = nullptr;
    bool m_ended = false;
};

} // namespace mq7410
