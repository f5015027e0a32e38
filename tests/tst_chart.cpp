// SPDX-License-Identifier: GPL-3.0-or-later
// The sequence chart: its lines against the run plan on both scales, and the window that draws
// them (the throttled redraw, runs of many cycles, the run's cursor, its keys, the remembered
// scale, the saved images).

#include "chartseries.h"
#include "doubles.h"
#include "sequencechart.h"
#include "settings.h"

#include <QCategoryAxis>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScopeGuard>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>

#include <sys/mount.h>

using namespace mq7410;
using namespace mq7410::test;
using Edges = QList<double>;
using Rows = QList<int>;

namespace {

const QStringList LineNames{"CH1 V (solid)", "CH1 A (dashed)", "CH2 V (solid)", "CH2 A (dashed)"};

// Row r holds CH1 r V and r / 10 A, CH2 32 - r V and 3 - r / 10 A: rows differ in every cell.
double cellOf(int row, SetPoint setPoint)
{
    const double rising = isVoltage(setPoint) ? row : row / 10.0;
    return channelOf(setPoint) == 1 ? rising : (isVoltage(setPoint) ? 32 : 3) - rising;
}

// Step k lasts times[k - 1]; the run plays `repeat` cycles.
SequenceTexts tableOf(const QStringList &times, int repeat = 1)
{
    SequenceTexts texts = SequenceTexts::initial();
    for (int step = 1; step <= StepCount; ++step)
        texts.time(step) = times.value(step - 1, QStringLiteral("0")).toStdString();
    for (int row = 0; row < RowCount; ++row) {
        for (const SetPoint setPoint : AllSetPoints)
            texts.value(row, setPoint) = QString::number(cellOf(row, setPoint)).toStdString();
    }
    texts.repeat = repeat;
    return texts;
}

std::vector<PlanSegment> segmentsOf(const SequenceTexts &texts)
{
    const SequenceNumbers numbers = numbersOf(texts);
    return segmentsOf(planRun(numbers.seconds, numbers.cycles), numbers, numbers.cycles);
}

QList<QList<QPointF>> linesOf(const ChartSeries &series)
{
    return {series.ch1V, series.ch1A, series.ch2V, series.ch2A};
}

// What the window draws: a named line's points, none while it is hidden.
QList<QPointF> pointsOf(const SequenceChart &chart, const QString &objectName)
{
    const auto *line = chart.findChild<QChartView *>()->chart()->findChild<QLineSeries *>(
            objectName, Qt::FindChildrenRecursively);
    return line && line->isVisible() ? line->points() : QList<QPointF>();
}

QList<QList<QPointF>> drawnLines(const SequenceChart &chart)
{
    QList<QList<QPointF>> lines;
    for (const QString &name : LineNames)
        lines << pointsOf(chart, name);
    return lines;
}

QAbstractAxis *axisAt(const SequenceChart &chart, Qt::Alignment alignment)
{
    for (QAbstractAxis *axis : chart.findChild<QChartView *>()->chart()->axes()) {
        if (axis->alignment() == alignment)
            return axis;
    }
    return nullptr;
}

QList<QPointF> cursorAt(double x)
{
    return {{x, 0}, {x, 32}};
}

// A chart with its settings in a folder of its own.
struct Bench
{
    QTemporaryDir dir;
    Settings settings{dir.filePath(QStringLiteral("settings.conf"))};
    ScriptedBoxes boxes;
    SequenceChart chart{settings, boxes};
};

} // namespace

