// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window is laid out by absolute places in twips. The fonts available here are wider than
// the ones the places were drawn for, so the whole layout is scaled by one factor, the smallest
// that lets every caption fit its control; grouping and order on screen stay as drawn.

#include "geometry.h"

#include <QPointer>
#include <QSize>
#include <QWidget>

#include <vector>

namespace mq7410 {

class TwipsLayout
{
public:
    void place(QWidget *widget, Geometry::Twips twips);

    // The smallest scale (at least 1) at which every placed control shows its caption whole.
    double fittingScale() const;
    void apply(double scale);
    int toPixels(int twips) const;

private:
    struct Placement
    {
        QPointer<QWidget> widget;
        Geometry::Twips twips{};
    };
    std::vector<Placement> m_placements;
    double m_scale = 1.0;
};

// A new control of the panels: Widget(caption, parent), named and placed.
template<typename Widget>
Widget *makePlaced(QWidget *parent, const QString &name, const QString &caption,
                   TwipsLayout &layout, Geometry::Twips twips)
{
    auto *widget = new Widget(caption, parent);
    widget->setObjectName(name);
    layout.place(widget, twips);
    return widget;
}

// The size a control needs to show its caption or text whole, in device-independent pixels.
QSize captionNeed(const QWidget *widget);

} // namespace mq7410
