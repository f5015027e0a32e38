// Handlers of the auto panel: the entry check of the table's set-point boxes, Start, and the
// ticks of Timer1.

#include "uiform.h"

#include "common/textnumber.h"
#include "sequence/entrycheck.h"

namespace mq7410 {

void UIForm::connectSequence()
{
    for (int row = 0; row < StepRows; ++row) {
        for (int column = 0; column < 4; ++column) {
            connect(m_sequence.valueBoxes[row][column], &QLineEdit::textChanged, this,
                    [this, row, column] { ValueBox_Change(row, column); });
        }
    }
    connect(m_sequence.Start, &QPushButton::clicked, this, [this] { Start_Click(); });
    m_sequence.Timer1->setTimerType(Qt::PreciseTimer);
    m_sequence.Timer1->setSingleShot(true); // re-armed for each tick by the clock, see below
    connect(m_sequence.Timer1, &QTimer::timeout, this, [this] { Timer1_Timeout(); });
}

void UIForm::ValueBox_Change(int row, int column)
{
    QLineEdit *box = m_sequence.valueBoxes.at(row).at(column);
    const bool voltage = column == ColCH1Volt || column == ColCH2Volt;
    const EntryCheck check = checkEntry(box->text().toStdString(),
                                        voltage ? SetPointKind::Voltage : SetPointKind::Current);
    m_state.EntryValue = check.entryValue;
    if (check.replaceWithZero) {
        box->setText(QString::fromStdString(NumberToText(0))); // checked again, nested
        m_state.EntryValue = 0;
    }
    m_state.StepTable[row][column] = check.replaceWithZero ? 0 : check.cell;
}

void UIForm::Start_Click()
{
    startRun(m_state, m_runnerPanel);
}

void UIForm::Timer1_Tick()
{
    tickRun(m_state, m_runnerPanel);
}

// The k-th tick of a run is due k seconds after Start by the monotonic clock. A late timer
// does not push the later ticks back, and after a stall every tick due is handled, in order.
void UIForm::Timer1_Timeout()
{
    const int due = m_runnerPanel.takeDueTicks();
    for (int tick = 0; tick < due && m_state.SeqRunning != Off; ++tick)
        Timer1_Tick();
    if (m_state.SeqRunning != Off)
        m_runnerPanel.armForNextTick();
}

void UIForm::endRunAfterFailedWrite()
{
    // Stops the timer before the error box opens: no tick may run under the box.
    endRun(m_state, m_runnerPanel);
}

} // namespace mq7410
