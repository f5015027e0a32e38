// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Session: the one object behind every front end (the window, the SCPI server, mq7410-run). It
// owns the core's FrontPanel, the serial line, the clock, the run's timer Timer1, the frame
// log, the sequence file and the remembered settings, and says what changed through signals.
// Front ends call the panel's actions directly (panel()); the session hears of every change
// from the core, re-arms the timer and tells everyone. Qt Core only: no widgets.

#include "clock.h"
#include "framehistory.h"
#include "frontpanel.h"
#include "portwalk.h"
#include "settings.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>

namespace mq7410 {

class SerialLine;

struct PortStatus
{
    int number = 0;     // COM n; 0 for a device named by its path, or before any port
    std::string device; // e.g. "/dev/ttyUSB0"
    bool open = false;
    std::string lostReason; // why the line closed by itself; empty while it did not
};

class Session
    : public QObject
    , private PanelObserver
{
    Q_OBJECT
public:
    // `clock`: the run's ticks are counted by it (tests and the screenshot tool move their own).
    explicit Session(std::unique_ptr<Settings> settings = std::make_unique<Settings>(),
                     const Clock &clock = steadyClock(), QObject *parent = nullptr);
    ~Session() override;

    FrontPanel &panel() { return m_panel; }
    const FrontPanel &panel() const { return m_panel; }
    Settings &settings() { return *m_settings; }
    // The run's timer: single-shot, re-armed for each tick from the core's schedule; its
    // interval reads 1000 whenever no run is active.
    QTimer *timer() { return &m_timer; }

    // --- the port
    // The start-up walk, asking with `boxes`.
    WalkResult walkPorts(MessageBoxes &boxes);
    // A port named "COMn" or a device path, without a question.
    Status openPort(const std::string &name);
    // COM 1 to COM 16 as they stand, the one held here included.
    std::vector<PortInfo> listPorts();
    // Reconnect and File > Port: lets the port held so far go, opens COM `number` as the
    // system maps it now and, with `boxes`, asks before it is used, naming the device. The
    // supply's state is unknown afterwards; nothing is sent.
    Status usePort(int number, MessageBoxes *boxes);
    PortStatus portStatus() const;

    // --- the sequence file, named by the system's bytes
    Status openSequence(const QByteArray &path);
    // What the last file loaded held that the boxes did not take (above a limit, or beyond
    // the supply's range): "ramp.csv: 7 value(s) the boxes do not take (...) show 0"; empty
    // when all were taken.
    const QString &loadNote() const { return m_loadNote; }
    // Writes the table to `path`, which becomes the table's file; refused, with nothing
    // written, when the table holds a text the file cannot.
    Status saveSequence(const QByteArray &path);
    const QByteArray &sequencePath() const { return m_sequencePath; }
    // Whether the file changed on disk since it was loaded or saved here.
    bool sequenceChangedOnDisk() const;

    // --- the frame log
    const FrameHistory &history() const { return m_history; }
    void clearHistory();
    // Frames tried while it lives are logged as coming from `origin` ("client 127.0.0.1:4031").
    class Acting
    {
    public:
        Acting(Session &session, QString origin);
        ~Acting();
        Acting(const Acting &) = delete;
        Acting &operator=(const Acting &) = delete;

    private:
        Session &m_session;
        QString m_previous;
    };
    // Who acts when no Acting says otherwise: "panel" for the window.
    void setDefaultOrigin(const QString &origin) { m_origin = origin; }

    // --- the end: a run still active is stopped (its Finish row), the output is switched off
    // for EndAction::OutputOff (the panel passes its settings' choice; a script's program
    // leaves the supply as its commands left it), and the line is let go within about a second.
    // A Failure when part of a frame stayed on the line: the supply will misread the next frame.
    Status end(EndAction action);
    // The last run's ending, as the status line says it; empty before any run ended.
    const QString &lastRunEnding() const { return m_lastRunEnding; }

signals:
    // The view, the run, the port or the file changed: front ends redraw.
    void changed();
    // A new entry of the frame log, or (`update`) an entry whose status changed.
    void logged(const mq7410::LoggedFrame &entry, bool update);
    void runEnded(const mq7410::RunEnding &ending);
    void lineLost(const QString &reason);

private:
    void onFrameTried(const FrameRecord &record) override;
    void onFrameSettled(const FrameRecord &record) override;
    void onRunEnded(const RunEnding &ending) override;
    void onChanged() override;
    void armTimer();
    void onLineLost(const QString &reason);
    std::uint64_t log(LoggedFrame entry); // stamps its time and origin

    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<SerialLine> m_line;
    FrontPanel m_panel;
    QTimer m_timer;
    FrameHistory m_history;
    std::optional<std::uint64_t> m_waitingEntry; // the log entry of the frame still leaving
    QString m_origin = QStringLiteral("panel");
    bool m_ticking = false;
    QByteArray m_sequencePath;
    QByteArray m_sequenceBytes; // as loaded or saved: the file changed on disk when it differs
    QString m_lastRunEnding;
    QString m_loadNote;
    bool m_ended = false;
};

// Whether the entry is a frame whose rest still waits for the line: an update of it says how it
// ended.
bool waitingForLine(const LoggedFrame &entry);
// Whether the entry is a frame that was not sent, or was cut.
bool frameFailed(const LoggedFrame &entry);

// "17:13:42" today, "2026-12-09 17:13:42" on another day: when something `seconds` from now
// happens.
QString wallTimeIn(std::int64_t seconds);

// The run's status line: the progress, when it ends, and a note when the output is off.
QString runStatusLine(const RunProgress &progress, bool outputOn);

} // namespace mq7410
