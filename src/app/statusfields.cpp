#include "statusfields.h"

#include "appearance.h"

#include <QGridLayout>

namespace mq7410 {
namespace {

QLabel *makeField(QWidget *parent, const char *name, const QString &accessibleName)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setAccessibleName(accessibleName);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

} // namespace

StatusFields::StatusFields(QWidget *parent)
    : QWidget(parent)
    , PortStatus(makeField(this, "PortStatus", QStringLiteral("Port")))
    , FileStatus(makeField(this, "FileStatus", QStringLiteral("Sequence file")))
    , FrameStatus(makeField(this, "FrameStatus", QStringLiteral("Last frame")))
    , RunStatus(makeField(this, "RunStatus", QStringLiteral("Run")))
    , StopCommand(new QPushButton(QStringLiteral("Stop"), this))
{
    StopCommand->setObjectName(QStringLiteral("StopCommand"));
    StopCommand->setAccessibleName(QStringLiteral("Stop the sequence"));
    StopCommand->setToolTip(QStringLiteral("Ends the run with the Finish row (Esc)"));
    FileStatus->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(2, 0, 2, 0);
    grid->setVerticalSpacing(0);
    grid->addWidget(PortStatus, 0, 0);
    grid->addWidget(FileStatus, 0, 1);
    grid->addWidget(FrameStatus, 1, 0, 1, 2);
    grid->addWidget(RunStatus, 2, 0, 1, 2);
    grid->addWidget(StopCommand, 0, 2, 3, 1);
    grid->setColumnStretch(0, 1);
    // Kept in the layout while hidden, so that nothing moves when a run starts or ends.
    // The port and the last frame take what room is left, and say the rest in a tool tip.
    for (QLabel *label : {PortStatus, FrameStatus, RunStatus})
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    for (QWidget *widget :
         {static_cast<QWidget *>(RunStatus), static_cast<QWidget *>(StopCommand)}) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }
}

void StatusFields::show(QLabel *field, const QString &text, bool error)
{
    field->setText(text);
    field->setToolTip(text);
    QPalette palette = field->palette();
    palette.setColor(QPalette::WindowText,
                     error ? colorOf(Tint::Error)
                           : field->parentWidget()->palette().color(QPalette::WindowText));
    field->setPalette(palette);
}

} // namespace mq7410
