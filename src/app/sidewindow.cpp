// SPDX-License-Identifier: GPL-3.0-or-later
#include "sidewindow.h"

#include "settings.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QShortcut>

namespace mq7410 {

SideWindow::SideWindow(const QString &name, Settings &settings, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_settings(settings)
{
    setObjectName(name);
    // Ctrl+W closes it like any document window; Esc too (keyPressEvent).
    connect(new QShortcut(QKeySequence::Close, this), &QShortcut::activated, this, &QWidget::close);
}

void SideWindow::restorePlace()
{
    restoreGeometry(m_settings.geometry(objectName()));
}

void SideWindow::keyPressEvent(QKeyEvent *event)
{
    // During a run Esc is the program's Stop shortcut and never comes here.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SideWindow::closeEvent(QCloseEvent *event)
{
    m_settings.setGeometry(objectName(), saveGeometry());
    QWidget::closeEvent(event);
}

} // namespace mq7410
