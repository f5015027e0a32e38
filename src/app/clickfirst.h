// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

namespace mq7410 {

// Lets a button's click reach its handler before the button is redrawn. Qt repaints a button
// at once on the mouse press and again on the release, ahead of clicked(); a button that sends
// a frame should not make the frame wait on two paints. The redraw follows as soon as the event
// has been handled.
class ClickFirst : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    void watch(QWidget *button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace mq7410
