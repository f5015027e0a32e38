// SPDX-License-Identifier: GPL-3.0-or-later
#include "framelogwindow.h"

#include "appearance.h"
#include "filedialogs.h"

#include "session.h"
#include "tablefile.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace mq7410 {
namespace {

enum Column { TimeColumn, FrameColumn, MeaningColumn, OriginColumn, StatusColumn, ColumnCount };

} // namespace

FrameLogModel::FrameLogModel(const FrameHistory &history, QObject *parent)
    : QAbstractTableModel(parent)
    , m_history(history)
    , m_rows(int(history.entries().size()))
{}

void FrameLogModel::show(const LoggedFrame &entry, bool update)
{
    const int rows = int(m_history.entries().size());
    if (update) {
        const int row = int(entry.id - m_history.entries().front().id);
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
        return;
    }
    emit aboutToAppend();
    const bool droppedOne = rows == m_rows; // full: the oldest went to make room
    if (droppedOne) {
        beginRemoveRows({}, 0, 0);
        --m_rows;
        endRemoveRows();
    }
    beginInsertRows({}, m_rows, m_rows);
    m_rows = rows;
    endInsertRows();
    if (droppedOne)
        emit droppedChanged();
    emit appended();
}

void FrameLogModel::reset()
{
    beginResetModel();
    m_rows = int(m_history.entries().size());
    endResetModel();
    emit droppedChanged();
}

int FrameLogModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int FrameLogModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FrameLogModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const LoggedFrame &entry = m_history.entries().at(std::size_t(index.row()));
    if (role == Qt::ForegroundRole && frameFailed(entry))
        return colorOf(Tint::Error);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case TimeColumn:
        return QString::fromStdString(entry.time);
    case FrameColumn:
        return QString::fromStdString(entry.frame);
    case MeaningColumn:
        return QString::fromStdString(entry.meaning);
    case OriginColumn:
        return QString::fromStdString(entry.origin);
    case StatusColumn:
        return QString::fromStdString(entry.status);
    default:
        return {};
    }
}

QVariant FrameLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const Titles[ColumnCount] = {"Time", "Frame", "Meaning", "From", "Status"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(Titles[section])
                                                 : QVariant();
}

FrameLogWindow::FrameLogWindow(FrameLogModel *model, Session &session, MessageBoxes &boxes,
                               QWidget *parent)
    : SideWindow(QStringLiteral("FrameLog"), session.settings(), parent)
    , m_model(model)
    , m_session(session)
    , m_boxes(boxes)
    , m_view(new QTableView(this))
    , m_dropped(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Frame Log"));
    m_view->setObjectName(QStringLiteral("FrameLogView"));
    m_view->setAccessibleName(QStringLiteral("Frames sent this session"));
    m_view->setModel(model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->setColumnWidth(TimeColumn, 190);
    m_view->setColumnWidth(FrameColumn, 160);
    m_view->setColumnWidth(MeaningColumn, 330);
    m_view->setColumnWidth(OriginColumn, 160);
    m_dropped->setObjectName(QStringLiteral("DroppedCount"));

    auto *save = new QPushButton(QStringLiteral("&Save As..."), this);
    save->setObjectName(QStringLiteral("SaveLogCommand"));
    auto *clear = new QPushButton(QStringLiteral("&Clear"), this);
    clear->setObjectName(QStringLiteral("ClearLogCommand"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_dropped, 1);
    buttons->addWidget(save);
    buttons->addWidget(clear);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);
    resize(1040, 420);
    restorePlace();

    connect(save, &QPushButton::clicked, this, [this] {
        const QString path = askForFile(this, FileDialog::SaveFrameLog, m_session.settings());
        if (!path.isEmpty())
            saveTo(path);
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        m_session.clearHistory();
        m_model->reset();
    });
    connect(m_model, &FrameLogModel::droppedChanged, this, &FrameLogWindow::showDropped);
    // The newest entry stays in sight unless the user scrolled up to read older ones. Whether
    // the view is at the bottom is asked before an entry comes: dropping the oldest one moves
    // the view by itself.
    QScrollBar *scroll = m_view->verticalScrollBar();
    connect(m_model, &FrameLogModel::aboutToAppend, this,
            [this, scroll] { m_following = scroll->value() == scroll->maximum(); });
    connect(m_model, &FrameLogModel::appended, this, [this] {
        if (m_following)
            m_view->scrollToBottom();
    });
    showDropped();
    m_view->scrollToBottom();
}

void FrameLogWindow::showDropped()
{
    const std::uint64_t dropped = m_model->history().dropped();
    m_dropped->setText(dropped == 0
                               ? QString()
                               : QStringLiteral("%L1 older entries were dropped").arg(dropped));
}

bool FrameLogWindow::saveTo(const QString &path)
{
    const std::string csv = m_model->history().toCsv();
    const Status saved = saveAtomically(QFile::encodeName(path),
                                        QByteArray(csv.data(), qsizetype(csv.size())));
    if (!saved) {
        m_boxes.show({MessageKind::Warning, "Save Frame Log", "The frame log could not be saved.",
                      saved.failure().text});
    }
    return saved.ok();
}

} // namespace mq7410
