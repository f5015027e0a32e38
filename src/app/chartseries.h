// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The chart's lines, made from the run plan's segments: what the supply holds from one frame to
// the next, as points on the time scale or with every segment equally wide.

#include "runplan.h"

#include <QList>
#include <QPointF>
#include <QString>

#include <vector>

namespace mq7410 {

enum class ChartScale { Time, Steps };

struct ChartSeries
{
    // Two points per segment, at its start and at its end: a change of row is a vertical edge.
    // Volts and amperes.
    QList<QPointF> ch1V, ch1A, ch2V, ch2A;
    // Where each segment starts, then where the drawing ends.
    QList<double> edges;
};

// How long the values of the run's last frame are drawn past it, on the time scale.
double afterRunSeconds(Tick endTick);

ChartSeries chartSeriesOf(const std::vector<PlanSegment> &segments, ChartScale scale);

// A segment of no length is the run's last frame: its values are drawn on past it.
inline bool isRunEnd(const PlanSegment &segment)
{
    return segment.startTick == segment.endTick;
}

// Where the drawing's times end: the run's last frame, or the end of the one cycle drawn.
inline Tick drawnEndTick(const std::vector<PlanSegment> &segments)
{
    return isRunEnd(segments.back()) ? segments.back().startTick : segments.back().endTick;
}

// Where the run stands after `tick` ticks on the scale; from the run's end on, at its last frame.
double xOfTick(const std::vector<PlanSegment> &segments, ChartScale scale, Tick tick);

// A segment's name on the step strip: its step; after the run, "F" when the Finish row holds
// and "end" when a step of time 0 ended the run (its row holds).
QString segmentName(const PlanSegment &segment);

} // namespace mq7410
