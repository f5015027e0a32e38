#include "portwalk.h"

#include "messageboxes.h"
#include "serial/portmap.h"
#include "serial/serialport.h"

namespace mq7410 {
namespace {

const QString WalkTitle = QStringLiteral("Power Supply");

bool askToUse(SerialPort &port, MessageBoxes &boxes, const QString &portText)
{
    const BoxRequest question{
            QStringLiteral("Find Com ") + portText + QStringLiteral(", Using it?"), WalkTitle,
            BoxKind::YesNoQuestion, QString::fromStdString(port.portDescription())};
    return boxes.show(question) == BoxAnswer::Yes;
}

} // namespace

std::int16_t OpenCommPort(SerialPort &port, std::int16_t number, std::string_view settings)
{
    if (!port.selectPort(number) || !port.setSettings(settings) || !port.open())
        return 0;
    return number;
}

std::int16_t CloseCommPort(SerialPort &port)
{
    return port.close();
}

int walkPorts(SerialPort &port, MessageBoxes &boxes,
              const std::function<void(std::int16_t)> &showCommError)
{
    for (std::int16_t number = firstPortNumber; number <= lastPortNumber; ++number) {
        if (OpenCommPort(port, number, LineSettings) <= 0)
            continue;
        const QString portText = QString::number(number);
        if (askToUse(port, boxes, portText)) {
            boxes.show({QStringLiteral("Using COM") + portText + QStringLiteral(":"),
                        WalkTitle,
                        BoxKind::OkInformation,
                        {}});
            return number;
        }
        if (const std::int16_t code = CloseCommPort(port); code != 0)
            showCommError(code);
    }
    boxes.show({QStringLiteral("No communication port can use!"), WalkTitle, BoxKind::OkStop, {}});
    return 0;
}

} // namespace mq7410
