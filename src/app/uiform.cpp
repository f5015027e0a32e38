#include "uiform.h"

#include "messageboxes.h"
#include "portwalk.h"
#include "protocol/datatransfer.h"
#include "serial/serialport.h"
#include "version.h"

#include <QAction>
#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>

namespace mq7410 {
namespace {

constexpr int TimerIntervalMs = 1000;

const QString AboutTitle = QStringLiteral("MQ-7410P Information");
const QString SerialErrorTitle = QStringLiteral("! RS-232 ERROR !");

QString aboutText()
{
    return QStringLiteral("MQ-7410 front panel, version %1\n\n"
                          "Sets the voltages, currents, output and series link of the MQ-7410 "
                          "dual-channel DC power supply over its serial line, and plays timed "
                          "sequences of set-points.")
            .arg(QStringLiteral(MQ7410_VERSION));
}

} // namespace

UIForm::UIForm(SerialPort &port, MessageBoxes &boxes, QWidget *parent)
    : QMainWindow(parent)
    , m_port(port)
    , m_boxes(boxes)
{
    setObjectName(QStringLiteral("UIForm"));
    setWindowTitle(QStringLiteral("MQ-7410"));

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    m_sequence = buildSequencePanel(client, m_layout);
    m_manual = buildManualPanel(client, m_layout);
    m_layout.apply(m_layout.fittingScale());
    client->setFixedSize(m_layout.toPixels(Geometry::ClientWidth),
                         m_layout.toPixels(Geometry::ClientHeight));

    buildMenu();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connectHandlers();
}

UIForm::~UIForm() = default;

void UIForm::buildMenu()
{
    m_fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    m_fileMenu->setObjectName(QStringLiteral("mFile"));
    m_exitAction = m_fileMenu->addAction(QStringLiteral("E&xit"));
    m_exitAction->setObjectName(QStringLiteral("Exit"));
    m_autoAction = menuBar()->addAction(QStringLiteral("&Auto"));
    m_autoAction->setObjectName(QStringLiteral("Auto"));
    m_aboutAction = menuBar()->addAction(QStringLiteral("&About"));
    m_aboutAction->setObjectName(QStringLiteral("About"));
}

void UIForm::connectHandlers()
{
    connect(m_exitAction, &QAction::triggered, this, [this] { Exit_Click(); });
    connect(m_autoAction, &QAction::triggered, this, [this] { Auto_Click(); });
    connect(m_aboutAction, &QAction::triggered, this, [this] { About_Click(); });
    connect(m_sequence.CancelCommand, &QPushButton::clicked, this,
            [this] { CancelCommand_Click(); });
    connect(m_manual.OutputCommand, &QPushButton::clicked, this, [this] { OutputCommand_Click(); });
    connect(m_manual.EnterCommand, &QPushButton::clicked, this, [this] { EnterCommand_Click(); });
}

bool UIForm::Form_Load()
{
    setStartValues(m_state);

    m_sequence.Timer1->setInterval(TimerIntervalMs);
    m_sequence.Timer1->stop();

    m_manual.Control->setVisible(true);
    m_sequence.Sequence->setVisible(false);

    // The port walk comes last: it either ends the program or leaves the chosen port open.
    return walkPorts(m_port, m_boxes, [this](std::int16_t code) { ShowCommError(code); }) > 0;
}

bool UIForm::DataTransfer(std::int16_t selector)
{
    const std::string frame = prepareTransfer(selector, m_state, m_displays);
    showDisplays();
    if (frame.empty())
        return true;
    if (m_port.write(frame))
        return true;
    reportWriteFailure(frame);
    return false;
}

void UIForm::showDisplays()
{
    m_manual.CH1V->setText(QString::fromStdString(m_displays.CH1V));
    m_manual.CH1I->setText(QString::fromStdString(m_displays.CH1I));
    m_manual.CH2V->setText(QString::fromStdString(m_displays.CH2V));
    m_manual.CH2I->setText(QString::fromStdString(m_displays.CH2I));
}

void UIForm::reportWriteFailure(const std::string &frame)
{
    const QString text = QStringLiteral("The frame %1 could not be sent to the supply.\n\n%2")
                                 .arg(QString::fromStdString(frame),
                                      QString::fromStdString(m_port.errorString()));
    m_boxes.show({text, SerialErrorTitle, BoxKind::OkExclamation, {}});
}

void UIForm::ShowCommError(std::int16_t code)
{
    m_boxes.show({QString::number(code), SerialErrorTitle, BoxKind::OkExclamation, {}});
}

void UIForm::OutputCommand_Click()
{
    if (m_state.OutputOn != Off) {
        m_state.OutputOn = Off;
        m_manual.OutputCommand->setText(QStringLiteral("Output /Off"));
    } else {
        m_state.OutputOn = On;
        m_manual.OutputCommand->setText(QStringLiteral("Output /On"));
    }
    DataTransfer(SendOutputState);
}

void UIForm::EnterCommand_Click()
{
    DataTransfer(m_state.EditTarget);
}

void UIForm::Exit_Click()
{
    endProgram();
}

void UIForm::About_Click()
{
    m_boxes.show({aboutText(), AboutTitle, BoxKind::OkInformation, {}});
}

void UIForm::Auto_Click()
{
    m_manual.Control->setVisible(false);
    m_sequence.Sequence->setVisible(true);
}

void UIForm::CancelCommand_Click()
{
    m_manual.Control->setVisible(true);
    m_sequence.Sequence->setVisible(false);
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
    if (m_port.isOpen())
        m_port.close(); // delivers what is still queued before the line is let go
    emit endRequested();
}

} // namespace mq7410
