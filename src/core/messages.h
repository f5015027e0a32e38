// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The modal boxes the program shows, as texts and kinds. A front end shows them; tests answer
// them from a script.

#include "failure.h"

#include <string>

namespace mq7410 {

enum class MessageKind {
    Question,    // Yes (the default) and No, question icon
    Stop,        // OK, stop icon
    Warning,     // OK, exclamation icon
    Information, // OK, information icon
    Unsaved,     // Save (the default), Discard and Cancel, warning icon
};

enum class Answer { Ok, Yes, No, Save, Discard, Cancel };

struct Message
{
    MessageKind kind = MessageKind::Information;
    std::string title;
    std::string prompt;
    std::string details; // shown apart, in a smaller font; may be empty

    bool operator==(const Message &) const = default;
};

class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    // Shows the box and returns the button the user chose.
    virtual Answer show(const Message &message) = 0;
};

inline constexpr const char *SerialErrorTitle = "! RS-232 ERROR !";

// The box of an action that was refused: the line's title when it refused a frame, else
// `title`, the action's.
inline Message refusalMessage(const Failure &failure, const std::string &title)
{
    return {MessageKind::Warning,
            failure.kind == FailureKind::Line ? SerialErrorTitle : title,
            failure.text,
            {}};
}

} // namespace mq7410
