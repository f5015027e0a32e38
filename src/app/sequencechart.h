#pragma once

// The chart of a sequence: what a run of the table sends, and when, drawn from the core's plan;
// during a run a cursor marks where it stands.

#include "core/frontpanel.h"
#include "core/sequencetable.h"

#include <QWidget>

#include <optional>

namespace mq7410 {

class SequenceChart : public QWidget
{
    Q_OBJECT
public:
    explicit SequenceChart(QWidget *parent = nullptr);
    ~SequenceChart() override;

    // The table to draw, and where a run stands (nothing when none is active). Edits arrive as
    // fast as the user types; the chart follows at most a few times a second.
    void showSequence(const SequenceTexts &texts, const std::optional<RunProgress> &progress);

    // Writes the chart at the window's size: SVG for a name ending in .svg, else PNG. False
    // after nothing was written.
    bool saveImage(const QString &path);
};

} // namespace mq7410
