#pragma once

// Fonts and stored colours of the window's controls.

#include <QFont>
#include <QWidget>

#include <cstdint>

namespace mq7410 {

namespace FontSizes {
constexpr double Box = 9.75;     // text boxes, row labels of the table
constexpr double Heading = 12.0; // column headings, channel titles, the series-link banner
constexpr double Display = 36.0; // the four set-point displays and the unit letters
} // namespace FontSizes

// The window was drawn in "MS Sans Serif"; any sans-serif face of the same size stands in.
QFont panelFont(double pointSize, bool bold = false);

// A stored colour (0x00BBGGRR, or 0x80000000 + n for system colour n) on this platform.
QColor toQColor(std::uint32_t stored, const QPalette &palette);

// Paints the widget's background or text in a stored colour and keeps the stored value
// readable with backColor() / foreColor().
void setBackColor(QWidget *widget, std::uint32_t stored);
void setForeColor(QWidget *widget, std::uint32_t stored);
std::uint32_t backColor(const QWidget *widget);
std::uint32_t foreColor(const QWidget *widget);

} // namespace mq7410
