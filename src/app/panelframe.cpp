// SPDX-License-Identifier: GPL-3.0-or-later
#include "panelframe.h"

#include <QPaintEvent>

namespace mq7410 {
namespace {

// Inside this margin of the contents nothing of the frame or its title is drawn.
constexpr int FrameMargin = 4;

} // namespace

PanelFrame::PanelFrame(const QString &title, QWidget *parent)
    : QGroupBox(title, parent)
{}

void PanelFrame::paintEvent(QPaintEvent *event)
{
    const QRect inside
            = contentsRect().adjusted(FrameMargin, FrameMargin, -FrameMargin, -FrameMargin);
    if (inside.contains(event->region().boundingRect()))
        return; // the background is the window's; the frame lies outside this area
    QGroupBox::paintEvent(event);
}

} // namespace mq7410
