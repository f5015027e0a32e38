// The model's auto panel: the check of the set-point boxes, Start and the ticks of a run.

#include "panelmodel.h"

#include "common/textnumber.h"
#include "rules.h"

namespace mq7410::model {

void PanelModel::typeInto(int box, const std::string &character)
{
    if (boxUsable(box) && !character.empty())
        changeText(box, m_view.boxes[box] + character);
}

void PanelModel::replaceText(int box, const std::string &text)
{
    if (boxUsable(box) && text != m_view.boxes[box]) // the same text is no change
        changeText(box, text);
}

void PanelModel::changeText(int box, const std::string &text)
{
    m_view.boxes[box] = text;
    if (isTimeBox(box))
        return; // Time boxes have no check
    const int column = boxColumn(box);
    const Entry entry = checkEntry(text, column == 0 || column == 2);
    if (entry.replaced)
        m_view.boxes[box] = NumberToText(0); // the nested check reads " 0" and stores 0
    m_vars.table[boxRow(box)][column] = entry.cell;
}

void PanelModel::start()
{
    m_view.timerEnabled = true;
    m_view.sequenceEnabled = false;
    m_vars.running = true;
    m_vars.stepsDone = 0;
    m_view.stepColors[0] = RedColor;
    m_vars.stepTimeLeft = stepSeconds(m_view.boxes[0]);
    m_view.startEnabled = false;
    loadAndSend(1);
}

void PanelModel::tick()
{
    if (m_ended || !m_vars.running)
        return;
    if (m_vars.stepTimeLeft != 0) {
        m_view.boxes[m_vars.stepsDone] = NumberToText(m_vars.stepTimeLeft);
        m_vars.stepTimeLeft -= 1.0;
        return;
    }
    m_vars.stepsDone += 1;
    advance(m_vars.stepsDone);
}

// Step `ended` (1..9) has used up its time.
void PanelModel::advance(int ended)
{
    m_view.boxes[ended - 1] = NumberToText(m_vars.stepTimeLeft);
    m_view.stepColors[ended - 1] = ButtonFaceColor;
    if (ended == 9) {
        endRun();
        loadAndSend(0); // the Finish row
        return;
    }
    m_vars.stepTimeLeft = stepSeconds(m_view.boxes[ended]); // Time(ended + 1)
    if (m_vars.stepTimeLeft != 0)
        m_view.stepColors[ended] = RedColor;
    else
        endRun();
    loadAndSend(ended + 1);
}

bool PanelModel::loadAndSend(int row)
{
    for (int column = 0; column < 4; ++column)
        m_vars.set[column] = m_vars.table[row][column];
    return transfer(5);
}

void PanelModel::endRun()
{
    m_vars.stepsDone = 0;
    m_view.timerEnabled = false;
    m_vars.running = false;
    m_view.startEnabled = true;
    m_view.sequenceEnabled = true;
}

} // namespace mq7410::model
