#pragma once

// FrontPanel owns everything the panel knows and decides; a front end only shows it.
//
// How the pieces fit:
// - The user's actions come in as calls: select(), pressDigit(), enter(), the two switches,
//   edits of the step table, start(), stop(), and tick() when the clock says a tick is due.
// - An action that talks to the supply builds its frame by the frame grammar (frame.h) and
//   hands it to the FrameLink. The panel changes only when the link took the frame: a refused
//   frame leaves every caption, display and value as it was, and the caller shows
//   writeErrorMessage() for it. Every frame tried is also told to the observer (status line,
//   frame log).
// - The step table is kept as the texts of its boxes (sequencetable.h). Start reads its numbers
//   once and plays runplan.h's plan, tick by tick, on a TickSchedule of the Clock.
// - view() is what a front end draws: texts, captions, what is shown and enabled, and the
//   running step as a role, never as a colour.
// The rest of core/ serves it and the other programs: the number texts, the port walk, the
// virtual supply's frame decoder, the sequence files and the frame history.

#include "clock.h"
#include "frame.h"
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

struct PanelView
{
    PanelShown panel = PanelShown::Manual;
    std::array<std::string, SetPointCount> displays; // by SetPoint
    SetPoint editTarget = SetPoint::Ch1Voltage;      // its option button is the chosen one
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
    int step = 1;              // the running step
    int steps = 1;             // how many steps this run plays
    int tick = 0;              // ticks since Start
    int secondsLeftInStep = 0; // until the frame that ends the step
    int secondsLeftInRun = 0;  // until the run's last frame
    std::int64_t behindNs = 0; // how far frames that went out late moved the run back
};

struct FrameRecord
{
    std::string frame;
    std::string meaning; // "CH1 12.34 V", "step 3: CH1 5.00 V 0.500 A, CH2 ..."
    bool sent = false;
    std::string reason; // why it was not sent
};

// What an action did on the line: nothing, or one frame, sent or refused.
struct Outcome
{
    std::optional<FrameRecord> frame;
    bool refused() const { return frame && !frame->sent; }
};

class FrontPanel
{
public:
    // A frame that goes out later than this after its tick moves the rest of the run back.
    static constexpr std::int64_t LateFrameNs = 100'000'000;

    FrontPanel(FrameLink &link, const Clock &clock);

    PanelView view() const;
    bool running() const { return m_run.has_value(); }
    std::optional<RunProgress> progress() const;
    // How long until the next tick of the run is due (0 when it is due now); nothing when no
    // run is active.
    std::optional<std::int64_t> nsUntilNextTick() const;
    void setFrameObserver(std::function<void(const FrameRecord &)> observer);

    // The panels. Cancel is refused while a run is active.
    void showAutoPanel();
    void showManualPanel();

    // The manual panel; nothing happens while it is not shown.
    void select(SetPoint setPoint);
    void pressDigit(int digit);
    Outcome enter();
    Outcome toggleOutput();
    Outcome toggleSeriesLink();

    // The step table; no edit is taken while a run is active. A value box is checked when its
    // entry is complete: a text the box cannot take becomes " 0".
    void setTimeText(int step, const std::string &text);
    void setValueText(int row, SetPoint setPoint, const std::string &text);
    void completeEntry(int row, SetPoint setPoint);
    void completeEntries();
    // The texts as typed by the user: during a run, as they were at Start.
    const SequenceTexts &tableTexts() const { return m_table; }
    // Puts every text in its box as if typed, completes every entry, shows the auto panel;
    // `texts` count as saved. False, with nothing changed, while a run is active.
    bool loadTable(const SequenceTexts &texts);
    // Whether the table differs from the one last loaded or saved.
    bool tableModified() const { return m_table != m_savedTable; }
    void markTableSaved() { m_savedTable = m_table; }

    // The run: Start sends step 1 at once; tick() takes every tick due by now; Stop ends the
    // run with the Finish row. A refused frame ends the run too.
    Outcome start();
    Outcome tick();
    Outcome stop();

private:
    struct ManualState
    {
        SetPoint editTarget = SetPoint::Ch1Voltage;
        bool outputOn = false;
        bool seriesLink = false;
        SetPointValues entered{}; // being typed, and what Enter sends
        SetPointValues sent{};    // last sent with Enter: channel 2 goes back to it, link off
        SetPointValues held{};    // last sent by any frame: what the supply holds
        std::array<std::string, SetPointCount> displays{"00.00", "0.000", "00.00", "0.000"};

        // The frame of `command` went out with the values being entered: the supply holds
        // them, and their displays say so.
        void sentFrame(Command command);
        void show(SetPoint setPoint, int value);
    };

    struct Run
    {
        RunPlan plan;
        std::array<SetPointValues, RowCount> rows{};
        TickSchedule schedule;
        int tick = 0;
        bool anyFrameSent = false;
    };

    bool manualShown() const { return m_panel == PanelShown::Manual; }
    Outcome write(const std::string &frame, const std::string &context);
    Outcome transmit(const std::string &frame, const ManualState &next);
    Outcome sendRow(int row);
    void endRun();

    FrameLink &m_link;
    const Clock &m_clock;
    std::function<void(const FrameRecord &)> m_observer;
    PanelShown m_panel = PanelShown::Manual;
    ManualState m_manual;
    SequenceTexts m_table = SequenceTexts::initial();
    SequenceTexts m_savedTable = m_table;
    std::optional<Run> m_run;
};

} // namespace mq7410
