// Sequence files: Open, Save, Save As, and a file dropped on the window.

#include "uiform.h"

#include "atomicsave.h"
#include "core/sequencefile.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>

namespace mq7410 {
namespace {

const QString FileFilter = QStringLiteral("Sequence files (*.csv)");

// The one local .csv file being dragged, or nothing.
QString droppedSequence(const QMimeData *mime)
{
    const QList<QUrl> urls = mime->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return {};
    const QString path = urls.front().toLocalFile();
    return path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? path : QString();
}

} // namespace

bool UIForm::openSequence(const QString &path)
{
    const QFileInfo info(path);
    const std::string name = info.fileName().toStdString();
    const auto refuse = [this, &name](const std::string &why) {
        m_boxes.show({MessageKind::Warning, "Open Sequence", name + ": " + why, {}});
        return false;
    };
    if (m_panel.running())
        return refuse("the table is in use by a run");
    if (info.isDir())
        return refuse("this is a folder, not a sequence file");
    // A pipe or a device could keep the window waiting for bytes that never come.
    if (info.exists() && !info.isFile())
        return refuse("this is not a regular file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(file.errorString().toStdString());
    // One byte more than allowed is enough to tell that a file is too large.
    const QByteArray bytes = file.read(qint64(MaxSequenceFileBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        return refuse(file.errorString().toStdString());

    const auto read = readSequence(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (const auto *error = std::get_if<SequenceFileError>(&read)) {
        m_boxes.show({MessageKind::Warning, "Open Sequence", errorText(name, *error), {}});
        return false;
    }
    if (!m_panel.loadTable(std::get<SequenceTexts>(read)))
        return refuse("the table is in use by a run");
    m_sequencePath = info.absoluteFilePath();
    render();
    return true;
}

void UIForm::openSequenceDialog()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open Sequence"),
                                                      QFileInfo(m_sequencePath).path(), FileFilter);
    if (!path.isEmpty())
        openSequence(path);
}

bool UIForm::saveSequence()
{
    return m_sequencePath.isEmpty() ? saveSequenceAs() : saveSequenceTo(m_sequencePath);
}

bool UIForm::saveSequenceAs()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save Sequence As"),
                                                m_sequencePath, FileFilter);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1String(".csv");
    return saveSequenceTo(path);
}

bool UIForm::saveSequenceTo(const QString &path)
{
    m_panel.completeEntries(); // a box still being typed in is saved as it will be taken
    if (const auto failure = saveAtomically(path, writeSequence(m_panel.tableTexts()))) {
        m_boxes.show({MessageKind::Warning, "Save Sequence",
                      QFileInfo(path).fileName().toStdString() + " could not be saved.",
                      failure->toStdString()});
        render();
        return false;
    }
    m_panel.markTableSaved();
    m_sequencePath = QFileInfo(path).absoluteFilePath();
    render();
    return true;
}

void UIForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (!m_panel.running() && !droppedSequence(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void UIForm::dropEvent(QDropEvent *event)
{
    const QString path = droppedSequence(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    openSequence(path);
}

} // namespace mq7410
