// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The frame log: every frame of this session and how each run ended, newest last, in a window
// of its own.

#include "sidewindow.h"

#include "framehistory.h"
#include "messages.h"

#include <QAbstractTableModel>

class QLabel;
class QTableView;

namespace mq7410 {

class Session;

// The session's FrameHistory as a table: time, frame, meaning, origin, status.
class FrameLogModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    FrameLogModel(const FrameHistory &history, QObject *parent = nullptr);

    // The session logged `entry`: a new one (the oldest may have gone to make room), or an
    // update of one shown.
    void show(const LoggedFrame &entry, bool update);
    // The history was cleared.
    void reset();
    const FrameHistory &history() const { return m_history; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    void droppedChanged();
    // Around the changes of one new entry.
    void aboutToAppend();
    void appended();

private:
    const FrameHistory &m_history;
    int m_rows = 0;
};

class FrameLogWindow : public SideWindow
{
    Q_OBJECT
public:
    FrameLogWindow(FrameLogModel *model, Session &session, MessageBoxes &boxes,
                   QWidget *parent = nullptr);

    // Writes the log as CSV to `path` at once; false after a box that says why.
    bool saveTo(const QString &path);

private:
    void showDropped();

    FrameLogModel *m_model;
    Session &m_session;
    MessageBoxes &m_boxes;
    QTableView *m_view;
    QLabel *m_dropped;
    bool m_following = true; // the newest entry is in sight and stays so
};

} // namespace mq7410
