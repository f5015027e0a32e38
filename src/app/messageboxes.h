#pragma once

// Every message the program shows goes through this seam, so that tests answer the boxes
// themselves and never block on a dialog.

#include <QString>

namespace mq7410 {

// Buttons and icon of a box, by the flags the program has always used.
enum class BoxKind {
    OkStop = 16,        // OK, stop icon
    YesNoQuestion = 36, // Yes (default) and No, question icon
    OkExclamation = 48, // OK, exclamation icon
    OkInformation = 64, // OK, information icon
};

enum class BoxAnswer { Ok = 1, Yes = 6, No = 7 };

struct BoxRequest
{
    QString prompt;
    QString title;
    BoxKind kind = BoxKind::OkInformation;
    QString details; // shown under the prompt, in a smaller font; may be empty
};

class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    // Shows the box modally and returns the button the user chose.
    virtual BoxAnswer show(const BoxRequest &request) = 0;
};

} // namespace mq7410
