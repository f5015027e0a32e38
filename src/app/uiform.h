// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// UIForm, the program's one window: it builds the controls, forwards every action of the user
// to the session's FrontPanel, and redraws itself whenever the session says something changed
// (also when a script changed it). It decides nothing itself; the boxes it shows come from the
// core, the session or the system (files).

#include "clickfirst.h"
#include "manualpanel.h"
#include "sequencepanel.h"
#include "statusfields.h"
#include "twipslayout.h"

#include "framehistory.h"
#include "frontpanel.h"
#include "keyrepeat.h"
#include "messages.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QMenu;

namespace mq7410 {

class FrameLogModel;
class FrameLogWindow;
class RemoteControl;
class SequenceChart;
class Session;

class UIForm : public QMainWindow
{
    Q_OBJECT
public:
    UIForm(Session &session, MessageBoxes &boxes, QWidget *parent = nullptr);
    ~UIForm() override;

    // Reads a sequence file into the table and shows the auto panel, as Open does (asking first
    // about a table changed since its file was saved). False, after a box that says why, when
    // it was not read; the table is then as it was.
    bool openSequence(const QByteArray &path);
    // Writes the table to `path` at once, as Save does; false after a box that says why.
    bool saveSequenceTo(const QByteArray &path);
    // The SCPI server the window shows and File > Remote Control switches; none by default.
    void setRemoteControl(RemoteControl *remote);

public slots:
    // The end, by Exit, the window's close or a signal: a run is stopped, the output switched
    // off when the settings say so, and the line let go; then endRequested().
    void endProgram();

signals:
    // The program must end now; main() quits the event loop.
    void endRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildMenus();
    void connectManualPanel();
    void connectSequencePanel();

    // An action of the user's, and the box of its refusal, titled as the action. True when it
    // was done.
    template<typename Action>
    bool act(const char *title, Action action)
    {
        m_acting = true;
        const Status status = action();
        m_acting = false;
        if (!status)
            m_boxes.show(refusalMessage(status.failure(), title));
        return status.ok();
    }
    void render();
    void renderTable(const PanelView &view);
    void renderStatus(const PanelView &view);
    void logged(const LoggedFrame &entry, bool update);
    bool handleKey(QKeyEvent *event);
    void showPanelFocus(SetPoint editTarget);
    void completeEntry(int row, std::optional<SetPoint> setPoint);

    // Files: uiform_files.cpp.
    void openSequenceDialog();
    void fillRecentFiles();
    bool saveSequence();
    bool saveSequenceAs();
    void rememberFile(const QByteArray &path);
    // Before the table is replaced or the program ends: Save, Discard or Cancel when the table
    // changed since its file was loaded or saved. True to go on.
    bool tableMayGo();

    // Menu commands: uiform_commands.cpp.
    void reconnect();
    void choosePort();
    void resend();
    void editSettings();
    void switchRemoteControl(bool on);
    void showFrameLog();
    void showChart();
    void about();

    Session &m_session;
    FrontPanel &m_panel;
    MessageBoxes &m_boxes;
    TwipsLayout m_layout;
    ManualPanel m_manual;
    SequencePanel m_sequence;
    StatusFields *m_status = nullptr;
    ClickFirst m_clickFirst;
    KeyRepeatFilter m_keys;
    FrameLogModel *m_logModel = nullptr;
    QPointer<FrameLogWindow> m_frameLog;
    QPointer<SequenceChart> m_chart;
    RemoteControl *m_remote = nullptr;
    QString m_note; // what was last read from an entry, or why an action was refused
    PanelShown m_shownPanel = PanelShown::Manual;
    int m_runningStepShown = -1;
    bool m_acting = false; // inside an action of the user's: its own box tells a refusal

    QMenu *m_recentMenu = nullptr;
    QAction *m_openAction = nullptr;
    QAction *m_portAction = nullptr;
    QAction *m_reconnectAction = nullptr;
    QAction *m_resendAction = nullptr;
    QAction *m_remoteAction = nullptr;
    QAction *m_stopShortcut = nullptr;
    bool m_rendering = false;
    bool m_ended = false;
};

} // namespace mq7410
