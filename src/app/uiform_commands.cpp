// SPDX-License-Identifier: GPL-3.0-or-later
// The menus and the commands that are not about set-points: the port, the settings, the remote
// control, the other windows and About.

#include "uiform.h"

#include "framelogwindow.h"
#include "portdialog.h"
#include "remotecontrol.h"
#include "sequencechart.h"
#include "settingsdialog.h"
#include "version.h"

#include "session.h"
#include "setpointtext.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

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

} // namespace

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
    m_recentMenu = file->addMenu(QStringLiteral("Open &Recent"));
    m_recentMenu->setObjectName(QStringLiteral("mRecentFiles"));
    connect(m_recentMenu, &QMenu::aboutToShow, this, &UIForm::fillRecentFiles);
    addItem(file, "mSaveSequence", QStringLiteral("&Save Sequence"),
            QKeySequence(Qt::CTRL | Qt::Key_S), [this] { saveSequence(); });
    addItem(file, "mSaveSequenceAs", QStringLiteral("Save Sequence &As..."),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { saveSequenceAs(); });
    file->addSeparator();
    m_portAction = addItem(file, "mPort", QStringLiteral("&Port..."), {}, [this] { choosePort(); });
    m_reconnectAction = addItem(file, "mReconnect", QStringLiteral("Re&connect"), {},
                                [this] { reconnect(); });
    m_resendAction = addItem(file, "mResend", QStringLiteral("Send Set-points A&gain"), {},
                             [this] { resend(); });
    file->addSeparator();
    m_remoteAction = addItem(file, "mRemoteControl", QStringLiteral("Re&mote Control"), {},
                             [this](bool on) { switchRemoteControl(on); });
    m_remoteAction->setCheckable(true);
    m_remoteAction->setEnabled(false); // until a server is given
    addItem(file, "mSettings", QStringLiteral("Se&ttings..."), {}, [this] { editSettings(); });
    file->addSeparator();
    addItem(file, "Exit", QStringLiteral("E&xit"), {}, [this] {
        if (tableMayGo())
            endProgram();
    });

    QAction *autoAction = menuBar()->addAction(QStringLiteral("&Auto"));
    autoAction->setObjectName(QStringLiteral("Auto"));
    connect(autoAction, &QAction::triggered, this, [this] { m_panel.showAutoPanel(); });

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

void UIForm::reconnect()
{
    act("Reconnect", [this] { return m_session.usePort(m_session.portStatus().number, &m_boxes); });
}

void UIForm::choosePort()
{
    PortDialog dialog(m_session.listPorts(), this);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenPort() == 0)
        return;
    // Chosen in the list with its device in sight: no second question.
    act("Port", [&] { return m_session.usePort(dialog.chosenPort(), nullptr); });
}

void UIForm::resend()
{
    const PanelView view = m_panel.view();
    std::string values;
    for (const SetPoint setPoint : AllSetPoints) {
        values += (values.empty() ? "" : ", ") + std::string(nameOf(setPoint)) + ' '
                  + valueWords(setPoint, valueOf(m_panel.heldValues(), setPoint));
    }
    const Message question{MessageKind::Question, "Send Set-points Again",
                           "Send what the panel holds to the supply?",
                           values + "; " + view.serialCaption + ", " + view.outputCaption + "."};
    if (m_boxes.show(question) == Answer::Yes)
        act("Send Set-points Again", [this] { return m_panel.resendState(); });
}

void UIForm::editSettings()
{
    SettingsDialog dialog(m_session.settings(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.apply();
    m_panel.setLimits(m_session.settings().limits());
}

void UIForm::setRemoteControl(RemoteControl *remote)
{
    m_remote = remote;
    m_remoteAction->setEnabled(remote != nullptr);
    if (remote)
        connect(remote, &RemoteControl::changed, this, &UIForm::render);
    render();
}

void UIForm::switchRemoteControl(bool on)
{
    if (!m_remote)
        return;
    Settings &settings = m_session.settings();
    if (!on) {
        m_remote->close();
    } else if (const Status listening = m_remote->listen(settings.remoteAddress()); !listening) {
        m_boxes.show(refusalMessage(listening.failure(), "Remote Control"));
    }
    // A server that could not listen is not tried again at the next start.
    settings.setRemoteControl(m_remote->listening());
    render();
}

void UIForm::showFrameLog()
{
    if (!m_frameLog)
        m_frameLog = new FrameLogWindow(m_logModel, m_session, m_boxes, this);
    m_frameLog->show();
    m_frameLog->raise();
    m_frameLog->activateWindow();
}

void UIForm::showChart()
{
    if (!m_chart)
        m_chart = new SequenceChart(m_session.settings(), m_boxes, this);
    m_chart->showSequence(m_panel.tableTexts(), m_panel.progress());
    m_chart->show();
    m_chart->raise();
    m_chart->activateWindow();
}

void UIForm::about()
{
    m_boxes.show({MessageKind::Information, "MQ-7410P Information", aboutText().toStdString(), {}});
}

} // namespace mq7410
