// SPDX-License-Identifier: GPL-3.0-or-later
#include "tablebox.h"

#include "sequencetable.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QValidator>

namespace mq7410 {
namespace {

// The table's own rule for what a box can hold, so that typing, pasting and files agree.
class BoxTextValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int & /*position*/) const override
    {
        return checkBoxText(input.toStdString()) ? Acceptable : Invalid;
    }
};

} // namespace

TableBox::TableBox(const QString &text, QWidget *parent)
    : QLineEdit(text, parent)
{
    // The rule counts characters; a line edit counts UTF-16 units, two for some characters.
    setMaxLength(int(2 * MaxBoxText));
    setValidator(new BoxTextValidator(this));
    connect(this, &QLineEdit::editingFinished, this, &TableBox::entryCompleted);
}

void TableBox::keyPressEvent(QKeyEvent *event)
{
    QLineEdit::keyPressEvent(event);
    if (event->matches(QKeySequence::Paste))
        emit entryCompleted();
}

void TableBox::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::MiddleButton) // the X11 selection is pasted
        emit entryCompleted();
}

void TableBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (auto *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"))) {
        connect(paste, &QAction::triggered, this, &TableBox::entryCompleted,
                Qt::QueuedConnection); // after the text is in
    }
    menu->popup(event->globalPos());
}

} // namespace mq7410