class TestChart : public QObject
{
    Q_OBJECT
private slots:
    void seriesFollowThePlan_data()
    {
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<Edges>("timeEdges"); // each frame, then the end of the drawing
        QTest::addColumn<Rows>("rows");       // held from each frame on
        QTest::newRow("start-up: step 1 one tick, row 2 holds")
                << QStringList() << Edges{0, 1, 2} << Rows{1, 2};
        QTest::newRow("3, 2, 0: step 3 of 0 ends the run")
                << QStringList{"3", "2"} << Edges{0, 4, 7, 8} << Rows{1, 2, 3};
        QTest::newRow("step 9 of 0: its row, not Finish")
                << QStringList(8, QStringLiteral("1")) << Edges{0, 2, 4, 6, 8, 10, 12, 14, 16, 17}
                << Rows{1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("nine of 999999 s: Finish drawn 5 % past")
                << QStringList(9, QStringLiteral("999999"))
                << Edges{0, 1e6, 2e6, 3e6, 4e6, 5e6, 6e6, 7e6, 8e6, 9e6, 9.45e6}
                << Rows{1, 2, 3, 4, 5, 6, 7, 8, 9, 0};
    }

    void seriesFollowThePlan()
    {
        QFETCH(QStringList, times);
        QFETCH(Edges, timeEdges);
        QFETCH(Rows, rows);
        const std::vector<PlanSegment> segments = segmentsOf(tableOf(times));
        // The strip names each segment by its row; the last one "F" or, after a step of time 0,
        // "end".
        QCOMPARE(segmentName(segments.front()), QStringLiteral("1"));
        QCOMPARE(segmentName(segments.back()), rows.last() == FinishRow ? "F" : "end");
        for (const ChartScale scale : {ChartScale::Time, ChartScale::Steps}) {
            Edges edges = timeEdges;
            if (scale == ChartScale::Steps)
                std::iota(edges.begin(), edges.end(), 0.0);
            const ChartSeries series = chartSeriesOf(segments, scale);
            QCOMPARE(series.edges, edges);
            for (const SetPoint setPoint : AllSetPoints) {
                // Flat from each frame to the next; a vertical edge where the row changes.
                QList<QPointF> expected;
                for (qsizetype i = 0; i < rows.size(); ++i)
                    expected << QPointF(edges[i], cellOf(rows[i], setPoint))
                             << QPointF(edges[i + 1], cellOf(rows[i], setPoint));
                QCOMPARE(linesOf(series).at(indexOf(setPoint)), expected);
            }
        }
    }

    void windowDrawsThePlanAndTheRun()
    {
        Bench bench;
        SequenceChart &chart = bench.chart;
        chart.showSequence(SequenceTexts::initial(), std::nullopt);
        const auto initial = linesOf(chartSeriesOf(segmentsOf(SequenceTexts::initial()), {}));
        QCOMPARE(drawnLines(chart), initial);
        QStringList legend; // the currents are dashed: the legend says so, not only the colour
        for (QLegendMarker *marker : chart.findChild<QChartView *>()->chart()->legend()->markers())
            legend << marker->label();
        QCOMPARE(legend.first(4), LineNames);
        // The value axes span what the supply can hold: a step at 0 V or 32 V sits on an edge.
        for (const auto &[alignment, top] :
             {std::pair{Qt::AlignLeft, 32.0}, {Qt::AlignRight, 3.0}}) {
            const auto *axis = qobject_cast<QValueAxis *>(axisAt(chart, alignment));
            QCOMPARE(std::pair(axis->min(), axis->max()), std::pair(0.0, top));
        }
        // Typing is followed a moment later, not at each key.
        const SequenceTexts table = tableOf({"3", "2"}); // step 1: ticks 0-4, step 2: 4-7
        chart.showSequence(table, std::nullopt);
        QCOMPARE(drawnLines(chart), initial);
        QTRY_COMPARE(drawnLines(chart), linesOf(chartSeriesOf(segmentsOf(table), {})));
        QCOMPARE(qobject_cast<QCategoryAxis *>(axisAt(chart, Qt::AlignTop))->categoriesLabels(),
                 (QStringList{"1", "2", "end"}));

        chart.showSequence(table, RunProgress{1, 1, 1, 2, 0, 4, 7, 0}); // at Start
        QCOMPARE(pointsOf(chart, "RunCursor"), cursorAt(0));
        chart.showSequence(table, RunProgress{1, 1, 2, 2, 5, 1, 2, 0});
        QCOMPARE(pointsOf(chart, "RunCursor"), cursorAt(5));
        // The scale is remembered for the next chart.
        chart.findChild<QComboBox *>("ChartScale")->setCurrentText("Steps");
        QCOMPARE(drawnLines(chart), linesOf(chartSeriesOf(segmentsOf(table), ChartScale::Steps)));
        QCOMPARE(pointsOf(chart, "RunCursor"), cursorAt(1 + 1 / 3.0)); // a third into step 2
        SequenceChart next(bench.settings, bench.boxes);
        QCOMPARE(next.findChild<QComboBox *>("ChartScale")->currentText(), QStringLiteral("Steps"));
        chart.showSequence(table, std::nullopt);
        QVERIFY(pointsOf(chart, "RunCursor").isEmpty());
    }

    // Step 1 of 1 s: a cycle of two ticks, one segment.
    void cyclesDrawn_data()
    {
        QTest::addColumn<int>("repeat");
        QTest::addColumn<int>("segments"); // drawn, the run's last frame included
        QTest::addColumn<QString>("title");
        QTest::addColumn<double>("cursor"); // at tick 5, in cycle 3
        QTest::newRow("3 cycles: all drawn") << 3 << 4 << "3 cycles" << 5.0;
        QTest::newRow("100 cycles: all drawn") << 100 << 101 << "100 cycles" << 5.0;
        QTest::newRow("101 cycles: one drawn") << 101 << 1 << "One cycle of 101 shown" << 1.0;
        QTest::newRow("until Stop: one drawn")
                << UntilStop << 1 << "One cycle shown; the run repeats until Stop" << 1.0;
    }

    void cyclesDrawn()
    {
        QFETCH(int, repeat);
        QFETCH(int, segments);
        QFETCH(QString, title);
        QFETCH(double, cursor);
        Bench bench;
        bench.chart.showSequence(tableOf({"1"}, repeat), RunProgress{3, repeat, 1, 1, 5, 0, {}, 0});
        QCOMPARE(pointsOf(bench.chart, LineNames[0]).size(), 2 * segments);
        QCOMPARE(bench.chart.findChild<QChartView *>()->chart()->title(), title);
        QCOMPARE(pointsOf(bench.chart, "RunCursor"), cursorAt(cursor));
    }

    void longRunsCountHours_data()
    {
        QTest::addColumn<QString>("step1Seconds");
        QTest::addColumn<QString>("unit");
        QTest::newRow("run of 600 ticks: seconds") << "599"
                                                   << "(s)";
        QTest::newRow("run of 601 ticks: h:mm:ss") << "600"
                                                   << "(h:mm:ss)";
    }

    void longRunsCountHours()
    {
        QFETCH(QString, step1Seconds);
        QFETCH(QString, unit);
        Bench bench;
        bench.chart.showSequence(tableOf({step1Seconds}), std::nullopt);
        const QString title = axisAt(bench.chart, Qt::AlignBottom)->titleText();
        QVERIFY2(title.startsWith("Time from Start " + unit), qPrintable(title));
    }

    void keysCloseItWhereItStood_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("Esc") << QKeySequence(Qt::Key_Escape);
        QTest::newRow("Ctrl+W") << QKeySequence(Qt::CTRL | Qt::Key_W);
    }

