#include "sequencechart.h"

namespace mq7410 {

SequenceChart::SequenceChart(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("SequenceChart"));
}

SequenceChart::~SequenceChart() = default;

void SequenceChart::showSequence(const SequenceTexts &, const std::optional<RunProgress> &) {}

bool SequenceChart::saveImage(const QString &)
{
    return false;
}

} // namespace mq7410
