// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// FrontPanel owns everything the panel knows and decides; a front end only shows it.
//
// How the pieces fit:
// - Actions come in as calls, from any front end: the keypad and switches of the manual panel
//   (select, pressDigit, enter, ...), the same at the level of values (setSetPoint, setOutput,
//   setSeriesLink: what a script uses), edits of the step table, start, stop, and tick when the
//   clock says a tick is due.
// - Every frame goes through one place, transmit(): it checks the frame's values against the
//   limits, hands it to the FrameLink, and changes the panel only once the link sent its last
//   byte. A refused action sends nothing and changes nothing; its Failure says why.
// - The observer hears of every frame tried and settled, of every end of a run, and, after
//   each action, that the panel changed.
// - view() is what a front end draws: texts, captions, what is shown and enabled, and roles
//   (typed, unknown, the running step), never colours.
// The rest of core/ serves it and the other programs: the number texts, the port walk, the
// frame grammar both ways, the sequence files, the frame history and the SCPI language.

#include "clock.h"
#include "failure.h"
#include "framelink.h"
#include "runplan.h"
#include "sequencetable.h"
#include "setpoint.h"
#include "tickschedule.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace mq7410 {

enum class PanelShown { Manual, Auto };

// What a set-point's display shows.
enum class DisplayRole {
    Held,    // what the supply holds, as far as the panel knows
    Typed,   // digits not sent yet: Enter sends them
    Unknown, // after a reconnect, until a frame sets it
};

struct PanelView
{
    PanelShown panel = PanelShown::Manual;
    std::array<std::string, SetPointCount> displays; // by SetPoint
    std::array<DisplayRole, SetPointCount> roles{};
    // "≤ 5.00 V" beside a display while its limit is below the supply's; else empty.
    std::array<std::string, SetPointCount> limitNotes;
    SetPoint editTarget = SetPoint::Ch1Voltage; // its option button is the chosen one
    std::string outputCaption;
    std::string serialCaption;
    bool linkBanner = false;
    // While a run is active the table, Start and Cancel are disabled and Stop is offered.
    bool running = false;
    int runningStep = 0; // 1 to 9: its label shows the running colour; 0: none does
    SequenceTexts table; // as the boxes show it: a running step's box counts down
};

// Where a run stands.
struct RunProgress
{
    int cycle = 1;
    int cycles = 1;                       // UntilStop: until Stop
    int step = 1;                         // the running step
    int steps = 1;                        // how many steps a cycle plays
    Tick tick = 0;                        // ticks since Start
    Tick secondsLeftInStep = 0;           // until the frame that ends the step
    std::optional<Tick> secondsLeftInRun; // until the run's last frame; none until Stop
    std::int64_t behindNs = 0;            // how far frames that went out late moved the run back
};

enum class FrameStatus {
    Sent,    // every byte left
    Waiting, // its first bytes left, the rest waits for the line
    Refused, // nothing left
    Cut,     // its first bytes left, the rest never will
};

struct FrameRecord
{
    std::string frame;
    std::string meaning; // "CH1 12.34 V", "step 3: CH1 5.00 V 0.500 A, CH2 ..."
    FrameStatus status = FrameStatus::Sent;
    std::string reason; // why it was refused or cut
};

enum class RunEnd {
    Completed,  // its last frame went out
    Stopped,    // Stop: the Finish row went out
    LineFailed, // a frame of the run was refused or cut
};

struct RunEnding
{
    RunEnd how = RunEnd::Completed;
    int cycles = 1;     // cycles begun
    std::string reason; // the line's words, when it failed
};

class PanelObserver
{
public:
    virtual ~PanelObserver() = default;
    virtual void onFrameTried(const FrameRecord &record) = 0;
    // A frame that was Waiting is Sent or Cut now.
    virtual void onFrameSettled(const FrameRecord &record) = 0;
    virtual void onRunEnded(const RunEnding &ending) = 0;
    // After every action that may have changed the view, the run or the schedule.
    virtual void onChanged() = 0;
};

// The values a step table row takes from a script: a time (for steps) and four set-points.
struct RowTexts
{
    std::string time;
    std::array<std::string, SetPointCount> values;
};

class FrontPanel
{
public:
    // A frame that goes out later than this after its tick moves the rest of the run back.
    static constexpr std::int64_t LateFrameNs = 100'000'000;

    FrontPanel(FrameLink &link, const Clock &clock);

    PanelView view() const;
    void setObserver(PanelObserver *observer) { m_observer = observer; }

    // --- the panels. Cancel is refused while a run is active.
    void showAutoPanel();
    void showManualPanel();

    // --- the manual panel's keys; nothing happens while it is not shown.
    void select(SetPoint setPoint);
    void pressDigit(int digit);
    // Esc: the display being typed shows what the supply holds again.
    void abandonTyping();
    Status enter();
    Status toggleOutput();
    Status toggleSeriesLink();
    // "Enter sends CH1 12.00 V · Esc abandons it" while digits are typed; else empty.
    std::string typingNote() const;

