// SPDX-License-Identifier: GPL-3.0-or-later
#include "chartaxes.h"

#include "runstatus.h"

#include <QCategoryAxis>

#include <algorithm>

namespace mq7410 {
namespace {

constexpr int LongRunSeconds = 600; // longer runs count the time axis in h:mm:ss
constexpr int MaxTimeLabels = 8;

// Every how many frames the Steps scale names a time.
std::size_t labelEvery(std::size_t segments)
{
    return std::max<std::size_t>(1, segments / MaxStepNames + (segments % MaxStepNames != 0));
}

// Label spacings a reader can add up: seconds, minutes, hours, days.
int timeLabelStep(double span)
{
    static constexpr int Steps[]
            = {1,    2,    5,    10,    15,    30,    60,    120,    300,    600,   900,
               1800, 3600, 7200, 10800, 21600, 43200, 86400, 172800, 432000, 864000};
    for (const int step : Steps) {
        if (span / step <= MaxTimeLabels)
            return step;
    }
    return 1728000;
}

QString timeLabel(Tick seconds, bool longRun)
{
    return longRun ? QString::fromStdString(durationText(seconds)) : QString::number(seconds);
}

void clearCategories(QCategoryAxis &axis)
{
    const QStringList labels = axis.categoriesLabels();
    for (const QString &label : labels)
        axis.remove(label);
    axis.setStartValue(0);
}

} // namespace

void labelTimeAxis(QCategoryAxis &axis, const std::vector<PlanSegment> &segments, ChartScale scale,
                   double xEnd)
{
    const bool longRun = drawnEndTick(segments) > LongRunSeconds;
    clearCategories(axis);
    if (scale == ChartScale::Time) {
        const int step = timeLabelStep(xEnd);
        for (Tick seconds = 0; double(seconds) <= xEnd; seconds += step)
            axis.append(timeLabel(seconds, longRun), double(seconds));
    } else {
        // Equal widths say nothing of time: each frame's edge tells when it goes out.
        for (std::size_t i = 0; i < segments.size(); i += labelEvery(segments.size()))
            axis.append(timeLabel(segments[i].startTick, longRun), double(i));
    }
    axis.setTitleText(QStringLiteral("Time from Start (%1)%2")
                              .arg(longRun ? QStringLiteral("h:mm:ss") : QStringLiteral("s"),
                                   scale == ChartScale::Steps
                                           ? QStringLiteral(" at each frame; steps drawn "
                                                            "equally wide")
                                           : QString()));
}

void nameSegments(QCategoryAxis &axis, const std::vector<PlanSegment> &segments,
                  const QList<double> &edges)
{
    clearCategories(axis);
    // Every step while they can be read, else every so many cycles.
    const std::size_t count = segments.size();
    if (count <= MaxStepNames) {
        for (std::size_t i = 0; i < count; ++i)
            axis.append(segmentName(segments[i]), edges.at(qsizetype(i) + 1));
        return;
    }
    const int names = int(MaxStepNames);
    const int every = std::max(1, (segments.back().cycle + names - 1) / names);
    for (std::size_t i = 0; i < count; ++i) {
        const PlanSegment &segment = segments[i];
        // The run's last frame belongs to the last cycle: that cycle ends before it.
        const bool cycleEnd = i + 1 == count || segments[i + 1].cycle != segment.cycle
                              || isRunEnd(segments[i + 1]);
        if (isRunEnd(segment))
            axis.append(segmentName(segment), edges.at(qsizetype(i) + 1));
        else if (cycleEnd && segment.cycle % every == 0)
            axis.append(QStringLiteral("C%1").arg(segment.cycle), edges.at(qsizetype(i) + 1));
    }
}

} // namespace mq7410
