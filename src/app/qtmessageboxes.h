#pragma once

#include "core/messages.h"

#include <QPointer>
#include <QWidget>

namespace mq7410 {

// The real boxes: QMessageBox, modal over the given window.
class QtMessageBoxes final : public MessageBoxes
{
public:
    void setParentWindow(QWidget *window) { m_parent = window; }
    Answer show(const Message &message) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace mq7410
