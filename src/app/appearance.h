// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Fonts and colours of the panel's controls, by what they mean.

#include <QColor>
#include <QFont>
#include <QWidget>

namespace mq7410 {

namespace FontSizes {
constexpr double Box = 9.75;     // text boxes, row labels of the table
constexpr double Heading = 12.0; // column headings, channel titles, the series-link banner
constexpr double Display = 36.0; // the four set-point displays and the unit letters
} // namespace FontSizes

// The window was drawn in "MS Sans Serif"; any sans-serif face of the same size stands in.
QFont panelFont(double pointSize, bool bold = false);

enum class Tint {
    DisplayText,    // red figures of the four displays: what the supply holds
    TypedText,      // amber figures of a display being typed, not sent yet
    UnknownText,    // grey dashes of a display whose value the supply may not hold
    VoltageDisplay, // background of the voltage displays: dark, the menu text's colour
    CurrentDisplay, // background of the current displays: dark, the window frame's colour
    LinkBanner,     // yellow behind "=== Serial Link ==="
    IdleStep,       // a step label, the button face
    RunningStep,    // the label of the running step: red
    Error,          // status texts of a failure
};

QColor colorOf(Tint tint);
void setBackground(QWidget *widget, Tint tint);
void setForeground(QWidget *widget, Tint tint);

} // namespace mq7410
