#include "uiform.h"

#include "appearance.h"
#include "framelogwindow.h"
#include "sequencechart.h"
#include "version.h"

#include "core/runstatus.h"
#include "serial/serialline.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QTime>

namespace mq7410 {
namespace {

QString aboutText()
{
    return QStringLiteral("MQ-7410 front panel, version %1\n\n"
                          "Sets the voltages, currents, output and series link of the MQ-7410 "
                          "dual-channel DC power supply over its serial line, and plays timed "
                          "sequences of set-points.")
            .arg(QStringLiteral(MQ7410_VERSION));
}

QString fromStd(const std::string &text)
{
    return QString::fromStdString(text);
}

void setTextIfChanged(QAbstractButton *button, const std::string &text)
{
    const QString caption = fromStd(text);
    if (button->text() != caption)
        button->setText(caption);
}

} // namespace

UIForm::UIForm(FrontPanel &panel, SerialLine &line, MessageBoxes &boxes, QWidget *parent)
    : QMainWindow(parent)
    , m_panel(panel)
    , m_line(line)
    , m_boxes(boxes)
    , m_status(new StatusFields(this))
    , m_logModel(new FrameLogModel(this))
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

    m_sequence.Timer1->setTimerType(Qt::PreciseTimer);
    m_sequence.Timer1->setSingleShot(true); // re-armed for each tick from the core's schedule
    connect(m_sequence.Timer1, &QTimer::timeout, this, [this] { act(m_panel.tick()); });
    m_panel.setFrameObserver([this](const FrameRecord &record) { recordFrame(record); });

    setAcceptDrops(true);
    qApp->installEventFilter(this);
    render();
    showPanelFocus(m_panel.view().editTarget);
}

UIForm::~UIForm()
{
    qApp->removeEventFilter(this);
    m_panel.setFrameObserver({});
}

void UIForm::buildMenus()
{
    const auto addItem = [this](QMenu *menu, const char *name, const QString &caption,
                                const QKeySequence &keys, auto handler) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mFile"));
    m_openAction = addItem(file, "mOpenSequence", QStringLiteral("&Open Sequence..."),
                           QKeySequence(Qt::CTRL | Qt::Key_O), [this] { openSequenceDialog(); });
    addItem(file, "mSaveSequence", QStringLiteral("&Save Sequence"),
            QKeySequence(Qt::CTRL | Qt::Key_S), [this] { saveSequence(); });
    addItem(file, "mSaveSequenceAs", QStringLiteral("Save Sequence &As..."),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { saveSequenceAs(); });
    file->addSeparator();
    m_reconnectAction = addItem(file, "mReconnect", QStringLiteral("&Reconnect"), {},
                                [this] { reconnect(); });
    file->addSeparator();
    addItem(file, "Exit", QStringLiteral("E&xit"), {}, [this] { endProgram(); });

    QAction *autoAction = menuBar()->addAction(QStringLiteral("&Auto"));
    autoAction->setObjectName(QStringLiteral("Auto"));
    connect(autoAction, &QAction::triggered, this, [this] {
        m_panel.showAutoPanel();
        render();
    });

    QMenu *view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mView"));
    addItem(view, "mFrameLog", QStringLiteral("&Frame Log"), QKeySequence(Qt::CTRL | Qt::Key_L),
            [this] { showFrameLog(); });
    addItem(view, "mSequenceChart", QStringLiteral("Sequence &Chart"),
            QKeySequence(Qt::CTRL | Qt::Key_G), [this] { showChart(); });

    QAction *aboutAction = menuBar()->addAction(QStringLiteral("&About"));
    aboutAction->setObjectName(QStringLiteral("About"));
    connect(aboutAction, &QAction::triggered, this, [this] { about(); });

    // Escape presses Stop wherever the focus is in the program's windows, while a run is active.
    m_stopShortcut = new QAction(this);
    m_stopShortcut->setObjectName(QStringLiteral("mStop"));
    m_stopShortcut->setShortcut(QKeySequence(Qt::Key_Escape));
    m_stopShortcut->setShortcutContext(Qt::ApplicationShortcut); // the chart and the log too
    addAction(m_stopShortcut);
    connect(m_stopShortcut, &QAction::triggered, m_status->StopCommand, &QPushButton::click);
}

