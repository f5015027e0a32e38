// SPDX-License-Identifier: GPL-3.0-or-later
#include "uiform.h"

#include "appearance.h"
#include "framelogwindow.h"
#include "remotecontrol.h"
#include "sequencechart.h"

#include "entrycheck.h"
#include "lineformat.h"
#include "session.h"
#include "tablefile.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QStatusBar>

#include <cstdio>

namespace mq7410 {

UIForm::UIForm(Session &session, MessageBoxes &boxes, QWidget *parent)
    : QMainWindow(parent)
    , m_session(session)
    , m_panel(session.panel())
    , m_boxes(boxes)
    , m_status(new StatusFields(this))
    , m_logModel(new FrameLogModel(session.history(), this))
{
    setObjectName(QStringLiteral("UIForm"));
    setWindowTitle(QStringLiteral("MQ-7410"));

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    // The manual panel first: the table's Finish row ends the window's tab order.
    m_manual = buildManualPanel(client, m_layout);
    m_sequence = buildSequencePanel(client, m_layout);
    m_layout.apply(m_layout.fittingScale());
    client->setFixedSize(m_layout.toPixels(Geometry::ClientWidth),
                         m_layout.toPixels(Geometry::ClientHeight));

    statusBar()->addWidget(m_status, 1);
    statusBar()->setSizeGripEnabled(false);
    buildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connectManualPanel();
    connectSequencePanel();

    connect(&m_session, &Session::changed, this, &UIForm::render);
    connect(&m_session, &Session::logged, this, &UIForm::logged);
    connect(&m_session, &Session::runEnded, this, [this](const RunEnding &ending) {
        // A run that failed on its own (a tick's frame, a lost line) has no click to answer.
        if (ending.how == RunEnd::LineFailed && !m_acting) {
            m_boxes.show({MessageKind::Warning, SerialErrorTitle,
                          m_session.lastRunEnding().toStdString(), ending.reason});
        }
    });

    setAcceptDrops(true);
    qApp->installEventFilter(this);
    render();
    showPanelFocus(m_panel.view().editTarget);
}

UIForm::~UIForm()
{
    qApp->removeEventFilter(this);
    // The controls die after this object has stopped being a UIForm; a table box that loses
    // the focus then must not report its entry to it.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

void UIForm::connectManualPanel()
{
    for (QPushButton *sender :
         {m_manual.EnterCommand, m_manual.OutputCommand, m_manual.SerialCommand, m_sequence.Start})
        m_clickFirst.watch(sender);
    connect(m_manual.OutputCommand, &QPushButton::clicked, this,
            [this] { act("Output", [this] { return m_panel.toggleOutput(); }); });
    connect(m_manual.EnterCommand, &QPushButton::clicked, this,
            [this] { act("Enter", [this] { return m_panel.enter(); }); });
    connect(m_manual.SerialCommand, &QPushButton::clicked, this,
            [this] { act("Serial", [this] { return m_panel.toggleSeriesLink(); }); });
    connect(m_manual.digitGroup, &QButtonGroup::idClicked, this,
            [this](int digit) { m_panel.pressDigit(digit); });
    // A selector button and its option button do the same.
    for (const SetPoint setPoint : AllSetPoints) {
        for (QAbstractButton *button :
             {static_cast<QAbstractButton *>(m_manual.selector(setPoint)),
              static_cast<QAbstractButton *>(m_manual.option(setPoint))}) {
            connect(button, &QAbstractButton::clicked, this,
                    [this, setPoint] { m_panel.select(setPoint); });
        }
    }
}

void UIForm::connectSequencePanel()
{
    for (int step = 1; step <= StepCount; ++step) {
        TableBox *box = m_sequence.timeBoxes.at(std::size_t(step - 1));
        connect(box, &QLineEdit::textChanged, this, [this, step](const QString &text) {
            if (!m_rendering)
                (void)m_panel.setTimeText(step, text.toStdString());
        });
        connect(box, &TableBox::entryCompleted, this,
                [this, step] { completeEntry(step, std::nullopt); });
    }
    for (int row = 0; row < RowCount; ++row) {
        for (const SetPoint setPoint : AllSetPoints) {
            TableBox *box
                    = m_sequence.valueBoxes.at(std::size_t(row)).at(std::size_t(indexOf(setPoint)));
            connect(box, &QLineEdit::textChanged, this, [this, row, setPoint](const QString &text) {
                if (!m_rendering)
                    (void)m_panel.setValueText(row, setPoint, text.toStdString());
            });
            connect(box, &TableBox::entryCompleted, this,
                    [this, row, setPoint] { completeEntry(row, setPoint); });
        }
    }
    connect(m_sequence.RepeatCount, &QSpinBox::valueChanged, this, [this](int count) {
        if (!m_rendering)
            (void)m_panel.setRepeat(count);
    });
    connect(m_sequence.Start, &QPushButton::clicked, this, [this] {
        if (act("Start", [this] { return m_panel.start(); }) && m_panel.running())
            m_status->StopCommand->setFocus(); // Space or Enter now stops, not starts again
    });
    connect(m_sequence.CancelCommand, &QPushButton::clicked, this,
            [this] { m_panel.showManualPanel(); });
    connect(m_status->StopCommand, &QPushButton::clicked, this,
            [this] { act("Stop", [this] { return m_panel.stop(); }); });
}

void UIForm::completeEntry(int row, std::optional<SetPoint> setPoint)
{
    // For a Time box `row` is its step.
    const std::string text = setPoint ? m_panel.tableTexts().value(row, *setPoint)
                                      : m_panel.tableTexts().time(row);
    m_note = QString::fromStdString(
            readingNote(text, setPoint, setPoint ? valueOf(m_panel.limits(), *setPoint) : 0));
    if (setPoint)
        m_panel.completeEntry(row, *setPoint);
    render();
}

void UIForm::showPanelFocus(SetPoint editTarget)
{
    // The focus follows into the panel shown, so that no key goes to a hidden control. On the
    // manual panel it rests on the selector of the set-point being edited: a stray Space there
    // sends nothing.
    if (m_shownPanel == PanelShown::Auto)
        m_sequence.timeBoxes.front()->setFocus();
    else
        m_manual.selector(editTarget)->setFocus();
}

bool UIForm::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::KeyPress;
    if (!press && event->type() != QEvent::KeyRelease)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    // A key may go up in another window: Enter's release lands in the box its frame opened.
    if (!press) {
        m_keys.release(key->key(), key->timestamp());
        return false;
    }
    auto *widget = qobject_cast<QWidget *>(watched);
    return widget && widget->window() == this && handleKey(key);
}

// The digit keys of the main block and of the number pad press the keypad's digit buttons;
// Enter and Return press its Enter; Esc abandons what is being typed. A key held down does not
// repeat: one press, one click. (Esc during a run is Stop's shortcut and never comes here.)
bool UIForm::handleKey(QKeyEvent *event)
{
    const bool first = m_keys.press(event->key(), event->timestamp()) && !event->isAutoRepeat();
    const bool commandKey
            = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (m_shownPanel != PanelShown::Manual || commandKey)
        return false;
    const int key = event->key();
    if (key == Qt::Key_Escape) {
        m_panel.abandonTyping();
        return true;
    }
    QPushButton *button = nullptr;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        button = m_manual.digitKeys.at(std::size_t(key - Qt::Key_0));
    else if (key == Qt::Key_Enter || key == Qt::Key_Return)
        button = m_manual.EnterCommand;
    if (!button)
        return false;
    if (first)
        button->click();
    return true;
}

void UIForm::closeEvent(QCloseEvent *event)
{
    if (!m_ended && !tableMayGo()) {
        event->ignore();
        return;
    }
    endProgram();
    event->accept();
}

void UIForm::endProgram()
{
    if (m_ended)
        return;
    m_ended = true;
    // Closed, so that they open again where they stood.
    if (m_frameLog)
        m_frameLog->close();
    if (m_chart)
        m_chart->close();
    if (const Status ended = m_session.end(m_session.settings().endAction()); !ended) {
        std::fprintf(stderr, "mq7410: %s\n", ended.failure().text.c_str());
        if (isVisible())
            m_boxes.show({MessageKind::Warning, SerialErrorTitle, ended.failure().text, {}});
    }
    emit endRequested();
}

} // namespace mq7410
