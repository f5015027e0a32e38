// The window's one way to the supply: DataTransfer, and what the user sees when it fails.

#include "uiform.h"

#include "messageboxes.h"
#include "protocol/datatransfer.h"
#include "serial/commerror.h"
#include "serial/serialport.h"

namespace mq7410 {
namespace {

const QString SerialErrorTitle = QStringLiteral("! RS-232 ERROR !");

} // namespace

bool UIForm::DataTransfer(std::int16_t selector)
{
    const std::string frame = prepareTransfer(selector, m_state, m_displays);
    showDisplays();
    if (frame.empty())
        return true;
    if (m_port.write(frame))
        return true;
    reportWriteFailure(frame);
    return false;
}

void UIForm::showDisplays()
{
    showDisplay(m_manual.CH1V, m_displays.CH1V);
    showDisplay(m_manual.CH1I, m_displays.CH1I);
    showDisplay(m_manual.CH2V, m_displays.CH2V);
    showDisplay(m_manual.CH2I, m_displays.CH2I);
}

void UIForm::reportWriteFailure(const std::string &frame)
{
    endRunAfterFailedWrite();
    const QString text = QStringLiteral("The frame %1 could not be sent to the supply.\n\n%2")
                                 .arg(QString::fromStdString(frame),
                                      QString::fromStdString(m_port.errorString()));
    m_boxes.show({text, SerialErrorTitle, BoxKind::OkExclamation, {}});
}

void UIForm::ShowCommError(std::int16_t code)
{
    m_boxes.show({QString::fromStdString(commErrorMessage(code)),
                  SerialErrorTitle,
                  BoxKind::OkExclamation,
                  {}});
}

} // namespace mq7410
