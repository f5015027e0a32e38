#include "qtmessageboxes.h"

#include <QMessageBox>

namespace mq7410 {

BoxAnswer QtMessageBoxes::show(const BoxRequest &request)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(request.title);
    box.setText(request.prompt);
    box.setInformativeText(request.details);
    switch (request.kind) {
    case BoxKind::YesNoQuestion:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case BoxKind::OkStop:
        box.setIcon(QMessageBox::Critical);
        break;
    case BoxKind::OkExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case BoxKind::OkInformation:
        box.setIcon(QMessageBox::Information);
        break;
    }
    if (request.kind != BoxKind::YesNoQuestion)
        box.setStandardButtons(QMessageBox::Ok);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return BoxAnswer::Yes;
    case QMessageBox::No:
        return BoxAnswer::No;
    default:
        return BoxAnswer::Ok;
    }
}

} // namespace mq7410
