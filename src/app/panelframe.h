// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

namespace mq7410 {

// A titled frame that draws itself only when a repaint reaches its border or title. A button
// inside repaints itself on every press and release, and the style's frame (a picture looked
// up in a cache each time) costs more than the button: it must not delay the frame on the line.
class PanelFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit PanelFrame(const QString &title, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace mq7410