    // --- the same at the level of values, whichever panel is shown; refused during a run.
    // Like Enter of `value` (10 mV or 1 mA steps): what is typed for it is dropped.
    Status setSetPoint(SetPoint setPoint, int value);
    Status setOutput(bool on);
    Status setSeriesLink(bool on);
    // What the supply holds as far as the panel knows: the display's value when nothing is
    // typed; nothing after a reconnect until a frame set it.
    std::optional<int> heldValue(SetPoint setPoint) const;
    // The values the panel sent last, known or not: what Send Set-points Again sends.
    const SetPointValues &heldValues() const { return m_manual.held; }
    bool outputOn() const { return m_manual.outputOn; }
    bool seriesLink() const { return m_manual.seriesLink; }
    // After a reconnect: the supply may hold anything; the displays say so.
    void forgetSupplyState();
    // Send Set-points Again: the set-points the panel holds in one frame, then the series link
    // and the output.
    Status resendState();
    // The highest value of each set-point that any frame may carry; SupplyLimits by default.
    void setLimits(const SetPointValues &limits);
    const SetPointValues &limits() const { return m_limits; }
    // The limit a value of `setPoint` must keep now: with the series link on, channel 2
    // follows channel 1, so channel 1 keeps channel 2's limit too.
    int effectiveLimit(SetPoint setPoint) const;

    // --- the step table; no edit is taken while a run is active. A value box is checked when
    // its entry is complete: a text the box cannot take becomes " 0".
    Status setTimeText(int step, const std::string &text);
    Status setValueText(int row, SetPoint setPoint, const std::string &text);
    // True when the text was not one the box takes, and became " 0".
    bool completeEntry(int row, SetPoint setPoint);
    // How many texts became " 0".
    int completeEntries();
    // A whole row at once, every text taken as a completed entry: refused, with nothing
    // changed, when one of them is not what its box takes (the Finish row has no time).
    Status setRow(int row, const RowTexts &texts);
    Status setRepeat(int count);
    // The texts as typed by the user: during a run, as they were at Start.
    const SequenceTexts &tableTexts() const { return m_table; }
    // Puts every text in its box as if typed, completes every entry, shows the auto panel;
    // `texts` count as saved. How many values the boxes did not take (they show 0).
    Result<int> loadTable(const SequenceTexts &texts);
    // Whether the table differs from the one last loaded or saved.
    bool tableModified() const { return m_table != m_savedTable; }
    void markTableSaved() { m_savedTable = m_table; }

    // --- the run. Start checks the whole table against the limits, then sends step 1 at once;
    // tick() takes every tick due by now; Stop ends the run with the Finish row. A refused
    // frame ends the run too.
    Status start();
    void tick();
    Status stop();
    bool running() const { return m_run.has_value(); }
    std::optional<RunProgress> progress() const;
    // How long until the next tick of the run is due (0 when it is due now); nothing when no
    // run is active.
    std::optional<std::int64_t> nsUntilNextTick() const;

    // --- the line. The owner of the link tells how a Waiting frame ended, and when the line
    // is gone: a run ends then, and a Waiting frame is cut.
    bool frameWaiting() const { return m_waiting.has_value(); }
    // Waits, at most the link's deadline, for a Waiting frame to leave: ok once none waits.
    Status finishWaiting();
    void settleWaiting(const Status &result);
    void lineLost(const std::string &reason);

private:
    struct ManualState
    {
        SetPoint editTarget = SetPoint::Ch1Voltage;
        bool outputOn = false;
        bool seriesLink = false;
        std::optional<SetPoint> typing; // the display showing digits not sent yet
        SetPointValues entered{};       // being typed, and what Enter sends
        SetPointValues sent{};          // last sent with Enter: channel 2 goes back to it
        SetPointValues held{};          // last sent by any frame: what the supply holds
        std::array<bool, SetPointCount> known{true, true, true, true};

        // What the display of `setPoint` shows, before channel 2 follows channel 1.
        std::optional<int> ownShown(SetPoint setPoint) const;
        void hold(SetPoint setPoint, std::int16_t value);
    };

    struct Run
    {
        RunPlan plan;
        std::array<SetPointValues, RowCount> rows{};
        TickSchedule schedule;
        Tick tick = 0;
    };

    struct Waiting
    {
        FrameRecord record;
        std::function<void()> commit;
    };

    // Tells the observer that the panel changed when the outermost action returns.
    class Change
    {
    public:
        explicit Change(FrontPanel &panel);
        ~Change();
        Change(const Change &) = delete;
        Change &operator=(const Change &) = delete;

    private:
        FrontPanel &m_panel;
    };

    bool manualShown() const { return m_panel == PanelShown::Manual; }
    // What the display of `setPoint` shows: with the series link on, channel 2's show
    // channel 1's.
    std::optional<int> shown(SetPoint setPoint) const;
    Status refuseDuringRun() const;
    Status checkLimits(const std::string &frame) const;
    Status transmit(const std::string &frame, const std::string &context,
                    std::function<void()> commit);
    void tell(const FrameRecord &record, bool settled);
    Status sendRow(int row);
    void endRun(RunEnd how, const std::string &reason = {});
    std::string rowContext(int row) const;

    FrameLink &m_link;
    const Clock &m_clock;
    PanelObserver *m_observer = nullptr;
    PanelShown m_panel = PanelShown::Manual;
    ManualState m_manual;
    SetPointValues m_limits = SupplyLimits;
    SequenceTexts m_table = SequenceTexts::initial();
    SequenceTexts m_savedTable = m_table;
    std::optional<Run> m_run;
    std::optional<Waiting> m_waiting;
    std::string m_lastRefusal; // the line's words for the last frame refused
    int m_changeDepth = 0;
};

// The box text of a frame the line did not take.
std::string refusedFrameText(const std::string &frame, const std::string &reason);

} // namespace mq7410
