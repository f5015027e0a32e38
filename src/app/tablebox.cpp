#include "tablebox.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

namespace mq7410 {

TableBox::TableBox(const QString &text, QWidget *parent)
    : QLineEdit(text, parent)
{
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
