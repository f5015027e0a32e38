#pragma once

#include "messageboxes.h"

#include <QPointer>
#include <QWidget>

namespace mq7410 {

// The real boxes: QMessageBox, modal over the given window.
class QtMessageBoxes : public MessageBoxes
{
public:
    void setParentWindow(QWidget *window) { m_parent = window; }
    BoxAnswer show(const BoxRequest &request) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace mq7410
