#include "doubles.h"

namespace mq7410::test {

WriteResult RecordingLink::write(std::string_view frame)
{
    if (onWrite)
        onWrite(frame);
    if (!refuseWith.empty()) {
        refused.emplace_back(frame);
        return {false, refuseWith};
    }
    sent.emplace_back(frame);
    return {true, {}};
}

Answer ScriptedBoxes::show(const Message &message)
{
    shown.push_back(message);
    if (whileShown)
        whileShown(message);
    if (message.kind != MessageKind::Question)
        return Answer::Ok;
    if (answers.empty())
        return Answer::No;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace mq7410::test
