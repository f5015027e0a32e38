// The model's events, menu commands and the manual panel.

#include "panelmodel.h"

#include "rules.h"

namespace mq7410::model {

namespace {

// Set-point codes 1..4 (CH1 current, CH1 voltage, CH2 current, CH2 voltage) to the column of
// the displays, the option buttons and the set-point arrays (CH1 V, CH1 I, CH2 V, CH2 I).
int columnOf(int code)
{
    constexpr int Columns[] = {-1, 1, 0, 3, 2};
    return Columns[code];
}

bool isVoltageCode(int code)
{
    return code == 2 || code == 4;
}

std::string setPointText(int code, int value)
{
    return isVoltageCode(code) ? voltageText(value) : currentText(value);
}

} // namespace

View::View()
{
    boxes.fill("0");
    stepColors.fill(ButtonFaceColor);
}

bool PanelModel::visible(Control control) const
{
    return onManualPanel(control) ? m_view.controlVisible : m_view.sequenceVisible;
}

bool PanelModel::enabled(Control control) const
{
    if (onManualPanel(control))
        return true;
    return m_view.sequenceEnabled && (control != Control::Start || m_view.startEnabled);
}

bool PanelModel::boxUsable(int box) const
{
    return !m_ended && box >= 0 && box < BoxCount && m_view.sequenceVisible
           && m_view.sequenceEnabled;
}

void PanelModel::click(Control control)
{
    if (m_ended || !visible(control) || !enabled(control))
        return;
    if (const int k = digitOf(control); k >= 0) {
        digit(k);
        return;
    }
    switch (control) {
    case Control::SerialCommand:
        seriesLink();
        break;
    case Control::OutputCommand:
        output();
        break;
    case Control::CH1VCommand:
        select(2);
        break;
    case Control::CH1ACommand:
        select(1);
        break;
    case Control::CH2VCommand:
        select(4);
        break;
    case Control::CH2ACommand:
        select(3);
        break;
    case Control::EnterCommand:
        transfer(m_vars.editTarget);
        break;
    case Control::CH1VOption:
    case Control::CH1AOption:
    case Control::CH2VOption:
    case Control::CH2AOption: {
        const int chosen = static_cast<int>(control) - static_cast<int>(Control::CH1VOption);
        for (int i = 0; i < 4; ++i)
            m_view.options[i] = i == chosen;
        break;
    }
    case Control::CancelCommand:
        m_view.controlVisible = true;
        m_view.sequenceVisible = false;
        break;
    case Control::Start:
        start();
        break;
    default:
        break;
    }
}

void PanelModel::menuAuto()
{
    if (m_ended)
        return;
    m_view.controlVisible = false;
    m_view.sequenceVisible = true;
}

void PanelModel::menuAbout()
{
    if (!m_ended)
        m_boxes.push_back({"MQ-7410P Information", 64, {}});
}

void PanelModel::exit()
{
    m_ended = true;
    m_view.timerEnabled = false; // no tick may come after the end
}

void PanelModel::key(int digitOrEnter, bool autoRepeat)
{
    // A key stands for its button on the manual panel only; a held key does not repeat.
    if (m_ended || autoRepeat || !m_view.controlVisible)
        return;
    if (digitOrEnter < 0)
        click(Control::EnterCommand);
    else
        click(static_cast<Control>(static_cast<int>(Control::ZeroCommand) + digitOrEnter));
}

void PanelModel::setWritesFail(bool fail, const std::string &error)
{
    m_writesFail = fail;
    m_writeError = error;
}

void PanelModel::output()
{
    m_vars.outputOn = !m_vars.outputOn;
    m_view.outputCaption = m_vars.outputOn ? "Output /On" : "Output /Off";
    transfer(6);
}

void PanelModel::select(int code)
{
    m_vars.editTarget = code;
    const int column = columnOf(code);
    for (int i = 0; i < 4; ++i)
        m_view.options[i] = i == column;
    m_vars.set[column] = m_vars.sent[column];
    redrawFromSent();
}

void PanelModel::redrawFromSent()
{
    m_view.displays[1] = currentText(m_vars.sent[1]);
    m_view.displays[0] = voltageText(m_vars.sent[0]);
    m_view.displays[3] = currentText(m_vars.sent[3]);
    m_view.displays[2] = voltageText(m_vars.sent[2]);
}

void PanelModel::digit(int k)
{
    const int code = m_vars.editTarget;
    if (code < 1 || code > 4)
        return;
    const int column = columnOf(code);
    const int limit = isVoltageCode(code) ? 3200 : 3000;
    const int value = m_vars.set[column] < 0 ? 0 : m_vars.set[column]; // a negative counts as 0
    const int appended = value * 10 + k;
    m_vars.set[column] = appended > limit ? k : appended;
    m_view.displays[column] = setPointText(code, m_vars.set[column]);
    if (!m_vars.seriesLink)
        return;
    const int ch1 = isVoltageCode(code) ? 0 : 1; // the mirror follows the quantity
    m_vars.set[ch1 + 2] = m_vars.set[ch1];
    m_view.displays[ch1 + 2] = m_view.displays[ch1];
}

void PanelModel::seriesLink()
{
    m_vars.seriesLink = !m_vars.seriesLink;
    m_view.serialCaption = m_vars.seriesLink ? "Serial /On" : "Serial /Off";
    m_view.serialLabelVisible = m_vars.seriesLink;
    transfer(m_vars.seriesLink ? 8 : 7);
}

} // namespace mq7410::model
