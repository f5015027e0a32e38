#include "qtmessageboxes.h"

namespace mq7410 {

std::unique_ptr<QMessageBox> makeMessageBox(const Message &message, QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(QString::fromStdString(message.title));
    box->setText(QString::fromStdString(message.prompt));
    box->setInformativeText(QString::fromStdString(message.details));
    switch (message.kind) {
    case MessageKind::Question:
        box->setIcon(QMessageBox::Question);
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        break;
    case MessageKind::Stop:
        box->setIcon(QMessageBox::Critical);
        break;
    case MessageKind::Warning:
        box->setIcon(QMessageBox::Warning);
        break;
    case MessageKind::Information:
        box->setIcon(QMessageBox::Information);
        break;
    }
    if (message.kind != MessageKind::Question)
        box->setStandardButtons(QMessageBox::Ok);
    return box;
}

Answer QtMessageBoxes::show(const Message &message)
{
    const std::unique_ptr<QMessageBox> box = makeMessageBox(message, m_parent);
    switch (box->exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Ok;
    }
}

} // namespace mq7410
