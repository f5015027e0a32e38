#pragma once

// UIForm, the program's one window: it builds the controls, forwards every action of the user
// to the FrontPanel of the core, and redraws itself from the core's view. It decides nothing
// itself; the boxes it shows come from the core or from the system (files).

#include "clickfirst.h"
#include "manualpanel.h"
#include "sequencepanel.h"
#include "statusfields.h"
#include "twipslayout.h"

#include "core/frontpanel.h"
#include "core/keyrepeat.h"
#include "core/messages.h"

#include <QMainWindow>
#include <QPointer>

class QAction;

namespace mq7410 {

class FrameLogModel;
class FrameLogWindow;
class SequenceChart;
class SerialLine;

class UIForm : public QMainWindow
{
    Q_OBJECT
public:
    UIForm(FrontPanel &panel, SerialLine &line, MessageBoxes &boxes, QWidget *parent = nullptr);
    ~UIForm() override;

    // Reads a sequence file into the table and shows the auto panel, as Open does. False, after
    // a box that says why, when the file cannot be read; the table is then as it was.
    bool openSequence(const QString &path);
    // Writes the table to `path` at once, as Save does; false after a box that says why.
    bool saveSequenceTo(const QString &path);

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

    // After every action: redraw, re-arm the tick timer, and show the box of a refused frame.
    void act(const Outcome &outcome);
    void render();
    void renderTable(const PanelView &view);
    void renderStatus(const std::optional<RunProgress> &progress);
    void armTimer();
    void recordFrame(const FrameRecord &record);
    bool handleKey(QKeyEvent *event);
    void showPanelFocus(SetPoint editTarget);

    void openSequenceDialog();
    bool saveSequence();
    bool saveSequenceAs();
    void reconnect();
    void showFrameLog();
    void showChart();
    void about();
    void endProgram();

    FrontPanel &m_panel;
    SerialLine &m_line;
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
    QString m_sequencePath;
    QString m_portNote; // "reconnected at ..." after a Reconnect
    PanelShown m_shownPanel = PanelShown::Manual;
    int m_runningStepShown = -1;

    QAction *m_openAction = nullptr;
    QAction *m_reconnectAction = nullptr;
    QAction *m_stopShortcut = nullptr;
    bool m_rendering = false;
    bool m_ended = false;
};

} // namespace mq7410
