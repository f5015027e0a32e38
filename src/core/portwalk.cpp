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

WalkResult walkPorts(PortOpener &ports, MessageBoxes &boxes)
{
    WalkResult result;
    for (int number = FirstPort; number <= LastPort; ++number) {
        const PortTrial trial = ports.open(number);
        if (trial.device.empty())
            continue;
        if (!trial.opened) {
            result.notOffered.push_back("COM " + std::to_string(number) + " (" + trial.device
                                        + "): " + trial.reason);
            continue;
        }
        const std::string portText = std::to_string(number);
        const Message question{MessageKind::Question, WalkTitle,
                               "Find Com " + portText + ", Using it?", trial.description};
        if (boxes.show(question) == Answer::Yes) {
            boxes.show({MessageKind::Information, WalkTitle, "Using COM" + portText + ":", {}});
            result.port = number;
            return result;
        }
        if (const std::string error = ports.close(); !error.empty())
            boxes.show({MessageKind::Warning, SerialErrorTitle, error, {}});
    }
    boxes.show({MessageKind::Stop, WalkTitle, "No communication port can use!",
                joined(result.notOffered)});
    return result;
}

} // namespace mq7410
