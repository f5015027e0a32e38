// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every place of the window, in twips (1/1440 inch; 15 twips are one pixel at 96 dpi), as
// left, top, width, height inside the control's container. TwipsLayout turns them into pixels.

namespace mq7410::Geometry {

struct Twips
{
    int left;
    int top;
    int width;
    int height;
};

constexpr int TwipsPerPixel = 15;
constexpr int ClientWidth = 11340;
constexpr int ClientHeight = 4965;

constexpr Twips Panel{120, 120, 11055, 4695}; // Control and Sequence share it

// Manual panel
constexpr Twips SerialCommand{120, 2040, 615, 615};
constexpr Twips OutputCommand{120, 3120, 615, 615};
constexpr Twips Channel2{1800, 240, 495, 375};
constexpr Twips SerialLabel{2400, 240, 2295, 375};
constexpr Twips Channel1{4800, 240, 495, 375};
constexpr Twips CH2V{960, 720, 2055, 855};
constexpr Twips CH2I{960, 1800, 2055, 855};
constexpr Twips VUnit{3240, 720, 495, 855};
constexpr Twips IUnit{3240, 1800, 495, 855};
constexpr Twips CH1V{3960, 720, 2055, 855};
constexpr Twips CH1I{3960, 1800, 2055, 855};
constexpr Twips ChannelFrame{960, 3000, 5055, 735};
// The user's limit ("≤ 5.00 V"), right under each display.
constexpr Twips CH2VLimit{960, 1575, 2055, 225};
constexpr Twips CH2ILimit{960, 2655, 2055, 285};
constexpr Twips CH1VLimit{3960, 1575, 2055, 225};
constexpr Twips CH1ILimit{3960, 2655, 2055, 285};
constexpr Twips CH2VOption{120, 240, 735, 375}; // inside ChannelFrame
constexpr Twips CH2AOption{1320, 240, 735, 375};
constexpr Twips CH1VOption{3000, 240, 735, 375};
constexpr Twips CH1AOption{4200, 240, 735, 375};
constexpr int SelectorLeft = 6240;
constexpr int SelectorWidth = 855;
constexpr int SelectorHeight = 735;

// Keypad: 3 columns, 4 rows; Enter spans the second and third columns of the last row.
constexpr int KeyColumns[3] = {7560, 8640, 9840};
constexpr int KeyRows[4] = {720, 1680, 2640, 3600};
constexpr int KeyWidth = 855;
constexpr int KeyHeight = 735;
constexpr int EnterWidth = 2055;
// The rows top to bottom and the selector buttons share the same tops.
constexpr int SelectorTops[4] = {720, 1680, 2640, 3600};

// Auto panel
constexpr int HeadingTop = 240;
constexpr int HeadingHeight = 375;
// StepIndex, TimeL, CH1VL, CH1AL, CH2VL, CH2AL
constexpr int HeadingLefts[6] = {1800, 3000, 4200, 5280, 6360, 7440};
constexpr int HeadingWidths[6] = {855, 615, 855, 855, 855, 855};
constexpr Twips Unit{1800, 600, 6495, 255};
constexpr int FirstRowTop = 960;
constexpr int RowPitch = 360; // rows at 960, 1320, ..., 3840; the Finish row at 4200
constexpr int RowLabelLeft = 1800;
constexpr int RowLabelWidth = 735;
constexpr int RowLabelHeight = 255;
constexpr int BoxHeight = 285;
constexpr int TimeBoxLeft = 2880;
constexpr int TimeBoxWidth = 975;
constexpr int ValueBoxLefts[4] = {4200, 5280, 6360, 7440}; // CH1 V, CH1 A, CH2 V, CH2 A
constexpr int ValueBoxWidth = 735;
constexpr Twips CancelCommand{9120, 1080, 1455, 375};
constexpr Twips Start{9120, 2400, 1455, 375};
// The repeat count, under Start, clear of the table.
constexpr Twips RepeatL{9120, 3120, 1455, 255};
constexpr Twips RepeatCount{9120, 3420, 1455, 315};

} // namespace mq7410::Geometry
