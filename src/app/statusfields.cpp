// SPDX-License-Identifier: GPL-3.0-or-later
#include "statusfields.h"

#include "appearance.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include <algorithm>

namespace mq7410 {
namespace {

ElidedLabel *makeField(QWidget *parent, const char *name, const QString &accessibleName)
{
    auto *label = new ElidedLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setAccessibleName(accessibleName);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

} // namespace

StatusFields::StatusFields(QWidget *parent)
    : QWidget(parent)
    , PortStatus(makeField(this, "PortStatus", QStringLiteral("Port")))
    , RemoteStatus(makeField(this, "RemoteStatus", QStringLiteral("Remote control")))
    , FileStatus(makeField(this, "FileStatus", QStringLiteral("Sequence file")))
    , FrameStatus(makeField(this, "FrameStatus", QStringLiteral("Last frame")))
    , RunStatus(makeField(this, "RunStatus", QStringLiteral("Run")))
    , NoteStatus(makeField(this, "NoteStatus", QStringLiteral("Note")))
    , StopCommand(new QPushButton(QStringLiteral("Stop"), this))
    , m_lastLine(new QHBoxLayout)
{
    StopCommand->setObjectName(QStringLiteral("StopCommand"));
    StopCommand->setAccessibleName(QStringLiteral("Stop the sequence"));
    StopCommand->setToolTip(QStringLiteral("Ends the run with the Finish row (Esc)"));
    FileStatus->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    NoteStatus->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(2, 0, 2, 0);
    grid->setVerticalSpacing(0);
    grid->addWidget(PortStatus, 0, 0);
    grid->addWidget(RemoteStatus, 0, 1);
    grid->addWidget(FileStatus, 0, 2);
    grid->addWidget(FrameStatus, 1, 0, 1, 3);
    m_lastLine->setSpacing(grid->horizontalSpacing());
    m_lastLine->addWidget(RunStatus);
    m_lastLine->addWidget(NoteStatus);
    grid->addLayout(m_lastLine, 2, 0, 1, 3);
    grid->addWidget(StopCommand, 0, 3, 3, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 2);
    // Kept in the layout while hidden, so that nothing moves when a run starts or ends.
    QSizePolicy stop = StopCommand->sizePolicy();
    stop.setRetainSizeWhenHidden(true);
    StopCommand->setSizePolicy(stop);
    shareLastLine();
}

void StatusFields::shareLastLine()
{
    // The two seldom speak at once (digits are typed only while no run is active): each gets
    // room after the length of its text, so that either shows whole when the other is quiet.
    const auto widthOf = [](const ElidedLabel *field) {
        return std::max(field->fontMetrics().horizontalAdvance(field->fullText()), 1);
    };
    const int run = widthOf(RunStatus);
    const int note = widthOf(NoteStatus);
    if (m_lastLine->stretch(0) == run && m_lastLine->stretch(1) == note)
        return; // each new factor lays the status bar out again
    m_lastLine->setStretchFactor(RunStatus, run);
    m_lastLine->setStretchFactor(NoteStatus, note);
}

void StatusFields::showLastLine(const QString &run, const QString &note)
{
    show(RunStatus, run);
    show(NoteStatus, note);
    shareLastLine();
}

void StatusFields::show(ElidedLabel *field, const QString &text, bool error)
{
    field->setFullText(text);
    QPalette palette = field->palette();
    palette.setColor(QPalette::WindowText,
                     error ? colorOf(Tint::Error)
                           : field->parentWidget()->palette().color(QPalette::WindowText));
    field->setPalette(palette);
}

} // namespace mq7410
