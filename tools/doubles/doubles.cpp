// SPDX-License-Identifier: GPL-3.0-or-later
#include "doubles.h"

namespace mq7410::test {

Result<Delivery> RecordingLink::write(std::string_view frame)
{
    if (onWrite)
        onWrite(frame);
    if (!refuseWith.empty()) {
        refused.emplace_back(frame);
        return Failure{FailureKind::Line, refuseWith};
    }
    sent.emplace_back(frame);
    return holdBack ? Delivery::Waiting : Delivery::Sent;
}

Status RecordingLink::finishWaiting()
{
    if (holdBack)
        return Failure{FailureKind::Busy, "the line is stalled"};
    return {};
}

Answer ScriptedBoxes::show(const Message &message)
{
    shown.push_back(message);
    if (whileShown)
        whileShown(message);
    if (message.kind != MessageKind::Question && message.kind != MessageKind::Unsaved)
        return Answer::Ok;
    if (answers.empty())
        return message.kind == MessageKind::Question ? Answer::No : Answer::Cancel;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace mq7410::test
