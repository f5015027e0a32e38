#include "appearance.h"

#include "common/colors.h"

#include <QApplication>
#include <QPalette>
#include <QVariant>

namespace mq7410 {
namespace {

constexpr char BackColorProperty[] = "BackColor";
constexpr char ForeColorProperty[] = "ForeColor";

QColor systemColor(std::uint32_t index, const QPalette &palette)
{
    switch (index) {
    case Colors::WindowFrame - Colors::SystemFlag:
        return palette.color(QPalette::Text); // dark on a standard scheme, like the frame
    case Colors::MenuText - Colors::SystemFlag:
        return palette.color(QPalette::WindowText);
    case Colors::ButtonFace - Colors::SystemFlag:
        return palette.color(QPalette::Button);
    default:
        return palette.color(QPalette::Window);
    }
}

} // namespace

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

QColor toQColor(std::uint32_t stored, const QPalette &palette)
{
    if (stored & Colors::SystemFlag)
        return systemColor(stored & ~Colors::SystemFlag, palette);
    return {int(stored & 0xFF), int((stored >> 8) & 0xFF), int((stored >> 16) & 0xFF)};
}

void setBackColor(QWidget *widget, std::uint32_t stored)
{
    widget->setProperty(BackColorProperty, QVariant::fromValue(stored));
    QPalette palette = widget->palette();
    palette.setColor(widget->backgroundRole(), toQColor(stored, QApplication::palette()));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setForeColor(QWidget *widget, std::uint32_t stored)
{
    widget->setProperty(ForeColorProperty, QVariant::fromValue(stored));
    QPalette palette = widget->palette();
    palette.setColor(widget->foregroundRole(), toQColor(stored, QApplication::palette()));
    widget->setPalette(palette);
}

std::uint32_t backColor(const QWidget *widget)
{
    return widget->property(BackColorProperty).value<std::uint32_t>();
}

std::uint32_t foreColor(const QWidget *widget)
{
    return widget->property(ForeColorProperty).value<std::uint32_t>();
}

} // namespace mq7410
