#include "uiform.h"

#include "messageboxes.h"
#include "portwalk.h"
#include "protocol/datatransfer.h"
#include "sequence/tickschedule.h"
#include "serial/serialport.h"
#include "version.h"

#include <QAction>
#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>

namespace mq7410 {
namespace {

const QString AboutTitle = QStringLiteral("MQ-7410P Information");

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
    , m_runnerPanel(m_sequence, m_state, [this] { return DataTransfer(SendAllSetPoints); })
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

    buildMenu();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connectMenu();
    connectFrontPanel();
    connectSequence();
}

UIForm::~UIForm() = default;

void UIForm::buildMenu()
{
    QMenu *fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu->setObjectName(QStringLiteral("mFile"));
    m_exitAction = fileMenu->addAction(QStringLiteral("E&xit"));
    m_exitAction->setObjectName(QStringLiteral("Exit"));
    m_autoAction = menuBar()->addAction(QStringLiteral("&Auto"));
    m_autoAction->setObjectName(QStringLiteral("Auto"));
    m_aboutAction = menuBar()->addAction(QStringLiteral("&About"));
    m_aboutAction->setObjectName(QStringLiteral("About"));
}

void UIForm::connectMenu()
{
    connect(m_exitAction, &QAction::triggered, this, [this] { Exit_Click(); });
    connect(m_autoAction, &QAction::triggered, this, [this] { Auto_Click(); });
    connect(m_aboutAction, &QAction::triggered, this, [this] { About_Click(); });
    connect(m_sequence.CancelCommand, &QPushButton::clicked, this,
            [this] { CancelCommand_Click(); });
}

bool UIForm::Form_Load()
{
    setStartValues(m_state);

    m_sequence.Timer1->setInterval(TickPeriodMs);
    m_sequence.Timer1->stop();

    m_manual.Control->setVisible(true);
    m_sequence.Sequence->setVisible(false);

    // The port walk comes last: it either ends the program or leaves the chosen port open.
    return walkPorts(m_port, m_boxes, [this](std::int16_t code) { ShowCommError(code); }) > 0;
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
