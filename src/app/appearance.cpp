// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance.h"

#include <QApplication>
#include <QPalette>

namespace mq7410 {

QFont panelFont(double pointSize, bool bold)
{
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QColor colorOf(Tint tint)
{
    const QPalette palette = QApplication::palette();
    switch (tint) {
    case Tint::DisplayText:
    case Tint::RunningStep:
        return Qt::red;
    case Tint::TypedText:
        return {0xFF, 0xB0, 0x00};
    case Tint::UnknownText:
        return {0x90, 0x90, 0x90};
    case Tint::VoltageDisplay:
        return palette.color(QPalette::WindowText);
    case Tint::CurrentDisplay:
        return palette.color(QPalette::Text);
    case Tint::LinkBanner:
        return Qt::yellow;
    case Tint::IdleStep:
        return palette.color(QPalette::Button);
    case Tint::Error:
        return {0xC0, 0x00, 0x00};
    }
    return palette.color(QPalette::Window);
}

void setBackground(QWidget *widget, Tint tint)
{
    QPalette palette = widget->palette();
    palette.setColor(widget->backgroundRole(), colorOf(tint));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setForeground(QWidget *widget, Tint tint)
{
    QPalette palette = widget->palette();
    palette.setColor(widget->foregroundRole(), colorOf(tint));
    widget->setPalette(palette);
}

} // namespace mq7410
