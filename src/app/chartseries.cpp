// SPDX-License-Identifier: GPL-3.0-or-later
#include "chartseries.h"

#include <algorithm>

namespace mq7410 {

double afterRunSeconds(Tick endTick)
{
    // Long enough to be seen next to a long run, and never shorter than a tick.
    return std::max(1.0, 0.05 * double(endTick));
}

ChartSeries chartSeriesOf(const std::vector<PlanSegment> &segments, ChartScale scale)
{
    ChartSeries series;
    const auto count = qsizetype(segments.size());
    series.edges.reserve(count + 1);
    for (QList<QPointF> *line : {&series.ch1V, &series.ch1A, &series.ch2V, &series.ch2A})
        line->reserve(2 * count);

    for (qsizetype i = 0; i < count; ++i) {
        const PlanSegment &segment = segments[std::size_t(i)];
        const bool last = i == count - 1;
        auto from = double(i);
        auto to = double(i + 1);
        if (scale == ChartScale::Time) {
            from = double(segment.startTick);
            to = isRunEnd(segment) ? from + afterRunSeconds(segment.startTick)
                                   : double(segment.endTick);
        }
        series.edges.append(from);
        if (last)
            series.edges.append(to);
        const auto hold = [from, to, &segment](QList<QPointF> &line, SetPoint setPoint) {
            const double value = unitsOf(setPoint, valueOf(segment.values, setPoint));
            line.append({from, value});
            line.append({to, value});
        };
        hold(series.ch1V, SetPoint::Ch1Voltage);
        hold(series.ch1A, SetPoint::Ch1Current);
        hold(series.ch2V, SetPoint::Ch2Voltage);
        hold(series.ch2A, SetPoint::Ch2Current);
    }
    return series;
}

double xOfTick(const std::vector<PlanSegment> &segments, ChartScale scale, Tick tick)
{
    if (segments.empty())
        return 0;
    if (scale == ChartScale::Time)
        return double(std::clamp<Tick>(tick, 0, drawnEndTick(segments)));
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const PlanSegment &segment = segments[i];
        if (tick < segment.endTick) {
            const double into = double(std::max<Tick>(0, tick - segment.startTick));
            return double(i) + into / double(segment.endTick - segment.startTick);
        }
    }
    return double(isRunEnd(segments.back()) ? segments.size() - 1 : segments.size());
}

QString segmentName(const PlanSegment &segment)
{
    if (!isRunEnd(segment))
        return QString::number(segment.row);
    // Short enough to fit over the stretch drawn past the run.
    return segment.row == FinishRow ? QStringLiteral("F") : QStringLiteral("end");
}

} // namespace mq7410
