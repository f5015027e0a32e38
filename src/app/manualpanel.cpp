// SPDX-License-Identifier: GPL-3.0-or-later
#include "manualpanel.h"

#include "appearance.h"
#include "panelframe.h"
#include "twipslayout.h"
#include "wrappingbutton.h"

namespace mq7410 {
namespace {

using Geometry::Twips;

constexpr char UnitProperty[] = "unit";
constexpr char RoleProperty[] = "role";

QLabel *makeDisplay(QWidget *parent, const char *name, const QString &accessibleName,
                    const char *unit, TwipsLayout &layout, Twips twips)
{
    auto *label = makePlaced<QLabel>(parent, name, QString(), layout, twips);
    label->setFont(panelFont(FontSizes::Display));
    setForeground(label, Tint::DisplayText);
    setBackground(label,
                  unit == std::string_view("V") ? Tint::VoltageDisplay : Tint::CurrentDisplay);
    label->setAccessibleName(accessibleName);
    label->setProperty(UnitProperty, QLatin1String(unit));
    showDisplay(label, unit == std::string_view("V") ? "00.00" : "0.000", DisplayRole::Held);
    return label;
}

QLabel *makeLimitNote(QWidget *parent, const char *name, const QString &accessibleName,
                      TwipsLayout &layout, Twips twips)
{
    auto *label = makePlaced<QLabel>(parent, name, QString(), layout, twips);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label->setAccessibleName(accessibleName);
    return label;
}

const char *const DigitNames[10]
        = {"ZeroCommand", "OneCommand", "TwoCommand",   "ThreeCommand", "FourCommand",
           "FiveCommand", "SixCommand", "SevenCommand", "EightCommand", "NineCommand"};

// Where each digit stands on the keypad: row and column, as on a calculator.
struct KeyPlace
{
    int row;
    int column;
};
constexpr KeyPlace DigitPlaces[10]
        = {{3, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 0}, {1, 1}, {1, 2}, {0, 0}, {0, 1}, {0, 2}};

void buildKeypad(ManualPanel &panel, TwipsLayout &layout)
{
    using namespace Geometry;
    panel.digitGroup = new QButtonGroup(panel.Control);
    for (int digit = 0; digit <= 9; ++digit) {
        const KeyPlace place = DigitPlaces[digit];
        auto *key = makePlaced<QPushButton>(
                panel.Control, DigitNames[digit], QString::number(digit), layout,
                {KeyColumns[place.column], KeyRows[place.row], KeyWidth, KeyHeight});
        panel.digitGroup->addButton(key, digit);
        panel.digitKeys[digit] = key;
    }
    panel.EnterCommand
            = makePlaced<QPushButton>(panel.Control, "EnterCommand", QStringLiteral("Enter"),
                                      layout, {KeyColumns[1], KeyRows[3], EnterWidth, KeyHeight});
}

void buildOptions(ManualPanel &panel, TwipsLayout &layout)
{
    panel.ChannelFrame = makePlaced<PanelFrame>(panel.Control, "ChannelFrame", QString(), layout,
                                                Geometry::ChannelFrame);
    QWidget *frame = panel.ChannelFrame;
    panel.CH2VOption = makePlaced<QRadioButton>(frame, "CH2VOption", QStringLiteral("CH2V"), layout,
                                                Geometry::CH2VOption);
    panel.CH2AOption = makePlaced<QRadioButton>(frame, "CH2AOption", QStringLiteral("CH2A"), layout,
                                                Geometry::CH2AOption);
    panel.CH1VOption = makePlaced<QRadioButton>(frame, "CH1VOption", QStringLiteral("CH1V"), layout,
                                                Geometry::CH1VOption);
    panel.CH1AOption = makePlaced<QRadioButton>(frame, "CH1AOption", QStringLiteral("CH1A"), layout,
                                                Geometry::CH1AOption);
    panel.CH1VOption->setChecked(true);
}

void buildSelectors(ManualPanel &panel, TwipsLayout &layout)
{
    using namespace Geometry;
    auto selector = [&](const char *name, const char *caption, int row) {
        return makePlaced<QPushButton>(
                panel.Control, name, QLatin1String(caption), layout,
                {SelectorLeft, SelectorTops[row], SelectorWidth, SelectorHeight});
    };
    panel.CH1VCommand = selector("CH1VCommand", "CH1/V", 0);
    panel.CH1ACommand = selector("CH1ACommand", "CH1/A", 1);
    panel.CH2VCommand = selector("CH2VCommand", "CH2/V", 2);
    panel.CH2ACommand = selector("CH2ACommand", "CH2/A", 3);
}

} // namespace

QLabel *ManualPanel::display(SetPoint setPoint) const
{
    const std::array<QLabel *, SetPointCount> displays{CH1V, CH1I, CH2V, CH2I};
    return displays.at(std::size_t(indexOf(setPoint)));
}

QLabel *ManualPanel::limitNote(SetPoint setPoint) const
{
    const std::array<QLabel *, SetPointCount> notes{CH1VLimit, CH1ILimit, CH2VLimit, CH2ILimit};
    return notes.at(std::size_t(indexOf(setPoint)));
}

QPushButton *ManualPanel::selector(SetPoint setPoint) const
{
    const std::array<QPushButton *, SetPointCount> selectors{CH1VCommand, CH1ACommand, CH2VCommand,
                                                             CH2ACommand};
    return selectors.at(std::size_t(indexOf(setPoint)));
}

QRadioButton *ManualPanel::option(SetPoint setPoint) const
{
    const std::array<QRadioButton *, SetPointCount> options{CH1VOption, CH1AOption, CH2VOption,
                                                            CH2AOption};
    return options.at(std::size_t(indexOf(setPoint)));
}

void showDisplay(QLabel *display, const std::string &text, DisplayRole role)
{
    const QString shown = QString::fromStdString(text);
    const int roleValue = static_cast<int>(role);
    if (display->text() == shown && display->property(RoleProperty).toInt() == roleValue)
        return;
    display->setText(shown);
    display->setProperty(RoleProperty, roleValue);
    setForeground(display, role == DisplayRole::Typed     ? Tint::TypedText
                           : role == DisplayRole::Unknown ? Tint::UnknownText
                                                          : Tint::DisplayText);
    const QString unit = display->property(UnitProperty).toString();
    display->setAccessibleDescription(
            role == DisplayRole::Typed     ? shown + ' ' + unit + ", typed, not sent"
            : role == DisplayRole::Unknown ? QStringLiteral("not known since the reconnect")
                                           : shown + ' ' + unit);
}

ManualPanel buildManualPanel(QWidget *parent, TwipsLayout &layout)
{
    ManualPanel panel;
    panel.Control = makePlaced<PanelFrame>(parent, "Control", QStringLiteral("Control"), layout,
                                           Geometry::Panel);
    QWidget *control = panel.Control;

    // Left to right, as the panel reads: switches, channel 2, units, channel 1, selectors, keys.
    panel.SerialCommand
            = makePlaced<WrappingButton>(control, "SerialCommand", QStringLiteral("Serial /Off"),
                                         layout, Geometry::SerialCommand);
    panel.OutputCommand
            = makePlaced<WrappingButton>(control, "OutputCommand", QStringLiteral("Output /Off"),
                                         layout, Geometry::OutputCommand);

    panel.Channel2 = makePlaced<QLabel>(control, "Channel2", QStringLiteral("CH2"), layout,
                                        Geometry::Channel2);
    panel.SerialLabel
            = makePlaced<QLabel>(control, "SerialLabel", QStringLiteral("=== Serial Link ==="),
                                 layout, Geometry::SerialLabel);
    panel.Channel1 = makePlaced<QLabel>(control, "Channel1", QStringLiteral("CH1"), layout,
                                        Geometry::Channel1);
    panel.Channel2->setFont(panelFont(FontSizes::Heading));
    panel.Channel1->setFont(panelFont(FontSizes::Heading));
    panel.SerialLabel->setFont(panelFont(FontSizes::Heading, true));
    setBackground(panel.SerialLabel, Tint::LinkBanner);
    panel.SerialLabel->setVisible(false);

    panel.CH2V = makeDisplay(control, "CH2V", QStringLiteral("CH2 voltage"), "V", layout,
                             Geometry::CH2V);
    panel.CH2I = makeDisplay(control, "CH2I", QStringLiteral("CH2 current"), "A", layout,
                             Geometry::CH2I);
    panel.VUnit
            = makePlaced<QLabel>(control, "VUnit", QStringLiteral("V"), layout, Geometry::VUnit);
    panel.IUnit
            = makePlaced<QLabel>(control, "IUnit", QStringLiteral("A"), layout, Geometry::IUnit);
    panel.VUnit->setFont(panelFont(FontSizes::Display));
    panel.IUnit->setFont(panelFont(FontSizes::Display));
    panel.CH1V = makeDisplay(control, "CH1V", QStringLiteral("CH1 voltage"), "V", layout,
                             Geometry::CH1V);
    panel.CH1I = makeDisplay(control, "CH1I", QStringLiteral("CH1 current"), "A", layout,
                             Geometry::CH1I);
    panel.CH2VLimit = makeLimitNote(control, "CH2VLimit", QStringLiteral("CH2 voltage limit"),
                                    layout, Geometry::CH2VLimit);
    panel.CH2ILimit = makeLimitNote(control, "CH2ILimit", QStringLiteral("CH2 current limit"),
                                    layout, Geometry::CH2ILimit);
    panel.CH1VLimit = makeLimitNote(control, "CH1VLimit", QStringLiteral("CH1 voltage limit"),
                                    layout, Geometry::CH1VLimit);
    panel.CH1ILimit = makeLimitNote(control, "CH1ILimit", QStringLiteral("CH1 current limit"),
                                    layout, Geometry::CH1ILimit);

    buildOptions(panel, layout);
    buildSelectors(panel, layout);
    buildKeypad(panel, layout);
    return panel;
}

} // namespace mq7410
