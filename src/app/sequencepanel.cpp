// SPDX-License-Identifier: GPL-3.0-or-later
#include "sequencepanel.h"

#include "appearance.h"
#include "panelframe.h"
#include "tablebox.h"
#include "twipslayout.h"

namespace mq7410 {

const char *const UnitCaption = "  Num:              (1~999999) s          (0~32) V           "
                                "(0~3) A           (0~32) V           (0~3) A";

namespace {

using Geometry::Twips;

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &caption, TwipsLayout &layout,
                  Twips twips, double pointSize)
{
    auto *label = makePlaced<QLabel>(parent, name, caption, layout, twips);
    label->setFont(panelFont(pointSize));
    return label;
}

TableBox *makeBox(QWidget *parent, const QString &name, const QString &accessibleName,
                  TwipsLayout &layout, Twips twips)
{
    auto *box = makePlaced<TableBox>(parent, name, QStringLiteral("0"), layout, twips);
    box->setFont(panelFont(FontSizes::Box));
    box->setAccessibleName(accessibleName);
    return box;
}

// What a screen reader says for each box: its step, quantity and unit. Step k's time box stands
// on the line of step k + 1, so it says which step it comes before.
QString timeBoxName(int step)
{
    const QString next = step == StepCount ? QStringLiteral("finish")
                                           : QStringLiteral("step %1").arg(step + 1);
    return QStringLiteral("Step %1 time, seconds, before %2").arg(step).arg(next);
}

QString valueBoxName(int row, SetPoint setPoint)
{
    static const char *const Quantities[SetPointCount]
            = {"CH1 voltage, volts", "CH1 current, amperes", "CH2 voltage, volts",
               "CH2 current, amperes"};
    const QString line
            = row == FinishRow ? QStringLiteral("Finish") : QStringLiteral("Step %1").arg(row);
    return line + ' ' + QLatin1String(Quantities[indexOf(setPoint)]);
}

// Top of line `line`: lines 0 to 8 hold steps 1 to 9, line 9 the Finish row.
int lineTop(int line)
{
    return Geometry::FirstRowTop + line * Geometry::RowPitch;
}

// The line of StepTable row r: step r on line r - 1, the Finish row (row 0) on the last line.
int lineOfRow(int row)
{
    return row == FinishRow ? RowCount - 1 : row - 1;
}

const char *const HeadingNames[6] = {"StepIndex", "TimeL", "CH1VL", "CH1AL", "CH2VL", "CH2AL"};
const char *const HeadingCaptions[6] = {"Step:", "Time:", "CH1 V:", "CH1 A:", "CH2 V:", "CH2 A:"};
const char *const ColumnNames[4] = {"CH1V", "CH1I", "CH2V", "CH2I"};

void buildHeadings(SequencePanel &panel, TwipsLayout &layout)
{
    using namespace Geometry;
    std::array<QLabel *, 6> headings{};
    for (int i = 0; i < 6; ++i) {
        headings[i] = makeLabel(panel.Sequence, QLatin1String(HeadingNames[i]),
                                QLatin1String(HeadingCaptions[i]), layout,
                                {HeadingLefts[i], HeadingTop, HeadingWidths[i], HeadingHeight},
                                FontSizes::Heading);
    }
    panel.StepIndex = headings[0];
    panel.TimeL = headings[1];
    panel.CH1VL = headings[2];
    panel.CH1AL = headings[3];
    panel.CH2VL = headings[4];
    panel.CH2AL = headings[5];

    panel.Unit = makePlaced<QLabel>(panel.Sequence, QStringLiteral("Unit"),
                                    QLatin1String(UnitCaption), layout, Geometry::Unit);
}

void buildRows(SequencePanel &panel, TwipsLayout &layout)
{
    using namespace Geometry;
    for (int step = 1; step <= 9; ++step) {
        QLabel *label = makeLabel(panel.Sequence, QStringLiteral("Step%1").arg(step),
                                  QStringLiteral("Step %1:").arg(step), layout,
                                  {RowLabelLeft, lineTop(step - 1), RowLabelWidth, RowLabelHeight},
                                  FontSizes::Box);
        setBackground(label, Tint::IdleStep);
        panel.stepLabels[step - 1] = label;
    }
    panel.Finish
            = makeLabel(panel.Sequence, QStringLiteral("Finish"), QStringLiteral("Finish:"), layout,
                        {RowLabelLeft, lineTop(9), RowLabelWidth, RowLabelHeight}, FontSizes::Box);

    for (int step = 1; step <= StepCount; ++step) {
        panel.timeBoxes[step - 1]
                = makeBox(panel.Sequence, QStringLiteral("Time%1").arg(step), timeBoxName(step),
                          layout, {TimeBoxLeft, lineTop(step), TimeBoxWidth, BoxHeight});
    }
    for (int row = 0; row < RowCount; ++row) {
        for (const SetPoint setPoint : AllSetPoints) {
            const int column = indexOf(setPoint);
            const QString name = QLatin1String(ColumnNames[column]) + QString::number(row + 1);
            panel.valueBoxes[row][column] = makeBox(
                    panel.Sequence, name, valueBoxName(row, setPoint), layout,
                    {ValueBoxLefts[column], lineTop(lineOfRow(row)), ValueBoxWidth, BoxHeight});
        }
    }
}

// Time1, step 1's boxes, Time2, step 2's boxes, ..., Cancel, Start; the Finish row's boxes last.
void setTabOrder(const SequencePanel &panel)
{
    std::vector<QWidget *> chain;
    for (int step = 1; step <= 9; ++step) {
        chain.push_back(panel.timeBoxes[step - 1]);
        for (TableBox *box : panel.valueBoxes[step])
            chain.push_back(box);
    }
    chain.push_back(panel.CancelCommand);
    chain.push_back(panel.Start);
    chain.push_back(panel.RepeatCount);
    for (TableBox *box : panel.valueBoxes[FinishRow])
        chain.push_back(box);
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

} // namespace

SequencePanel buildSequencePanel(QWidget *parent, TwipsLayout &layout)
{
    SequencePanel panel;
    panel.Sequence
            = makePlaced<PanelFrame>(parent, QStringLiteral("Sequence"),
                                     QStringLiteral("Auto Sequence List"), layout, Geometry::Panel);

    buildHeadings(panel, layout);
    buildRows(panel, layout);

    panel.CancelCommand
            = makePlaced<QPushButton>(panel.Sequence, QStringLiteral("CancelCommand"),
                                      QStringLiteral("Cancel"), layout, Geometry::CancelCommand);
    panel.Start = makePlaced<QPushButton>(panel.Sequence, QStringLiteral("Start"),
                                          QStringLiteral("Start"), layout, Geometry::Start);

    panel.RepeatL = makePlaced<QLabel>(panel.Sequence, QStringLiteral("RepeatL"),
                                       QStringLiteral("&Repeat:"), layout, Geometry::RepeatL);
    panel.RepeatCount = new QSpinBox(panel.Sequence);
    panel.RepeatCount->setObjectName(QStringLiteral("RepeatCount"));
    layout.place(panel.RepeatCount, Geometry::RepeatCount);
    panel.RepeatCount->setRange(UntilStop, MaxRepeat);
    panel.RepeatCount->setValue(1);
    panel.RepeatCount->setSpecialValueText(QStringLiteral("until Stop"));
    panel.RepeatCount->setAccessibleName(QStringLiteral("Repeat count, cycles"));
    panel.RepeatCount->setAccessibleDescription(
            QStringLiteral("How many times a run plays the steps; 0 for until Stop"));
    panel.RepeatL->setBuddy(panel.RepeatCount);

    setTabOrder(panel);
    return panel;
}

} // namespace mq7410
