// What the window, the port and the message boxes show, against the model.

#include "formdriver.h"

#include "app/appearance.h"
#include "model/frameinvariants.h"
#include "model/panelmodel.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <sstream>

namespace mq7410::randomtest {

namespace {

template<typename T>
std::string shown(const T &value)
{
    std::ostringstream out;
    if constexpr (std::is_same_v<T, std::string>)
        out << '"' << value << '"';
    else if constexpr (std::is_same_v<T, std::uint32_t>)
        out << "0x" << std::hex << std::uppercase << value;
    else
        out << value;
    return out.str();
}

// The first difference found, as "what: is X, the model says Y".
class Differences
{
public:
    template<typename T>
    void check(const std::string &what, const T &real, const T &expected)
    {
        if (m_first.empty() && !(real == expected))
            m_first = what + ": is " + shown(real) + ", the model says " + shown(expected);
    }
    void fail(const std::string &what)
    {
        if (m_first.empty())
            m_first = what;
    }
    std::string first() const { return m_first; }

private:
    std::string m_first;
};

std::string text(const QLabel *label)
{
    return label->text().toStdString();
}

} // namespace

std::string FormDriver::difference(const model::PanelModel &panel)
{
    if (!m_realTicks->isEmpty())
        return "Timer1 ticked by itself during the test; the test must drive every tick";
    if (std::string d = outputDifference(panel); !d.empty())
        return d;
    if (panel.ended())
        return {}; // the window is gone for the user; only what went out still counts
    if (std::string d = viewDifference(panel); !d.empty())
        return d;
    return variablesDifference(panel);
}

// Frames, failed writes, message boxes and the end of the program. Each new one is compared
// with the model's at the same place, then checked against the protocol.
std::string FormDriver::outputDifference(const model::PanelModel &panel)
{
    Differences d;
    const auto compareFrame = [&d](const std::string &what, const std::string &frame,
                                   const std::vector<std::string> &expected, std::size_t at) {
        if (at < expected.size())
            d.check(what + " " + std::to_string(at + 1), frame, expected[at]);
        if (const std::string problem = model::frameProblem(frame); !problem.empty())
            d.fail(what + " " + frame + " breaks the protocol: " + problem);
    };
    for (; m_logChecked < m_fx.port.log.size(); ++m_logChecked) {
        const std::string &entry = m_fx.port.log[m_logChecked];
        if (entry.rfind("failed write ", 0) != 0)
            continue;
        m_failedWrites.push_back(entry.substr(13));
        compareFrame("failed write", m_failedWrites.back(), panel.framesFailed(),
                     m_failedWrites.size() - 1);
    }
    d.check("failed writes", m_failedWrites.size(), panel.framesFailed().size());
    const auto &frames = m_fx.port.frames;
    for (; m_framesChecked < frames.size(); ++m_framesChecked)
        compareFrame("frame written", frames[m_framesChecked], panel.framesSent(), m_framesChecked);
    d.check("frames written", frames.size(), panel.framesSent().size());

    const auto &boxes = m_fx.boxes.shown;
    for (; m_boxesChecked < boxes.size() && m_boxesChecked < panel.boxesShown().size();
         ++m_boxesChecked) {
        const BoxRequest &real = boxes[m_boxesChecked];
        const model::MessageBox &expected = panel.boxesShown()[m_boxesChecked];
        const std::string which = "message box " + std::to_string(m_boxesChecked + 1);
        d.check(which + " title", real.title.toStdString(), expected.title);
        d.check(which + " kind", static_cast<int>(real.kind), expected.kind);
        const QString prompt = real.prompt + real.details;
        if (prompt.isEmpty() || !prompt.contains(QString::fromStdString(expected.mentions)))
            d.fail(which + " does not say \"" + expected.mentions + "\": " + prompt.toStdString());
    }
    d.check("message boxes shown", boxes.size(), panel.boxesShown().size());
    d.check("program ended", !m_endRequests->isEmpty(), panel.ended());
    d.check("port open", m_fx.port.isOpen(), !panel.ended());
    return d.first();
}

std::string FormDriver::viewDifference(const model::PanelModel &panel) const
{
    const model::View &v = panel.view();
    Differences d;
    d.check("Control visible", !m_control->isHidden(), v.controlVisible);
    d.check("Sequence visible", !m_sequence->isHidden(), v.sequenceVisible);
    for (int i = 0; i < 4; ++i)
        d.check(std::string(model::DisplayNames[i]) + " caption", text(m_displays[i]),
                v.displays[i]);
    using model::Control;
    auto caption = [this](Control c) {
        return m_controls[int(c)]->text().toStdString();
    };
    d.check("SerialCommand caption", caption(Control::SerialCommand), v.serialCaption);
    d.check("OutputCommand caption", caption(Control::OutputCommand), v.outputCaption);
    d.check("SerialLabel visible", !m_serialLabel->isHidden(), v.serialLabelVisible);
    for (int i = 0; i < 4; ++i) {
        const auto option = static_cast<Control>(static_cast<int>(Control::CH1VOption) + i);
        d.check(std::string(model::controlName(option)) + " chosen",
                m_controls[int(option)]->isChecked(), v.options[i]);
    }
    d.check("Sequence enabled", m_sequence->isEnabled(), v.sequenceEnabled);
    d.check("Start enabled", m_controls[int(Control::Start)]->isEnabledTo(m_sequence),
            v.startEnabled);
    d.check("Timer1 enabled", m_timer->isActive(), v.timerEnabled);
    for (int b = 0; b < model::BoxCount; ++b)
        d.check(model::boxName(b) + " text", m_boxes[b]->text().toStdString(), v.boxes[b]);
    for (int s = 0; s < 9; ++s)
        d.check("Step" + std::to_string(s + 1) + " colour", backColor(m_steps[s]), v.stepColors[s]);
    return d.first();
}

std::string FormDriver::variablesDifference(const model::PanelModel &panel) const
{
    const PanelState &real = m_fx.form->state();
    const model::Variables &m = panel.variables();
    Differences d;
    d.check("EditTarget", int(real.EditTarget), m.editTarget);
    d.check("SeriesLink", real.SeriesLink != 0, m.seriesLink);
    d.check("OutputOn", real.OutputOn != 0, m.outputOn);
    d.check("SeqRunning", real.SeqRunning != 0, m.running);
    const std::array<int, 4> set{real.CH1VoltSet, real.CH1CurrSet, real.CH2VoltSet,
                                 real.CH2CurrSet};
    const std::array<int, 4> sent{real.CH1VoltSent, real.CH1CurrSent, real.CH2VoltSent,
                                  real.CH2CurrSent};
    const char *names[] = {"CH1 voltage", "CH1 current", "CH2 voltage", "CH2 current"};
    for (int i = 0; i < 4; ++i) {
        d.check(std::string(names[i]) + " being entered", set[i], m.set[i]);
        d.check(std::string(names[i]) + " last sent", sent[i], m.sent[i]);
    }
    for (int row = 0; row < model::TableRows; ++row) {
        for (int column = 0; column < 4; ++column)
            d.check("StepTable cell of " + model::boxName(model::valueBox(row, column)),
                    int(real.StepTable[row][column]), int(m.table[row][column]));
    }
    return d.first();
}

} // namespace mq7410::randomtest
