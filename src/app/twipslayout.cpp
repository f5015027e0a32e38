// SPDX-License-Identifier: GPL-3.0-or-later
#include "twipslayout.h"

#include "elidedlabel.h"
#include "wrappingbutton.h"

#include <QAbstractSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <cmath>

namespace mq7410 {
namespace {

constexpr double ScaleStep = 0.05;

double pixels(int twips)
{
    return static_cast<double>(twips) / Geometry::TwipsPerPixel;
}

QSize pushButtonNeed(const QPushButton *button)
{
    // Like the common style's button size, without the style's minimum width for dialogs.
    const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    const int extra
            = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button)
              + 2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    return text + QSize(extra, extra);
}

} // namespace

QSize captionNeed(const QWidget *widget)
{
    if (const auto *wrapping = qobject_cast<const WrappingButton *>(widget))
        return wrapping->sizeHint();
    if (const auto *button = qobject_cast<const QPushButton *>(widget))
        return pushButtonNeed(button);
    if (const auto *edit = qobject_cast<const QLineEdit *>(widget))
        return {0, edit->sizeHint().height()};
    if (qobject_cast<const ElidedLabel *>(widget))
        return widget->minimumSizeHint(); // what does not fit ends in "…"
    if (qobject_cast<const QAbstractSpinBox *>(widget))
        return widget->sizeHint(); // its longest value, "until Stop" too
    if (qobject_cast<const QLabel *>(widget) || qobject_cast<const QRadioButton *>(widget))
        return widget->sizeHint();
    return {0, 0};
}

void TwipsLayout::place(QWidget *widget, Geometry::Twips twips)
{
    m_placements.push_back({widget, twips});
}

double TwipsLayout::fittingScale() const
{
    double needed = 1.0;
    for (const Placement &placement : m_placements) {
        if (!placement.widget)
            continue;
        const QSize need = captionNeed(placement.widget);
        needed = std::max({needed, need.width() / pixels(placement.twips.width),
                           need.height() / pixels(placement.twips.height)});
    }
    return std::ceil(needed / ScaleStep) * ScaleStep;
}

int TwipsLayout::toPixels(int twips) const
{
    return static_cast<int>(std::lround(pixels(twips) * m_scale));
}

void TwipsLayout::apply(double scale)
{
    m_scale = scale;
    for (const Placement &placement : m_placements) {
        if (!placement.widget)
            continue;
        const Geometry::Twips &t = placement.twips;
        const int left = toPixels(t.left);
        const int top = toPixels(t.top);
        placement.widget->setGeometry(left, top, toPixels(t.left + t.width) - left,
                                      toPixels(t.top + t.height) - top);
    }
}

} // namespace mq7410
