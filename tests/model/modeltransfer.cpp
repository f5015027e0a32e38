// The model's DataTransfer: the frame of each selector, what goes with it, and the write.

#include "panelmodel.h"

#include "rules.h"

namespace mq7410::model {

bool PanelModel::transfer(int selector)
{
    auto &set = m_vars.set;
    auto &sent = m_vars.sent;
    auto &shown = m_view.displays;
    std::string frame;
    switch (selector) {
    case 1:
        frame = "87" + hexField(set[1]);
        sent[1] = set[1];
        break;
    case 2:
        frame = "88" + hexField(set[0]);
        sent[0] = set[0];
        break;
    case 3:
        frame = "89" + hexField(set[3]);
        sent[3] = set[3];
        break;
    case 4:
        frame = "8A" + hexField(set[2]);
        sent[2] = set[2];
        break;
    case 5:
        frame = "8D" + hexField(set[0]) + hexField(set[1]) + hexField(set[2]) + hexField(set[3]);
        break;
    case 6:
        frame = m_vars.outputOn ? "8CF0F0" : "8C0F0F";
        break;
    case 7: // link off: channel 2 back to what was last sent for it, captions from switch-on
        set[2] = sent[2];
        set[3] = sent[3];
        shown[2] = m_vars.savedCH2V;
        shown[3] = m_vars.savedCH2I;
        frame = "8E" + hexField(set[3]) + hexField(set[2]);
        break;
    case 8: // link on: channel 2 takes channel 1's captions and values
        m_vars.savedCH2V = shown[2];
        m_vars.savedCH2I = shown[3];
        shown[2] = shown[0];
        shown[3] = shown[1];
        set[2] = set[0];
        set[3] = set[1];
        frame = "8F" + hexField(set[3]) + hexField(set[2]);
        break;
    default:
        break;
    }
    return write(frame);
}

bool PanelModel::write(const std::string &frame)
{
    if (frame.empty())
        return true;
    if (!m_writesFail) {
        m_sent.push_back(frame);
        return true;
    }
    m_failed.push_back(frame);
    if (m_vars.running) {
        // The run ends as a normal end does: no step stays red, the table is usable again.
        endRun();
        m_view.stepColors.fill(ButtonFaceColor);
    }
    m_boxes.push_back({"! RS-232 ERROR !", 48, m_writeError});
    return false;
}

} // namespace mq7410::model
