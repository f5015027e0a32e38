// SPDX-License-Identifier: GPL-3.0-or-later
#include "filedialogs.h"

#include "settings.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace mq7410 {
namespace {

struct DialogKind
{
    const char *title;
    FileKind folder;
    const char *filters;
    const char *defaultName;
    bool save;
};

DialogKind kindOf(FileDialog dialog)
{
    switch (dialog) {
    case FileDialog::OpenSequence:
        return {"Open Sequence", FileKind::Sequence, "Sequence files (*.csv)", "", false};
    case FileDialog::SaveSequence:
        return {"Save Sequence As", FileKind::Sequence, "Sequence files (*.csv)", "", true};
    case FileDialog::SaveFrameLog:
        return {"Save Frame Log", FileKind::FrameLog, "CSV files (*.csv)", "frames.csv", true};
    case FileDialog::SaveChartImage:
        break;
    }
    return {"Save Chart Image", FileKind::ChartImage, "PNG image (*.png);;SVG image (*.svg)",
            "sequence.png", true};
}

// "png" for "PNG image (*.png)".
QString suffixOf(const QString &filter)
{
    const qsizetype dot = filter.lastIndexOf(QLatin1String("*."));
    return dot < 0 ? QString() : filter.mid(dot + 2).chopped(1);
}

} // namespace

QString askForFile(QWidget *parent, FileDialog dialog, Settings &settings, const QString &suggested)
{
    const DialogKind kind = kindOf(dialog);
    QFileDialog box(parent, QLatin1String(kind.title));
    box.setObjectName(QStringLiteral("FileDialog"));
    box.setNameFilters(QString::fromLatin1(kind.filters).split(QStringLiteral(";;")));
    box.setAcceptMode(kind.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(kind.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    box.setDefaultSuffix(suffixOf(box.nameFilters().constFirst()));
    QObject::connect(&box, &QFileDialog::filterSelected, &box,
                     [&box](const QString &filter) { box.setDefaultSuffix(suffixOf(filter)); });
    const QDir folder(settings.folder(kind.folder));
    if (!suggested.isEmpty())
        box.selectFile(QFileInfo(suggested).absoluteFilePath());
    else if (kind.save && *kind.defaultName)
        box.selectFile(folder.filePath(QLatin1String(kind.defaultName)));
    else
        box.setDirectory(folder);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return {};
    QString chosen = box.selectedFiles().constFirst();
    settings.setFolder(kind.folder, QFileInfo(chosen).absolutePath());
    return chosen;
}

} // namespace mq7410
