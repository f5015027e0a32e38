// SPDX-License-Identifier: GPL-3.0-or-later
// The window drawn from the session: the panels, the table and the status bar, after every
// change, whoever made it.

#include "uiform.h"

#include "appearance.h"
#include "remotecontrol.h"
#include "sequencechart.h"

#include "framelogwindow.h"
#include "lineformat.h"
#include "session.h"
#include "tablefile.h"

#include <QAction>
#include <QMenu>

namespace mq7410 {
namespace {

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

void UIForm::render()
{
    m_rendering = true;
    const PanelView view = m_panel.view();
    const bool manual = view.panel == PanelShown::Manual;
    m_manual.Control->setVisible(manual);
    m_sequence.Sequence->setVisible(!manual);

    for (const SetPoint setPoint : AllSetPoints) {
        const auto i = std::size_t(indexOf(setPoint));
        showDisplay(m_manual.display(setPoint), view.displays.at(i), view.roles.at(i));
        m_manual.limitNote(setPoint)->setText(fromStd(view.limitNotes.at(i)));
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
    renderStatus(view);
    if (m_chart)
        m_chart->showSequence(m_panel.tableTexts(), m_panel.progress());
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
    if (m_sequence.RepeatCount->value() != view.table.repeat)
        m_sequence.RepeatCount->setValue(view.table.repeat);
}

void UIForm::renderStatus(const PanelView &view)
{
    const PortStatus port = m_session.portStatus();
    QString portText = QStringLiteral("No port");
    if (!port.device.empty()) {
        portText = (port.number > 0 ? QStringLiteral("COM %1 \u00b7 ").arg(port.number) : QString())
                   + fromStd(port.device) + QStringLiteral(" \u00b7 ")
                   + fromStd(SupplyLineFormat.text());
    }
    const bool lost = !port.lostReason.empty();
    if (lost)
        portText += QStringLiteral(" \u00b7 closed: ") + fromStd(port.lostReason);
    else if (!port.open)
        portText += QStringLiteral(" \u00b7 closed");
    StatusFields::show(m_status->PortStatus, portText, lost || !port.open);
    m_reconnectAction->setEnabled(!port.open && port.number > 0);
    m_portAction->setEnabled(!view.running);
    m_resendAction->setEnabled(port.open && !view.running);

    const QByteArray &path = m_session.sequencePath();
    QString file = path.isEmpty() ? QStringLiteral("No sequence file") : displayName(path);
    if (m_panel.tableModified())
        file += QStringLiteral(" (modified)");
    StatusFields::show(m_status->FileStatus, file);

    const std::optional<RunProgress> progress = m_panel.progress();
    const QString typing = fromStd(m_panel.typingNote());
    m_status->showLastLine(progress ? runStatusLine(*progress, m_panel.outputOn())
                                    : m_session.lastRunEnding(),
                           typing.isEmpty() ? m_note : typing);
    m_status->StopCommand->setVisible(view.running);
    m_status->StopCommand->setEnabled(view.running);
    m_openAction->setEnabled(!view.running);
    m_recentMenu->setEnabled(!view.running);
    m_stopShortcut->setEnabled(view.running);

    m_status->RemoteStatus->setVisible(m_remote && m_remote->listening());
    if (m_remote) {
        StatusFields::show(m_status->RemoteStatus, m_remote->statusText(), m_remote->exposed());
        m_remoteAction->setChecked(m_remote->listening());
    }
}

void UIForm::logged(const LoggedFrame &entry, bool update)
{
    m_logModel->show(entry, update);
    if (entry.frame.empty())
        return; // the end of a run: the run's own line tells it
    const QString time = fromStd(entry.time).section(QLatin1Char(' '), 1).left(8);
    StatusFields::show(
            m_status->FrameStatus,
            time + QStringLiteral("  ") + fromStd(entry.frame) + QStringLiteral("  ")
                    + fromStd(entry.meaning) + QStringLiteral(" \u00b7 ") + fromStd(entry.status)
                    + (entry.origin == "panel" || entry.origin == "run"
                               ? QString()
                               : QStringLiteral(" \u00b7 from ") + fromStd(entry.origin)),
            frameFailed(entry));
}

} // namespace mq7410