void UIForm::connectManualPanel()
{
    for (QPushButton *sender :
         {m_manual.EnterCommand, m_manual.OutputCommand, m_manual.SerialCommand, m_sequence.Start})
        m_clickFirst.watch(sender);
    connect(m_manual.OutputCommand, &QPushButton::clicked, this,
            [this] { act(m_panel.toggleOutput()); });
    connect(m_manual.EnterCommand, &QPushButton::clicked, this, [this] { act(m_panel.enter()); });
    connect(m_manual.SerialCommand, &QPushButton::clicked, this,
            [this] { act(m_panel.toggleSeriesLink()); });
    connect(m_manual.digitGroup, &QButtonGroup::idClicked, this, [this](int digit) {
        m_panel.pressDigit(digit);
        render();
    });
    // A selector button and its option button do the same.
    for (const SetPoint setPoint : AllSetPoints) {
        for (QAbstractButton *button :
             {static_cast<QAbstractButton *>(m_manual.selector(setPoint)),
              static_cast<QAbstractButton *>(m_manual.option(setPoint))}) {
            connect(button, &QAbstractButton::clicked, this, [this, setPoint] {
                m_panel.select(setPoint);
                render();
            });
        }
    }
}

void UIForm::connectSequencePanel()
{
    for (int step = 1; step <= StepCount; ++step) {
        TableBox *box = m_sequence.timeBoxes.at(std::size_t(step - 1));
        connect(box, &QLineEdit::textChanged, this, [this, step](const QString &text) {
            if (m_rendering)
                return;
            m_panel.setTimeText(step, text.toStdString());
            render();
        });
    }
    for (int row = 0; row < RowCount; ++row) {
        for (const SetPoint setPoint : AllSetPoints) {
            TableBox *box
                    = m_sequence.valueBoxes.at(std::size_t(row)).at(std::size_t(indexOf(setPoint)));
            connect(box, &QLineEdit::textChanged, this, [this, row, setPoint](const QString &text) {
                if (m_rendering)
                    return;
                m_panel.setValueText(row, setPoint, text.toStdString());
                render();
            });
            connect(box, &TableBox::entryCompleted, this, [this, row, setPoint] {
                m_panel.completeEntry(row, setPoint);
                render();
            });
        }
    }
    connect(m_sequence.Start, &QPushButton::clicked, this, [this] { act(m_panel.start()); });
    connect(m_sequence.CancelCommand, &QPushButton::clicked, this, [this] {
        m_panel.showManualPanel();
        render();
    });
    connect(m_status->StopCommand, &QPushButton::clicked, this, [this] { act(m_panel.stop()); });
}

void UIForm::act(const Outcome &outcome)
{
    render();
    armTimer();
    if (outcome.refused())
        m_boxes.show(writeErrorMessage(outcome.frame->frame, outcome.frame->reason));
}

void UIForm::armTimer()
{
    constexpr std::int64_t NsPerMs = 1'000'000;
    if (const std::optional<std::int64_t> ns = m_panel.nsUntilNextTick()) {
        // Rounded up, so the timer never wakes before the tick is due.
        m_sequence.Timer1->start(static_cast<int>((*ns + NsPerMs - 1) / NsPerMs));
    } else {
        m_sequence.Timer1->stop();
    }
}

void UIForm::render()
{
    m_rendering = true;
    const PanelView view = m_panel.view();
    const bool manual = view.panel == PanelShown::Manual;
    m_manual.Control->setVisible(manual);
    m_sequence.Sequence->setVisible(!manual);

    for (const SetPoint setPoint : AllSetPoints) {
        showDisplay(m_manual.display(setPoint), view.displays.at(std::size_t(indexOf(setPoint))));
        m_manual.option(setPoint)->setChecked(setPoint == view.editTarget);
    }
    setTextIfChanged(m_manual.OutputCommand, view.outputCaption);
    setTextIfChanged(m_manual.SerialCommand, view.serialCaption);
    m_manual.SerialLabel->setVisible(view.linkBanner);

    m_sequence.Sequence->setEnabled(!view.running);
    if (view.runningStep != m_runningStepShown) {
        for (int step = 1; step <= StepCount; ++step) {
            setBackground(m_sequence.stepLabels.at(std::size_t(step - 1)),
                          step == view.runningStep ? Tint::RunningStep : Tint::IdleStep);
        }
        m_runningStepShown = view.runningStep;
    }
    renderTable(view);
    m_openAction->setEnabled(!view.running);
    m_stopShortcut->setEnabled(view.running);
    const std::optional<RunProgress> progress = m_panel.progress();
    renderStatus(progress);
    if (m_chart)
        m_chart->showSequence(m_panel.tableTexts(), progress);
    m_rendering = false;

    if (view.panel != m_shownPanel) {
        m_shownPanel = view.panel;
        showPanelFocus(view.editTarget);
    }
}

