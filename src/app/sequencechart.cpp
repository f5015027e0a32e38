// SPDX-License-Identifier: GPL-3.0-or-later
#include "sequencechart.h"

#include "appearance.h"
#include "chartaxes.h"
#include "filedialogs.h"
#include "namedcombobox.h"

#include "runstatus.h"
#include "settings.h"

#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QValueAxis>

namespace mq7410 {
namespace {

constexpr int RedrawDelayMs = 200;

// "", "5 cycles", "One cycle of 250 shown", "One cycle shown; the run repeats until Stop".
QString chartTitle(const RunPlan &plan)
{
    if (plan.cycles == UntilStop)
        return QStringLiteral("One cycle shown; the run repeats until Stop");
    if (plan.cycles > SequenceChart::MaxCyclesDrawn)
        return QStringLiteral("One cycle of %L1 shown").arg(plan.cycles);
    return plan.cycles == 1 ? QString() : QStringLiteral("%1 cycles").arg(plan.cycles);
}

// Blue and orange: told apart with every common colour-vision deficiency, and neither is the
// red the panel uses for its figures and the running step.
constexpr QRgb Ch1Colour = 0x0072b2;
constexpr QRgb Ch2Colour = 0xe08000;
constexpr double VoltsMax = unitsOf(SetPoint::Ch1Voltage, VoltageLimit);
constexpr double AmperesMax = unitsOf(SetPoint::Ch1Current, CurrentLimit);

QLineSeries *makeLine(QChart *chart, const char *name, QRgb colour, Qt::PenStyle style)
{
    auto *series = new QLineSeries(chart);
    series->setName(QString::fromLatin1(name));
    series->setObjectName(series->name());
    series->setPen(QPen(QColor::fromRgb(colour), 2, style));
    chart->addSeries(series);
    return series;
}

} // namespace

SequenceChart::SequenceChart(Settings &settings, MessageBoxes &boxes, QWidget *parent)
    : SideWindow(QStringLiteral("SequenceChart"), settings, parent)
    , m_settings(settings)
    , m_boxes(boxes)
    , m_chart(new QChart)
    , m_view(new QChartView(m_chart, this))
    , m_scale(new QComboBox(this))
    , m_ch1V(makeLine(m_chart, "CH1 V (solid)", Ch1Colour, Qt::SolidLine))
    , m_ch1A(makeLine(m_chart, "CH1 A (dashed)", Ch1Colour, Qt::DashLine))
    , m_ch2V(makeLine(m_chart, "CH2 V (solid)", Ch2Colour, Qt::SolidLine))
    , m_ch2A(makeLine(m_chart, "CH2 A (dashed)", Ch2Colour, Qt::DashLine))
    , m_cursor(new QLineSeries(m_chart))
    , m_time(new QCategoryAxis(m_chart))
    , m_steps(new QCategoryAxis(m_chart))
    , m_texts(SequenceTexts::initial())
{
    setWindowTitle(QStringLiteral("Sequence Chart"));

    auto *volts = new QValueAxis(m_chart);
    volts->setRange(0, VoltsMax);
    volts->setTickCount(9);
    volts->setLabelFormat(QStringLiteral("%.0f"));
    volts->setTitleText(QStringLiteral("Voltage (V)"));
    auto *amperes = new QValueAxis(m_chart);
    amperes->setRange(0, AmperesMax);
    amperes->setTickCount(7);
    amperes->setLabelFormat(QStringLiteral("%.1f"));
    amperes->setTitleText(QStringLiteral("Current (A)"));
    amperes->setGridLineVisible(false); // the volts' grid serves both
    m_time->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_time->setGridLineVisible(false); // the steps' edges are the vertical grid
    // The step strip: a name over each segment; its grid lines are the frames.
    m_steps->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
    m_steps->setTitleText(QStringLiteral("Step"));
    m_chart->addAxis(m_time, Qt::AlignBottom);
    m_chart->addAxis(m_steps, Qt::AlignTop);
    m_chart->addAxis(volts, Qt::AlignLeft);
    m_chart->addAxis(amperes, Qt::AlignRight);

    m_cursor->setObjectName(QStringLiteral("RunCursor"));
    m_cursor->setPen(QPen(colorOf(Tint::RunningStep), 2));
    m_cursor->setVisible(false);
    m_chart->addSeries(m_cursor);
    for (QLineSeries *series : {m_ch1V, m_ch2V, m_cursor}) {
        series->attachAxis(m_time);
        series->attachAxis(volts);
    }
    for (QLineSeries *series : {m_ch1A, m_ch2A}) {
        series->attachAxis(m_time);
        series->attachAxis(amperes);
    }
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    // A bit of each line, so that the dashed currents are told from the voltages.
    m_chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    m_chart->setMargins(QMargins(4, 4, 4, 4));

    m_view->setObjectName(QStringLiteral("SequenceChartView"));
    m_view->setAccessibleName(QStringLiteral("Chart of the sequence"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setFocusPolicy(Qt::StrongFocus);

    auto *scaleLabel = new QLabel(QStringLiteral("&Scale:"), this);
    scaleLabel->setBuddy(m_scale);
    m_scale->setObjectName(QStringLiteral("ChartScale"));
    nameComboBoxesByTheirOwnName(); // not "Time", which is the box's value
    m_scale->setAccessibleName(QStringLiteral("Scale of the time axis"));
    m_scale->setAccessibleDescription(
            QStringLiteral("Time: as long as each step lasts. Steps: every step equally wide."));
    m_scale->addItem(QStringLiteral("Time"));
    m_scale->addItem(QStringLiteral("Steps"));
    auto *save = new QPushButton(QStringLiteral("Save &Image..."), this);
    save->setObjectName(QStringLiteral("SaveChartCommand"));
    save->setAccessibleName(QStringLiteral("Save the chart as an image"));
    auto *controls = new QHBoxLayout;
    controls->addWidget(scaleLabel);
    controls->addWidget(m_scale);
    controls->addStretch(1);
    controls->addWidget(save);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(controls);
    setTabOrder(m_view, m_scale);
    setTabOrder(m_scale, save);
    resize(960, 600);
    restorePlace();
    if (settings.chartScale() == QLatin1String("steps"))
        m_scale->setCurrentIndex(1);

    m_redrawTimer.setSingleShot(true);
    m_redrawTimer.setInterval(RedrawDelayMs);
    connect(&m_redrawTimer, &QTimer::timeout, this, &SequenceChart::redrawIfChanged);
    connect(m_scale, &QComboBox::currentIndexChanged, this, [this] {
        m_settings.setChartScale(scale() == ChartScale::Steps ? QStringLiteral("steps")
                                                              : QStringLiteral("time"));
        if (m_drawn)
            redraw(numbersOf(m_texts));
    });
    connect(save, &QPushButton::clicked, this, &SequenceChart::saveFromDialog);
}

SequenceChart::~SequenceChart() = default;

void SequenceChart::showSequence(const SequenceTexts &texts,
                                 const std::optional<RunProgress> &progress)
{
    m_progress = progress;
    if (!m_drawn) {
        // Nothing to keep up with yet: an empty window would only flicker.
        m_texts = texts;
        redraw(numbersOf(m_texts));
        return;
    }
    if (texts != m_texts) {
        m_texts = texts;
        if (!m_redrawTimer.isActive())
            m_redrawTimer.start();
    }
    placeCursor();
}

ChartScale SequenceChart::scale() const
{
    return m_scale->currentIndex() == 1 ? ChartScale::Steps : ChartScale::Time;
}

void SequenceChart::redrawIfChanged()
{
    // Many texts read as the same numbers ("5", "5.0", " 5"): the chart would not change.
    if (SequenceNumbers numbers = numbersOf(m_texts); numbers != m_drawnNumbers)
        redraw(numbers);
}

void SequenceChart::redraw(const SequenceNumbers &numbers)
{
    m_redrawTimer.stop();
    m_drawnNumbers = numbers;
    m_plan = planRun(m_drawnNumbers.seconds, m_drawnNumbers.cycles);
    // Every cycle while they can be told apart; else one, which the cursor goes round.
    const bool everyCycle = m_plan.cycles != UntilStop && m_plan.cycles <= MaxCyclesDrawn;
    m_segments = segmentsOf(m_plan, m_drawnNumbers, everyCycle ? m_plan.cycles : 1);
    // Smooth edges cost Qt Charts most of a paint of many cycles, which would hold the window
    // for a good part of each second of a run: only few segments get them.
    m_view->setRenderHint(QPainter::Antialiasing, m_segments.size() <= MaxStepNames);
    m_drawn = true;
    const ChartScale shownScale = scale();
    const ChartSeries series = chartSeriesOf(m_segments, shownScale);
    m_ch1V->replace(series.ch1V);
    m_ch1A->replace(series.ch1A);
    m_ch2V->replace(series.ch2V);
    m_ch2A->replace(series.ch2A);

    const bool wholeRun = isRunEnd(m_segments.back());
    const Tick drawnEnd = drawnEndTick(m_segments);
    const double xEnd = series.edges.back();
    labelTimeAxis(*m_time, m_segments, shownScale, xEnd);
    nameSegments(*m_steps, m_segments, series.edges);
    m_time->setRange(0, xEnd);
    m_steps->setRange(0, xEnd);
    m_chart->setTitle(chartTitle(m_plan));

    const PlanSegment &last = m_segments.back();
    m_view->setAccessibleDescription(
            wholeRun ? QStringLiteral("%1 steps; the run ends after %2 with %3 in force.")
                               .arg(m_segments.size() - 1)
                               .arg(QString::fromStdString(durationText(drawnEnd)),
                                    last.row == FinishRow
                                            ? QStringLiteral("the Finish row")
                                            : QStringLiteral("the row of step %1").arg(last.row))
                     : QStringLiteral("%1 steps of one cycle, %2 long; %3")
                               .arg(m_segments.size())
                               .arg(QString::fromStdString(durationText(drawnEnd)),
                                    chartTitle(m_plan)));
    placeCursor();
}

void SequenceChart::placeCursor()
{
    if (!m_progress || !m_drawn) {
        m_cursor->setVisible(false);
        return;
    }
    // With one cycle of many drawn, the cursor goes round it in every cycle.
    const bool wholeRun = isRunEnd(m_segments.back());
    const Tick tick = wholeRun ? m_progress->tick : m_progress->tick % m_plan.cycleTicks();
    const double x = xOfTick(m_segments, scale(), tick);
    m_cursor->replace(QList<QPointF>{{x, 0}, {x, VoltsMax}});
    const QString cycle = m_progress->cycles == 1
                                  ? QString()
                                  : QStringLiteral("Cycle %1 \u00b7 ").arg(m_progress->cycle);
    m_cursor->setName(cycle
                      + QStringLiteral("Step %1 \u00b7 %2")
                                .arg(m_progress->step)
                                .arg(QString::fromStdString(durationText(m_progress->tick))));
    m_cursor->setVisible(true);
}

Status SequenceChart::saveImage(const QString &path)
{
    QSaveFile file(path);
    // Unbuffered: a write that fails on a full disk must fail commit() too.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Failure{FailureKind::File, file.errorString().toStdString()};
    // The chart is laid out once more at the window's size for the image, then given back to
    // the view before anything is painted on screen.
    const QRect area(QPoint(), size());
    const QSizeF shown = m_chart->size();
    m_chart->resize(area.size());
    bool drawn = false;
    if (QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(area.size());
        svg.setViewBox(area);
        svg.setResolution(logicalDpiX()); // so that it opens at the size it had on screen
        svg.setTitle(windowTitle());
        QPainter painter;
        drawn = painter.begin(&svg);
        if (drawn) {
            m_view->scene()->render(&painter, area, area);
            drawn = painter.end();
        }
    } else {
        QImage image(area.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        m_view->scene()->render(&painter, area, area);
        painter.end();
        // Encoded in memory first: the PNG writer leaks when the disk fails under it.
        QByteArray png;
        QBuffer buffer(&png);
        drawn = buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG")
                && file.write(png) == png.size();
    }
    m_chart->resize(shown);
    if (!drawn || !file.commit()) {
        return Failure{FailureKind::File, file.error() != QFileDevice::NoError
                                                  ? file.errorString().toStdString()
                                                  : "The image could not be encoded."};
    }
    return {};
}

void SequenceChart::saveFromDialog()
{
    const QString path = askForFile(this, FileDialog::SaveChartImage, m_settings);
    if (path.isEmpty())
        return;
    if (const Status saved = saveImage(path); !saved) {
        m_boxes.show({MessageKind::Warning, "Save Image",
                      "The chart could not be saved to "
                              + QDir::toNativeSeparators(path).toStdString() + '.',
                      saved.failure().text});
    }
}

} // namespace mq7410
