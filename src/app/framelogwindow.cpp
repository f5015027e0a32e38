#include "framelogwindow.h"

#include "appearance.h"
#include "atomicsave.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace mq7410 {
namespace {

enum Column { TimeColumn, FrameColumn, MeaningColumn, StatusColumn, ColumnCount };

} // namespace

FrameLogModel::FrameLogModel(QObject *parent)
    : QAbstractTableModel(parent)
{}

void FrameLogModel::append(LoggedFrame entry)
{
    emit aboutToAppend();
    const bool full = m_history.full();
    if (full) {
        beginRemoveRows({}, 0, 0);
        m_history.dropOldest();
        endRemoveRows();
    }
    beginInsertRows({}, rowCount(), rowCount());
    m_history.add(std::move(entry));
    endInsertRows();
    if (full)
        emit droppedChanged();
    emit appended();
}

void FrameLogModel::clear()
{
    beginResetModel();
    m_history.clear();
    endResetModel();
    emit droppedChanged();
}

int FrameLogModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_history.entries().size());
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
    if (role == Qt::ForegroundRole && !entry.sent())
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
    case StatusColumn:
        return QString::fromStdString(statusText(entry));
    default:
        return {};
    }
}

QVariant FrameLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const Titles[ColumnCount] = {"Time", "Frame", "Meaning", "Status"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(Titles[section])
                                                 : QVariant();
}

FrameLogWindow::FrameLogWindow(FrameLogModel *model, MessageBoxes &boxes, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_model(model)
    , m_boxes(boxes)
    , m_view(new QTableView(this))
    , m_dropped(new QLabel(this))
{
    setObjectName(QStringLiteral("FrameLog"));
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
    resize(880, 420);

    connect(save, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save Frame Log"),
                                                          QDir::home().filePath("frames.csv"),
                                                          QStringLiteral("CSV files (*.csv)"));
        if (!path.isEmpty())
            saveTo(path);
    });
    connect(clear, &QPushButton::clicked, m_model, &FrameLogModel::clear);
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
    const std::optional<QString> failure = saveAtomically(path, m_model->history().toCsv());
    if (!failure)
        return true;
    m_boxes.show({MessageKind::Warning, "Save Frame Log",
                  "The frame log could not be saved to " + path.toStdString() + ".",
                  failure->toStdString()});
    return false;
}

} // namespace mq7410
