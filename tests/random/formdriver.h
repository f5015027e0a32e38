#pragma once

// Plays events on the real window, the way a user, the clock and the line would, and tells
// the model the same events; then compares everything the user can see, every frame and every
// message box with the model.

#include "event.h"
#include "support/formfixture.h"

#include "model/controls.h"

#include <QSignalSpy>

#include <array>
#include <memory>
#include <string>

class QLabel;
class QLineEdit;
class QTimer;
class QAbstractButton;

namespace mq7410::model {
class PanelModel;
}

namespace mq7410::randomtest {

class FormDriver
{
public:
    // A fresh window with port 1 accepted, shown and active.
    FormDriver();
    ~FormDriver();

    bool ready() const { return m_ready; }
    void apply(const Event &event, model::PanelModel &panel);

    // Empty when the window, the port and the boxes shown agree with `panel`; otherwise the
    // first difference.
    std::string difference(const model::PanelModel &panel);

private:
    void click(model::Control control, model::PanelModel &panel);
    void type(const Event &event, model::PanelModel &panel);
    void paste(const Event &event, model::PanelModel &panel);
    void key(const Event &event, model::PanelModel &panel);
    QLineEdit *focusForTyping(int box, bool selectAll);
    int boxIndex(const QWidget *widget) const;
    std::string outputDifference(const model::PanelModel &panel);
    std::string viewDifference(const model::PanelModel &panel) const;
    std::string variablesDifference(const model::PanelModel &panel) const;

    test::FormFixture m_fx;
    bool m_ready = false;
    std::array<QAbstractButton *, model::ControlCount> m_controls{};
    std::array<QLabel *, 4> m_displays{};
    std::array<QLineEdit *, model::BoxCount> m_boxes{};
    std::array<QWidget *, 9> m_steps{};
    QLabel *m_serialLabel = nullptr;
    QWidget *m_control = nullptr;
    QWidget *m_sequence = nullptr;
    QTimer *m_timer = nullptr;
    std::unique_ptr<QSignalSpy> m_realTicks;
    std::unique_ptr<QSignalSpy> m_endRequests;
    std::size_t m_framesChecked = 0;
    std::size_t m_logChecked = 0;
    std::size_t m_boxesChecked = 0;
    std::vector<std::string> m_failedWrites;
};

} // namespace mq7410::randomtest
