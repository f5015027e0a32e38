// SPDX-License-Identifier: GPL-3.0-or-later
// bench-chart-plan: how long the chart takes to follow an edit of the table. Planning the table
// (numbersOf, planRun, segmentsOf) and building the series' points must stay well under a
// millisecond, for the table that makes the longest run and the most changes: nine steps of
// 999999 s, every cell of every row different; once as one cycle, once repeated 100 times (the
// most cycles the chart draws). One full redraw of the chart window, off screen, is timed too,
// for information.
//
//   bench-chart-plan [--rounds N] [--redraws N]

#include "chartseries.h"
#include "sequencechart.h"

#include "doubles.h"
#include "settings.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Steady = std::chrono::steady_clock;

constexpr double BudgetUs = 1000;

std::int64_t nsSince(Steady::time_point start)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Steady::now() - start).count();
}

struct Figures
{
    double p50Us = 0;
    double p99Us = 0;
    double maxUs = 0;
};

// Nearest-rank percentiles.
Figures figuresOf(std::vector<std::int64_t> ns)
{
    std::sort(ns.begin(), ns.end());
    const auto rank = [&ns](double share) {
        const auto index = std::size_t(std::ceil(share * double(ns.size()))) - 1;
        return double(ns[std::min(index, ns.size() - 1)]) / 1000.0;
    };
    return {rank(0.50), rank(0.99), double(ns.back()) / 1000.0};
}

void print(const char *what, const Figures &figures, std::size_t rounds)
{
    std::printf("%-44s median %9.2f us   p99 %9.2f us   max %9.2f us   (%zu rounds)\n", what,
                figures.p50Us, figures.p99Us, figures.maxUs, rounds);
}

int option(const QStringList &arguments, const QString &name, int fallback)
{
    const qsizetype at = arguments.indexOf(name);
    if (at < 0)
        return fallback;
    bool ok = false;
    const int value = arguments.value(at + 1).toInt(&ok);
    if (!ok || value < 1) {
        std::fprintf(stderr, "%s needs a whole number of at least 1\n", qPrintable(name));
        std::exit(2);
    }
    return value;
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).section(' ', 0, 2)
                                          : QStringLiteral("unknown");
}

// Nine steps of 999999 s; every row's four cells differ from every other row's, so each frame
// moves all four lines.
mq7410::SequenceTexts worstTable(int cycles)
{
    using namespace mq7410;
    SequenceTexts texts = SequenceTexts::initial();
    texts.repeat = cycles;
    texts.times.fill("999999");
    for (int row = 0; row < RowCount; ++row) {
        texts.value(row, SetPoint::Ch1Voltage) = QString::number(31.99 - row * 3.1).toStdString();
        texts.value(row, SetPoint::Ch1Current) = QString::number(0.123 + row * 0.3).toStdString();
        texts.value(row, SetPoint::Ch2Voltage) = QString::number(1.01 + row * 3.3).toStdString();
        texts.value(row, SetPoint::Ch2Current) = QString::number(2.999 - row * 0.29).toStdString();
    }
    return texts;
}

// The chart's own plan of a table: every cycle it draws.
std::vector<mq7410::PlanSegment> planOf(const mq7410::SequenceTexts &table)
{
    using namespace mq7410;
    const SequenceNumbers numbers = numbersOf(table);
    return segmentsOf(planRun(numbers.seconds, numbers.cycles), numbers,
                      SequenceChart::MaxCyclesDrawn);
}

// Times the plan and the points of `table` over `rounds`, then `redraws` redraws of the chart
// window; true when plan and points stay within the budget.
bool measure(const mq7410::SequenceTexts &table, const char *name, int rounds, int redraws)
{
    using namespace mq7410;
    std::vector<std::int64_t> planNs;
    std::vector<std::int64_t> seriesNs;
    std::vector<std::int64_t> bothNs;
    planNs.reserve(std::size_t(rounds));
    seriesNs.reserve(std::size_t(rounds));
    bothNs.reserve(std::size_t(rounds));
    volatile double sink = 0; // keeps the work from being optimised away
    for (int round = 0; round < rounds; ++round) {
        const auto start = Steady::now();
        const std::vector<PlanSegment> segments = planOf(table);
        const std::int64_t planned = nsSince(start);
        const auto built = Steady::now();
        const ChartSeries time = chartSeriesOf(segments, ChartScale::Time);
        const ChartSeries steps = chartSeriesOf(segments, ChartScale::Steps);
        seriesNs.push_back(nsSince(built));
        bothNs.push_back(nsSince(start));
        planNs.push_back(planned);
        sink = sink + time.ch2A.back().x() + steps.ch1V.back().y();
    }
    const Figures both = figuresOf(bothNs);
    std::printf("\ntable: %s (%d points a line)\n", name,
                int(chartSeriesOf(planOf(table), ChartScale::Time).ch1V.size()));
    print("plan: numbersOf + planRun + segmentsOf", figuresOf(planNs), planNs.size());
    print("points: chartSeriesOf, both scales", figuresOf(seriesNs), seriesNs.size());
    print("plan + points", both, bothNs.size());

    // A redraw as the window makes it when the scale changes: series, axes, and the paint.
    QTemporaryDir settingsDir;
    Settings settings(settingsDir.filePath(QStringLiteral("mq7410.conf")));
    test::ScriptedBoxes boxes;
    SequenceChart chart(settings, boxes);
    chart.show();
    chart.showSequence(table, std::nullopt);
    auto *scale = chart.findChild<QComboBox *>(QStringLiteral("ChartScale"));
    std::vector<std::int64_t> redrawNs;
    for (int round = 0; round < redraws; ++round) {
        const auto start = Steady::now();
        scale->setCurrentIndex(1 - scale->currentIndex());
        sink = sink + chart.grab().width();
        redrawNs.push_back(nsSince(start));
    }
    const QByteArray size = QStringLiteral("full redraw at %1x%2, off screen")
                                    .arg(chart.width())
                                    .arg(chart.height())
                                    .toLatin1();
    print(size.constData(), figuresOf(redrawNs), redrawNs.size());
    // What a run's tick costs while the chart is open: the cursor moves, the chart is painted.
    std::vector<std::int64_t> paintNs;
    for (int round = 0; round < redraws; ++round) {
        const auto start = Steady::now();
        sink = sink + chart.grab().width();
        paintNs.push_back(nsSince(start));
    }
    print("paint alone, nothing changed", figuresOf(paintNs), paintNs.size());

    const bool met = both.p99Us < BudgetUs;
    std::printf("plan + points p99 %.2f us: %s the %.0f us budget\n", both.p99Us,
                met ? "within" : "OVER", BudgetUs);
    return met;
}

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int rounds = option(arguments, QStringLiteral("--rounds"), 20000);
    const int redraws = option(arguments, QStringLiteral("--redraws"), 50);

    std::printf("bench-chart-plan, %s\ncommand: %s\n",
                qPrintable(QDateTime::currentDateTime().toString(Qt::ISODate)),
                qPrintable(arguments.join(' ')));
    std::printf("machine: %d cores, load average %s, platform %s\n", QThread::idealThreadCount(),
                qPrintable(loadAverage()), qPrintable(QGuiApplication::platformName()));
    const bool oneCycle = measure(worstTable(1), "nine steps of 999999 s, every cell different",
                                  rounds, redraws);
    const bool manyCycles = measure(worstTable(mq7410::SequenceChart::MaxCyclesDrawn),
                                    "the same, 100 cycles", rounds, redraws);
    return oneCycle && manyCycles ? 0 : 1;
}
