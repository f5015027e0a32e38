// The events, played on the real window.

#include "formdriver.h"

#include "model/panelmodel.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace mq7410::randomtest {

namespace {

const std::string WriteError = "the line was hung up";
constexpr int MaxBoxLength = 32767; // what a one-line box holds

bool isSet(const void *pointer)
{
    return pointer != nullptr;
}

} // namespace

FormDriver::FormDriver()
{
    if (!m_fx.load())
        return;
    using model::Control;
    for (int c = 0; c < model::ControlCount; ++c)
        m_controls[c] = m_fx.find<QAbstractButton>(model::controlName(static_cast<Control>(c)));
    for (int d = 0; d < 4; ++d)
        m_displays[d] = m_fx.find<QLabel>(model::DisplayNames[d]);
    for (int b = 0; b < model::BoxCount; ++b)
        m_boxes[b] = m_fx.find<QLineEdit>(QString::fromStdString(model::boxName(b)));
    for (int s = 0; s < 9; ++s)
        m_steps[s] = m_fx.widget(QStringLiteral("Step%1").arg(s + 1));
    m_serialLabel = m_fx.find<QLabel>("SerialLabel");
    m_control = m_fx.widget("Control");
    m_sequence = m_fx.widget("Sequence");
    m_timer = m_fx.find<QTimer>("Timer1");
    m_realTicks = std::make_unique<QSignalSpy>(m_timer, &QTimer::timeout);
    m_endRequests = std::make_unique<QSignalSpy>(m_fx.form.get(), &UIForm::endRequested);

    const bool allFound = std::all_of(m_controls.begin(), m_controls.end(), isSet)
                          && std::all_of(m_displays.begin(), m_displays.end(), isSet)
                          && std::all_of(m_boxes.begin(), m_boxes.end(), isSet)
                          && std::all_of(m_steps.begin(), m_steps.end(), isSet) && m_serialLabel
                          && m_control && m_sequence && m_timer;
    if (!allFound) {
        qWarning("a control of the window was not found by its name");
        return;
    }

    m_fx.form->show();
    m_fx.form->activateWindow();
    // Keys go to the focused control as in a real session, so the window must be active.
    m_ready = QTest::qWaitForWindowActive(m_fx.form.get());
}

FormDriver::~FormDriver() = default;

void FormDriver::apply(const Event &event, model::PanelModel &panel)
{
    switch (event.kind) {
    case EventKind::Click:
        click(static_cast<model::Control>(event.target), panel);
        break;
    case EventKind::MenuAuto:
        m_fx.action("Auto")->trigger();
        panel.menuAuto();
        break;
    case EventKind::MenuAbout:
        m_fx.action("About")->trigger();
        panel.menuAbout();
        break;
    case EventKind::Type:
        type(event, panel);
        break;
    case EventKind::Paste:
        paste(event, panel);
        break;
    case EventKind::Key:
        key(event, panel);
        break;
    case EventKind::Tick:
        m_fx.form->Timer1_Tick();
        panel.tick();
        break;
    case EventKind::WritesFail:
        m_fx.port.failWritesWith = event.flag ? WriteError : std::string();
        panel.setWritesFail(event.flag, WriteError);
        break;
    case EventKind::Exit:
        m_fx.action("Exit")->trigger();
        panel.exit();
        break;
    case EventKind::CloseWindow:
        m_fx.form->close();
        panel.exit();
        break;
    }
}

// A visible control is clicked in its middle. A hidden one cannot be: the pointer lands on
// whatever is shown at its place, and that is what the model is told.
void FormDriver::click(model::Control control, model::PanelModel &panel)
{
    QAbstractButton *button = m_controls[static_cast<int>(control)];
    if (button->isVisible()) {
        QTest::mouseClick(button, Qt::LeftButton);
        panel.click(control);
        return;
    }
    const QPoint at = button->mapTo(m_fx.form.get(), button->rect().center());
    QWidget *hit = m_fx.form->childAt(at);
    if (!hit)
        return;
    QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(m_fx.form.get(), at));
    for (QWidget *w = hit; w && w != m_fx.form.get(); w = w->parentWidget()) {
        for (int c = 0; c < model::ControlCount; ++c) {
            if (m_controls[c] == w) {
                panel.click(static_cast<model::Control>(c));
                return;
            }
        }
    }
}

