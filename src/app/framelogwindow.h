#pragma once

// The frame log: every frame of this session, newest last, in a window of its own.

#include "core/framehistory.h"
#include "core/messages.h"

#include <QAbstractTableModel>
#include <QWidget>

class QLabel;
class QTableView;

namespace mq7410 {

// The core's FrameHistory as a table: time, frame, meaning, status.
class FrameLogModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit FrameLogModel(QObject *parent = nullptr);

    void append(LoggedFrame entry);
    void clear();
    const FrameHistory &history() const { return m_history; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    void droppedChanged();
    // Around the changes of one entry: the oldest may go, the new one comes.
    void aboutToAppend();
    void appended();

private:
    FrameHistory m_history;
};

class FrameLogWindow : public QWidget
{
    Q_OBJECT
public:
    FrameLogWindow(FrameLogModel *model, MessageBoxes &boxes, QWidget *parent = nullptr);

    // Writes the log as CSV to `path` at once; false after a box that says why.
    bool saveTo(const QString &path);

private:
    void showDropped();

    FrameLogModel *m_model;
    MessageBoxes &m_boxes;
    QTableView *m_view;
    QLabel *m_dropped;
    bool m_following = true; // the newest entry is in sight and stays so
};

} // namespace mq7410
