// SPDX-License-Identifier: GPL-3.0-or-later
#include "clickfirst.h"

#include <QEvent>
#include <QWidget>

namespace mq7410 {

void ClickFirst::watch(QWidget *button)
{
    button->installEventFilter(this);
}

bool ClickFirst::eventFilter(QObject *watched, QEvent *event)
{
    const bool mouseButton = event->type() == QEvent::MouseButtonPress
                             || event->type() == QEvent::MouseButtonRelease;
    auto *button = qobject_cast<QWidget *>(watched);
    if (mouseButton && button && button->updatesEnabled()) {
        button->setUpdatesEnabled(false);
        // Runs once the press or release has been handled, even inside a message box's loop.
        QMetaObject::invokeMethod(
                button, [button] { button->setUpdatesEnabled(true); }, Qt::QueuedConnection);
    }
    return false;
}

} // namespace mq7410
