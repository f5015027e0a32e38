// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's file dialogs: each kind starts in the folder last used for it, and a save
// dialog adds the suffix before it checks the name, so that every existing file is confirmed
// before it is replaced.

#include <QString>

class QWidget;

namespace mq7410 {

class Settings;

enum class FileDialog { OpenSequence, SaveSequence, SaveFrameLog, SaveChartImage };

// The chosen file, or empty when the dialog was cancelled. `suggested`: a name to start with.
QString askForFile(QWidget *parent, FileDialog dialog, Settings &settings,
                   const QString &suggested = {});

} // namespace mq7410
