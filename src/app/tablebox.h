// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace mq7410 {

// A box of the step table. It takes only texts it can show whole (no tab, line break or other
// control character, at most 64 characters, typed or pasted), and tells when an entry is
// complete: editing finished (Enter, or the focus left), and right after a paste, which is a
// whole entry at once.
class TableBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit TableBox(const QString &text, QWidget *parent = nullptr);

signals:
    void entryCompleted();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
};

} // namespace mq7410
