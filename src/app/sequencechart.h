// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The chart of a sequence: what a run of the table sends, and when, drawn from the core's plan
// (every cycle while there are at most MaxCyclesDrawn, else one); during a run a cursor marks
// where it stands.

#include "chartseries.h"
#include "sidewindow.h"

#include "failure.h"
#include "frontpanel.h"
#include "messages.h"
#include "sequencetable.h"

#include <QTimer>

#include <optional>
#include <vector>

class QCategoryAxis;
class QChart;
class QChartView;
class QComboBox;
class QLineSeries;

namespace mq7410 {

class Settings;

class SequenceChart : public SideWindow
{
    Q_OBJECT
public:
    static constexpr int MaxCyclesDrawn = 100;

    SequenceChart(Settings &settings, MessageBoxes &boxes, QWidget *parent = nullptr);
    ~SequenceChart() override;

    // The table to draw, and where a run stands (nothing when none is active). Edits arrive as
    // fast as the user types; the chart follows at most a few times a second.
    void showSequence(const SequenceTexts &texts, const std::optional<RunProgress> &progress);

    // Writes the chart at the window's size: SVG for a name ending in .svg, else PNG. False
    // after nothing was written.
    Status saveImage(const QString &path);

private:
    void redrawIfChanged();
    void redraw(const SequenceNumbers &numbers);
    void placeCursor();
    void saveFromDialog();
    ChartScale scale() const;

    Settings &m_settings;
    MessageBoxes &m_boxes;
    QChart *m_chart;
    QChartView *m_view;
    QComboBox *m_scale;
    QLineSeries *m_ch1V;
    QLineSeries *m_ch1A;
    QLineSeries *m_ch2V;
    QLineSeries *m_ch2A;
    QLineSeries *m_cursor;
    QCategoryAxis *m_time;
    QCategoryAxis *m_steps;
    QTimer m_redrawTimer;
    SequenceTexts m_texts;
    std::optional<RunProgress> m_progress;
    bool m_drawn = false;
    SequenceNumbers m_drawnNumbers;
    RunPlan m_plan;
    std::vector<PlanSegment> m_segments;
};

} // namespace mq7410
