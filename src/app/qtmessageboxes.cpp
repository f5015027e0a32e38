#include "qtmessageboxes.h"

#include <QMessageBox>

namespace mq7410 {

Answer QtMessageBoxes::show(const Message &message)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(QString::fromStdString(message.title));
    box.setText(QString::fromStdString(message.prompt));
    box.setInformativeText(QString::fromStdString(message.details));
    switch (message.kind) {
    case MessageKind::Question:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case MessageKind::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    if (message.kind != MessageKind::Question)
        box.setStandardButtons(QMessageBox::Ok);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Ok;
    }
}

} // namespace mq7410
