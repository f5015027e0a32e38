// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "messages.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace mq7410 {

// The box of a message, built but not yet shown.
std::unique_ptr<QMessageBox> makeMessageBox(const Message &message, QWidget *parent);

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