// Clicks into the box, then selects all of its text or puts the cursor at its end.
QLineEdit *FormDriver::focusForTyping(int box, bool selectAll)
{
    QLineEdit *edit = m_boxes[box];
    if (!edit->isVisible())
        return nullptr; // out of the user's reach
    QTest::mouseClick(edit, Qt::LeftButton);
    if (selectAll)
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    else
        QTest::keyClick(edit, Qt::Key_End);
    return edit;
}

void FormDriver::type(const Event &event, model::PanelModel &panel)
{
    QLineEdit *edit = focusForTyping(event.target, event.flag);
    if (!edit)
        return;
    bool first = true;
    for (const QChar c : QString::fromStdString(event.text)) {
        const std::string character = QString(c).toStdString();
        if (c.unicode() > 0x20 && c.unicode() < 0x7F)
            QTest::keyClick(edit, static_cast<char>(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, edit, c == u' ' ? Qt::Key_Space : Qt::Key_unknown,
                                QString(c), Qt::NoModifier);
        if (first && event.flag)
            panel.replaceText(event.target, character);
        else
            panel.typeInto(event.target, character);
        first = false;
    }
}

void FormDriver::paste(const Event &event, model::PanelModel &panel)
{
    const std::string &before = panel.view().boxes[event.target];
    // What the clipboard holds: reading UTF-8 drops a leading byte order mark.
    const QString clip = QString::fromStdString(event.text);
    const std::string pasted = clip.toStdString();
    const bool tooLong = QString::fromStdString(before).size() + clip.size() > MaxBoxLength;
    QLineEdit *edit = focusForTyping(event.target, event.flag || tooLong); // select all
    if (!edit)
        return;
    QApplication::clipboard()->setText(clip);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    panel.replaceText(event.target, event.flag || tooLong ? pasted : before + pasted);
}

// The key goes where the keyboard's focus is, as in a real session.
void FormDriver::key(const Event &event, model::PanelModel &panel)
{
    QWidget *target = QApplication::focusWidget();
    if (!target || !m_fx.form->isAncestorOf(target))
        target = m_fx.form.get();
    const int box = boxIndex(target);
    if (box >= 0) {
        auto *edit = static_cast<QLineEdit *>(target);
        if (edit->cursorPosition() != edit->text().size() || edit->hasSelectedText())
            QTest::keyClick(edit, Qt::Key_End);
    }

    const int digit = event.keyDigit();
    const int code = digit >= 0 ? Qt::Key_0 + digit
                                : (event.target == KeyEnter ? Qt::Key_Enter : Qt::Key_Return);
    const Qt::KeyboardModifiers modifiers
            = event.target >= 10 && event.target != KeyReturn ? Qt::KeypadModifier : Qt::NoModifier;
    const QString text = digit >= 0 ? QString::number(digit) : QStringLiteral("\r");
    if (event.flag) { // held down: the system repeats the press
        QTest::simulateEvent(target, true, code, modifiers, text, true);
        QTest::simulateEvent(target, false, code, modifiers, text, true);
    } else {
        QTest::sendKeyEvent(QTest::Click, target, static_cast<Qt::Key>(code), text, modifiers);
    }

    if (box >= 0 && digit >= 0)
        panel.typeInto(box, text.toStdString()); // a digit lands in the focused box
    else
        panel.key(digit, event.flag);
}

int FormDriver::boxIndex(const QWidget *widget) const
{
    for (int b = 0; b < model::BoxCount; ++b) {
        if (m_boxes[b] == widget)
            return b;
    }
    return -1;
}

} // namespace mq7410::randomtest
