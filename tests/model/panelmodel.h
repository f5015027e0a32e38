#pragma once

// A model of the whole front panel, written from the documented behaviour with its mended
// faults: what the user sees, the window's variables, and every frame and message box.
// It knows nothing of the toolkit or of the program's code.

#include "controls.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mq7410::model {

constexpr std::uint32_t RedColor = 0x000000FF;
constexpr std::uint32_t ButtonFaceColor = 0x8000000F;

// Everything on the screen that the program changes.
struct View
{
    std::array<std::string, 4> displays{"00.00", "0.000", "00.00", "0.000"}; // CH1V CH1I CH2V CH2I
    std::string serialCaption = "Serial /Off";
    std::string outputCaption = "Output /Off";
    bool serialLabelVisible = false;
    std::array<bool, 4> options{true, false, false, false}; // CH1V, CH1A, CH2V, CH2A
    bool controlVisible = true;
    bool sequenceVisible = false;
    bool sequenceEnabled = true;
    bool startEnabled = true;
    bool timerEnabled = false;
    std::array<std::string, BoxCount> boxes{};
    std::array<std::uint32_t, 9> stepColors{};

    View();
};

// The window's variables that decide what later events do.
struct Variables
{
    int editTarget = 2; // 1 CH1 current, 2 CH1 voltage, 3 CH2 current, 4 CH2 voltage
    bool seriesLink = false;
    bool outputOn = false;
    std::array<int, 4> set{};  // CH1 V, CH1 I, CH2 V, CH2 I (10 mV, mA)
    std::array<int, 4> sent{}; // the same, last sent with Enter
    std::string savedCH2V;
    std::string savedCH2I;
    std::array<std::array<std::int16_t, 4>, TableRows> table{};
    bool running = false;
    int stepsDone = 0;
    double stepTimeLeft = 0;
};

struct MessageBox
{
    std::string title;
    int kind = 0;         // 16, 36, 48 or 64
    std::string mentions; // text the prompt must contain; may be empty
};

class PanelModel
{
public:
    // The panel right after start-up with a port accepted.
    PanelModel() = default;

    bool visible(Control control) const;
    bool enabled(Control control) const; // enabled as the user sees it (containers included)
    bool boxUsable(int box) const;       // visible and enabled

    void click(Control control); // does nothing unless visible and enabled
    void menuAuto();
    void menuAbout();
    void exit();
    void typeInto(int box, const std::string &character); // one typed character at the end
    void replaceText(int box, const std::string &text);   // the whole text, as one change
    void key(int digitOrEnter, bool autoRepeat);          // -1 for Enter; the window has focus
    void tick();
    void setWritesFail(bool fail, const std::string &error);

    const View &view() const { return m_view; }
    const Variables &variables() const { return m_vars; }
    const std::vector<std::string> &framesSent() const { return m_sent; }
    const std::vector<std::string> &framesFailed() const { return m_failed; }
    const std::vector<MessageBox> &boxesShown() const { return m_boxes; }
    bool ended() const { return m_ended; }

private:
    // Manual panel.
    void output();
    void select(int code);
    void digit(int k);
    void seriesLink();
    // DataTransfer: builds, records, writes; false when the write failed.
    bool transfer(int selector);
    bool write(const std::string &frame);
    // Auto panel.
    void changeText(int box, const std::string &text);
    void start();
    void advance(int ended);
    bool loadAndSend(int row);
    void endRun();

    void redrawFromSent();
    std::string &display(int code);

    View m_view;
    Variables m_vars;
    std::vector<std::string> m_sent;
    std::vector<std::string> m_failed;
    std::vector<MessageBox> m_boxes;
    bool m_writesFail = false;
    std::string m_writeError;
    bool m_ended = false;
};

} // namespace mq7410::model
