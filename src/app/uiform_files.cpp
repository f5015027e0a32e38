// SPDX-License-Identifier: GPL-3.0-or-later
// Sequence files: Open, Open Recent, Save, Save As, a file dropped on the window, and the
// question before a changed table is lost.

#include "uiform.h"

#include "filedialogs.h"

#include "session.h"
#include "tablefile.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>

namespace mq7410 {
namespace {

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

bool UIForm::tableMayGo()
{
    if (m_session.sequencePath().isEmpty() || !m_panel.tableModified())
        return true; // a table never tied to a file goes as it always did
    const std::string name = displayName(m_session.sequencePath()).toStdString();
    switch (m_boxes.show({MessageKind::Unsaved, "Unsaved Sequence",
                          "The table was changed since " + name + " was loaded or saved.",
                          "Save the changes to " + name + "?"})) {
    case Answer::Save:
        return saveSequence();
    case Answer::Discard:
        return true;
    default:
        return false;
    }
}

bool UIForm::openSequence(const QByteArray &path)
{
    if (!tableMayGo() || !act("Open Sequence", [&] { return m_session.openSequence(path); }))
        return false;
    rememberFile(path);
    m_note = m_session.loadNote();
    render();
    return true;
}

void UIForm::openSequenceDialog()
{
    const QString path = askForFile(this, FileDialog::OpenSequence, m_session.settings());
    if (!path.isEmpty())
        openSequence(QFile::encodeName(path));
}

void UIForm::fillRecentFiles()
{
    m_recentMenu->clear();
    const QList<QByteArray> files = m_session.settings().recentFiles();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QByteArray &path = files[i];
        // The whole path, so that two files of one name are told apart; '&' is not a mnemonic.
        QString caption = QFile::decodeName(path);
        caption.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction *action = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(caption));
        connect(action, &QAction::triggered, this, [this, path] { openSequence(path); });
    }
    m_recentMenu->addSeparator()->setVisible(!files.isEmpty());
    QAction *none = m_recentMenu->addAction(QStringLiteral("(no recent files)"));
    none->setEnabled(false);
    none->setVisible(files.isEmpty());
}

bool UIForm::saveSequence()
{
    const QByteArray &path = m_session.sequencePath();
    if (path.isEmpty())
        return saveSequenceAs();
    if (m_session.sequenceChangedOnDisk()) {
        const std::string prompt = displayName(path).toStdString()
                                   + " was changed on disk since it was loaded or saved here. "
                                     "Overwrite it?";
        if (m_boxes.show({MessageKind::Question, "Save Sequence", prompt, {}}) != Answer::Yes)
            return false;
    }
    return saveSequenceTo(path);
}

bool UIForm::saveSequenceAs()
{
    // The dialog adds ".csv" before it checks, so an existing file is confirmed first.
    const QString path = askForFile(this, FileDialog::SaveSequence, m_session.settings(),
                                    QFile::decodeName(m_session.sequencePath()));
    return !path.isEmpty() && saveSequenceTo(QFile::encodeName(path));
}

bool UIForm::saveSequenceTo(const QByteArray &path)
{
    if (!act("Save Sequence", [&] { return m_session.saveSequence(path); }))
        return false;
    rememberFile(path);
    return true;
}

void UIForm::rememberFile(const QByteArray &path)
{
    // However the file came (a dialog, a drop, the menu of recent files, the command line), it
    // heads the recent files and the next dialog for a sequence starts beside it.
    m_session.settings().addRecentFile(path);
    m_session.settings().setFolder(FileKind::Sequence,
                                   QFileInfo(QFile::decodeName(path)).absolutePath());
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
    openSequence(QFile::encodeName(path));
}

} // namespace mq7410
