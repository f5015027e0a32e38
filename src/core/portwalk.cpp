// SPDX-License-Identifier: GPL-3.0-or-later
#include "portwalk.h"

namespace mq7410 {
namespace {

constexpr const char *WalkTitle = "Power Supply";

std::string joined(const std::vector<std::string> &lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

} // namespace

const char *stateWord(PortState state)
{
    switch (state) {
    case PortState::Free:
        return "free";
    case PortState::Held:
        return "held";
    case PortState::NoPermission:
        return "no permission";
    case PortState::Unusable:
        break;
    }
    return "unusable";
}

bool askToUse(MessageBoxes &boxes, int number, const std::string &description)
{
    const Message question{MessageKind::Question, WalkTitle,
                           "Find Com " + std::to_string(number) + ", Using it?", description};
    return boxes.show(question) == Answer::Yes;
}

WalkResult walkPorts(PortOpener &ports, MessageBoxes &boxes)
{
    WalkResult result;
    for (int number = FirstPort; number <= LastPort; ++number) {
        const PortTrial trial = ports.open(number);
        if (trial.device.empty())
            continue;
        if (!trial.opened) {
            result.notOffered.push_back("COM " + std::to_string(number) + " (" + trial.device
                                        + "): " + trial.opened.failure().text);
            continue;
        }
        if (askToUse(boxes, number, trial.description)) {
            boxes.show({MessageKind::Information,
                        WalkTitle,
                        "Using COM" + std::to_string(number) + ":",
                        {}});
            result.port = number;
            return result;
        }
        if (const Status closed = ports.close(); !closed)
            boxes.show({MessageKind::Warning, SerialErrorTitle, closed.failure().text, {}});
    }
    boxes.show({MessageKind::Stop, WalkTitle, "No communication port can use!",
                joined(result.notOffered)});
    return result;
}

} // namespace mq7410
