// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The labels of the chart's two category axes: times below, at a spacing a reader can add up,
// and the step strip above, naming each step or, for many, every so many cycles.

#include "chartseries.h"

#include <QList>

#include <cstddef>
#include <vector>

class QCategoryAxis;

namespace mq7410 {

// Steps named on the strip; beyond, cycles are named.
inline constexpr std::size_t MaxStepNames = 40;

// The time axis from 0 to `xEnd` (seconds, or segments on the Steps scale), with its title.
void labelTimeAxis(QCategoryAxis &axis, const std::vector<PlanSegment> &segments, ChartScale scale,
                   double xEnd);

// The step strip: each segment's name, or a cycle's, at its end (`edges` as ChartSeries has
// them).
void nameSegments(QCategoryAxis &axis, const std::vector<PlanSegment> &segments,
                  const QList<double> &edges);

} // namespace mq7410
