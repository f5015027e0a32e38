#pragma once

// One thing a user (or the clock, or the line) does to the front panel, in a form that can be
// printed, replayed and dropped while a failing list is shrunk.

#include <string>
#include <utility>

namespace mq7410::randomtest {

enum class EventKind {
    Click, // target: model::Control; a hidden control is clicked where it would stand
    MenuAuto,
    MenuAbout,
    Type,        // target: box; text typed key by key; flag: select all first
    Paste,       // target: box; text pasted; flag: select all first
    Key,         // target: KeyId; flag: held down (auto-repeat)
    Tick,        // one tick of Timer1
    WritesFail,  // flag: writes fail from now on (true) or work again (false)
    Exit,        // menu File > Exit
    CloseWindow, // the window's close button
};

// Keys of the keyboard: 0..9 the main block's digits, 10..19 the number pad's, then these.
enum KeyId { KeyReturn = 20, KeyEnter = 21 };

struct Event
{
    EventKind kind = EventKind::Tick;
    int target = 0;
    bool flag = false;
    std::string text; // UTF-8

    // The digit of a key, or -1 for Return and Enter.
    int keyDigit() const { return target < 20 ? target % 10 : -1; }
    bool endsProgram() const { return kind == EventKind::Exit || kind == EventKind::CloseWindow; }
};

inline Event makeEvent(EventKind kind, int target = 0, bool flag = false, std::string text = {})
{
    return Event{kind, target, flag, std::move(text)};
}

// One line, with the text escaped so that every character can be read.
std::string describe(const Event &event);

} // namespace mq7410::randomtest