    void keysCloseItWhereItStood()
    {
        QFETCH(QKeySequence, keys);
        Bench bench;
        bench.chart.resize(500, 300);
        bench.chart.show();
        QVERIFY(QTest::qWaitForWindowActive(&bench.chart));
        QTest::keySequence(QApplication::focusWidget(), keys);
        QVERIFY(!bench.chart.isVisible());
        QCOMPARE(SequenceChart(bench.settings, bench.boxes).size(), QSize(500, 300));
    }

    void saveImage()
    {
        Bench bench;
        SequenceChart &chart = bench.chart;
        chart.resize(640, 400);
        chart.showSequence(tableOf({"3", "2"}), std::nullopt);
        const QString png = bench.dir.filePath("chart.png");
        QVERIFY(chart.saveImage(png));
        const QImage image = QImage(png).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.size(), chart.size());
        // The lines are on it, not just a blank page: CH1's blue is somewhere.
        const auto *pixels = reinterpret_cast<const QRgb *>(image.constBits());
        const auto *end = pixels + image.sizeInBytes() / 4;
        QVERIFY(std::find(pixels, end, qRgb(0x00, 0x72, 0xb2)) != end);
        QVERIFY(chart.saveImage(bench.dir.filePath("chart.SVG")));
        QCOMPARE(QSvgRenderer(bench.dir.filePath("chart.SVG")).viewBox(), chart.rect());
        QVERIFY(!chart.saveImage(bench.dir.filePath("missing/chart.png")));
        // A disk too small for the image: refused, and nothing is left there.
        QTemporaryDir disk;
        const QByteArray mountPoint = QFile::encodeName(disk.path());
        if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=8k") != 0)
            QSKIP("cannot mount a small file system here (needs root)");
        const auto unmount = qScopeGuard([&mountPoint] { ::umount(mountPoint.constData()); });
        QCOMPARE(chart.saveImage(disk.filePath("chart.png")).failure().kind, FailureKind::File);
        QVERIFY(QDir(disk.path()).isEmpty());
    }
};

QTEST_MAIN(TestChart)
#include "tst_chart.moc"
