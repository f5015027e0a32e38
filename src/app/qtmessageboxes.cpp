// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtmessageboxes.h"

#include <QLabel>

namespace mq7410 {

std::unique_ptr<QMessageBox> makeMessageBox(const Message &message, QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(QString::fromStdString(message.title));
    // File names and the system's words come from outside: never markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(QString::fromStdString(message.prompt));
    box->setInformativeText(QString::fromStdString(message.details));
    for (QLabel *label : box->findChildren<QLabel *>()) // the informative text's label too
        label->setTextFormat(Qt::PlainText);
    box->setStandardButtons(QMessageBox::Ok);
    switch (message.kind) {
    case MessageKind::Question:
        box->setIcon(QMessageBox::Question);
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        break;
    case MessageKind::Unsaved:
        box->setIcon(QMessageBox::Warning);
        box->setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Save);
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
    case QMessageBox::Save:
        return Answer::Save;
    case QMessageBox::Discard:
        return Answer::Discard;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return Answer::Ok;
    }
}

} // namespace mq7410