void UIForm::renderTable(const PanelView &view)
{
    const auto show = [](QLineEdit *box, const std::string &text) {
        const QString shown = fromStd(text);
        if (box->text() != shown)
            box->setText(shown);
    };
    for (int step = 1; step <= StepCount; ++step)
        show(m_sequence.timeBoxes.at(std::size_t(step - 1)), view.table.time(step));
    for (int row = 0; row < RowCount; ++row) {
        for (const SetPoint setPoint : AllSetPoints) {
            show(m_sequence.valueBoxes.at(std::size_t(row)).at(std::size_t(indexOf(setPoint))),
                 view.table.value(row, setPoint));
        }
    }
}

void UIForm::renderStatus(const std::optional<RunProgress> &progress)
{
    QString port = QStringLiteral("No port");
    if (m_line.portNumber() > 0) {
        port = QStringLiteral("COM %1 \u00b7 %2 \u00b7 %3")
                       .arg(m_line.portNumber())
                       .arg(fromStd(m_line.device()), fromStd(SerialLine::settingsText()));
    }
    const bool lost = !m_line.disconnectReason().empty();
    if (lost)
        port += QStringLiteral(" \u00b7 closed: ") + fromStd(m_line.disconnectReason());
    else if (!m_portNote.isEmpty())
        port += QStringLiteral(" \u00b7 ") + m_portNote;
    StatusFields::show(m_status->PortStatus, port, lost);
    m_reconnectAction->setEnabled(lost);

    QString file = m_sequencePath.isEmpty() ? QStringLiteral("No sequence file")
                                            : QFileInfo(m_sequencePath).fileName();
    if (m_panel.tableModified())
        file += QStringLiteral(" (modified)");
    StatusFields::show(m_status->FileStatus, file);

    if (progress) {
        const QDateTime end = QDateTime::currentDateTime().addSecs(progress->secondsLeftInRun);
        StatusFields::show(m_status->RunStatus,
                           fromStd(runStatusText(*progress)) + QStringLiteral(" (")
                                   + end.toString(QStringLiteral("HH:mm:ss")) + ')');
    }
    m_status->RunStatus->setVisible(progress.has_value());
    m_status->StopCommand->setVisible(progress.has_value());
    m_status->StopCommand->setEnabled(progress.has_value());
}

void UIForm::recordFrame(const FrameRecord &record)
{
    const QDateTime now = QDateTime::currentDateTime();
    LoggedFrame entry{now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toStdString(),
                      record.frame, record.meaning, record.sent ? std::string() : record.reason};
    QString text = now.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ")
                   + fromStd(record.frame) + QStringLiteral("  ")
                   + fromStd(record.sent ? record.meaning : statusText(entry));
    m_logModel->append(std::move(entry));
    StatusFields::show(m_status->FrameStatus, text, !record.sent);
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
// Enter and Return press its Enter. A key held down does not repeat: one press, one click.
bool UIForm::handleKey(QKeyEvent *event)
{
    const bool first = m_keys.press(event->key(), event->timestamp()) && !event->isAutoRepeat();
    const bool commandKey
            = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (m_shownPanel != PanelShown::Manual || commandKey)
        return false;
    const int key = event->key();
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

void UIForm::reconnect()
{
    const std::string reason = m_line.reconnect();
    if (reason.empty()) {
        // The supply may have been switched off meanwhile: the panel cannot know what it holds.
        m_portNote = QStringLiteral("reconnected at %1; the supply may not hold what the panel "
                                    "shows until it is sent again")
                             .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    } else {
        m_boxes.show({MessageKind::Warning, "Reconnect",
                      "COM " + std::to_string(m_line.portNumber()) + " (" + m_line.device()
                              + ") could not be opened again.",
                      reason});
    }
    render();
}

void UIForm::showFrameLog()
{
    if (!m_frameLog)
        m_frameLog = new FrameLogWindow(m_logModel, m_boxes, this);
    m_frameLog->show();
    m_frameLog->raise();
    m_frameLog->activateWindow();
}

void UIForm::showChart()
{
    if (!m_chart)
        m_chart = new SequenceChart(this);
    m_chart->showSequence(m_panel.tableTexts(), m_panel.progress());
    m_chart->show();
    m_chart->raise();
    m_chart->activateWindow();
}

void UIForm::about()
{
    m_boxes.show({MessageKind::Information, "MQ-7410P Information", aboutText().toStdString(), {}});
}

void UIForm::closeEvent(QCloseEvent *event)
{
    endProgram();
    event->accept();
}

void UIForm::endProgram()
{
    if (m_ended)
        return;
    m_ended = true;
    m_sequence.Timer1->stop(); // no tick may run after the end
    m_line.shutdown();
    emit endRequested();
}

} // namespace mq7410
