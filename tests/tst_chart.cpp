// The sequence chart: its lines against the run plan on both scales, and the window that draws
// them (the throttled redraw, the run's cursor, the saved images).

#include "chartseries.h"
#include "sequencechart.h"

#include <QCategoryAxis>
#include <QChartView>
#include <QComboBox>
#include <QLineSeries>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

using namespace mq7410;
using Edges = QList<double>;
using Rows = QList<int>;

namespace {

// Row r holds CH1 r V and r / 10 A, CH2 32 - r V and 3 - r / 10 A: rows differ in every cell.
double cellOf(int row, SetPoint setPoint)
{
    const double rising = isVoltage(setPoint) ? row : row / 10.0;
    return channelOf(setPoint) == 1 ? rising : (isVoltage(setPoint) ? 32 : 3) - rising;
}

// Step k lasts times[k - 1].
SequenceTexts tableOf(const QStringList &times)
{
    SequenceTexts texts = SequenceTexts::initial();
    for (int step = 1; step <= StepCount; ++step)
        texts.time(step) = times.value(step - 1, QStringLiteral("0")).toStdString();
    for (int row = 0; row < RowCount; ++row) {
        for (const SetPoint setPoint : AllSetPoints)
            texts.value(row, setPoint) = QString::number(cellOf(row, setPoint)).toStdString();
    }
    return texts;
}

ChartSeries seriesOf(const SequenceTexts &texts, ChartScale scale)
{
    const SequenceNumbers numbers = numbersOf(texts);
    return chartSeriesOf(segmentsOf(planRun(numbers.seconds), numbers), scale);
}

// CH1 V, CH1 A, CH2 V, CH2 A: in the order of the set-points.
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
    return {pointsOf(chart, "CH1 V"), pointsOf(chart, "CH1 A"), pointsOf(chart, "CH2 V"),
            pointsOf(chart, "CH2 A")};
}

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
        QTest::newRow("step 1 of 0 lasts one tick")
                << QStringList{"0", "2"} << Edges{0, 1, 4, 5} << Rows{1, 2, 3};
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
        Edges stepEdges;
        for (qsizetype i = 0; i <= rows.size(); ++i)
            stepEdges << double(i);

        for (const ChartScale scale : {ChartScale::Time, ChartScale::Steps}) {
            const Edges &edges = scale == ChartScale::Time ? timeEdges : stepEdges;
            const ChartSeries series = seriesOf(tableOf(times), scale);
            QCOMPARE(series.edges, edges);
            // The strip names each segment by its row; the last one "F" or, after a step of
            // time 0, "end".
            const SequenceNumbers numbers = numbersOf(tableOf(times));
            const std::vector<PlanSegment> segments = segmentsOf(planRun(numbers.seconds), numbers);
            QStringList names;
            for (std::size_t i = 0; i < segments.size(); ++i)
                names << segmentName(segments[i], i + 1 == segments.size());
            QCOMPARE(names.last(), rows.last() == FinishRow ? QString("F") : QString("end"));
            QCOMPARE(names.first(), QString("1"));
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
        SequenceChart chart;
        chart.showSequence(SequenceTexts::initial(), std::nullopt);
        const auto initial = linesOf(seriesOf(SequenceTexts::initial(), ChartScale::Time));
        QCOMPARE(drawnLines(chart), initial);
        // Typing is followed a moment later, not at each key.
        const SequenceTexts table = tableOf({"3", "2"}); // step 1: ticks 0-4, step 2: 4-7
        chart.showSequence(table, std::nullopt);
        QCOMPARE(drawnLines(chart), initial);
        QTRY_COMPARE(drawnLines(chart), linesOf(seriesOf(table, ChartScale::Time)));
        QStringList strip; // the axis at the top names the steps
        for (QAbstractAxis *axis : chart.findChild<QChartView *>()->chart()->axes()) {
            if (axis->alignment() == Qt::AlignTop)
                strip = qobject_cast<QCategoryAxis *>(axis)->categoriesLabels();
        }
        QCOMPARE(strip, (QStringList{"1", "2", "end"}));

        const auto cursorAt = [](double x) {
            return QList<QPointF>{{x, 0}, {x, 32}};
        };
        chart.showSequence(table, RunProgress{2, 2, 5, 1, 2, 0});
        QCOMPARE(pointsOf(chart, "RunCursor"), cursorAt(5));
        chart.findChild<QComboBox *>("ChartScale")->setCurrentText("Steps");
        QCOMPARE(drawnLines(chart), linesOf(seriesOf(table, ChartScale::Steps)));
        QCOMPARE(pointsOf(chart, "RunCursor"), cursorAt(1 + 1 / 3.0)); // a third into step 2
        chart.showSequence(table, std::nullopt);
        QVERIFY(pointsOf(chart, "RunCursor").isEmpty());
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
        SequenceChart chart;
        chart.showSequence(tableOf({step1Seconds}), std::nullopt);
        QString title;
        for (QAbstractAxis *axis : chart.findChild<QChartView *>()->chart()->axes()) {
            if (axis->alignment() == Qt::AlignBottom)
                title = axis->titleText();
        }
        QVERIFY2(title.startsWith("Time from Start " + unit), qPrintable(title));
    }

    void saveImage()
    {
        QTemporaryDir dir;
        SequenceChart chart;
        chart.resize(640, 400);
        chart.showSequence(tableOf({"3", "2"}), std::nullopt);

        QVERIFY(chart.saveImage(dir.filePath("chart.png")));
        const QImage png = QImage(dir.filePath("chart.png")).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(png.size(), chart.size());
        // The lines are on it, not just a blank page: CH1's blue is somewhere.
        const auto *pixels = reinterpret_cast<const QRgb *>(png.constBits());
        const auto *end = pixels + png.sizeInBytes() / 4;
        QVERIFY(std::find(pixels, end, qRgb(0x00, 0x72, 0xb2)) != end);
        QVERIFY(chart.saveImage(dir.filePath("chart.SVG")));
        QCOMPARE(QSvgRenderer(dir.filePath("chart.SVG")).viewBox(), chart.rect());
        QVERIFY(!chart.saveImage(dir.filePath("missing/chart.png")));
    }
};

QTEST_MAIN(TestChart)
#include "tst_chart.moc"
