#pragma once

#include "app/messageboxes.h"

#include <deque>
#include <functional>
#include <vector>

namespace mq7410::test {

// Answers the program's boxes from a script and remembers every box it was shown.
class ScriptedBoxes : public MessageBoxes
{
public:
    BoxAnswer show(const BoxRequest &request) override;

    // Answers for the coming Yes/No questions, in order; when none is left the answer is No.
    std::deque<BoxAnswer> questionAnswers;
    std::vector<BoxRequest> shown;
    // Called while a box is up, before it is answered: what the world does meanwhile (a cable
    // pulled while the user reads the question).
    std::function<void(const BoxRequest &)> whileShown;
};

} // namespace mq7410::test
