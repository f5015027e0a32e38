// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "elidedlabel.h"

#include <QPushButton>
#include <QWidget>

class QHBoxLayout;

namespace mq7410 {

// The fields of the status bar, three lines: the port, the SCPI server and the sequence file;
// the last frame; where a run stands (or how the last one ended) and a note on what was just
// typed, which share their line by the length of their texts; with Stop beside them during a
// run. Every field elides what does not fit.
class StatusFields : public QWidget
{
    Q_OBJECT
public:
    explicit StatusFields(QWidget *parent = nullptr);

    // `error`: the text shows in the error colour.
    static void show(ElidedLabel *field, const QString &text, bool error = false);
    // The run's line and the note, which share the last line.
    void showLastLine(const QString &run, const QString &note);

    ElidedLabel *PortStatus = nullptr;
    ElidedLabel *RemoteStatus = nullptr;
    ElidedLabel *FileStatus = nullptr;
    ElidedLabel *FrameStatus = nullptr;
    ElidedLabel *RunStatus = nullptr;
    ElidedLabel *NoteStatus = nullptr;
    QPushButton *StopCommand = nullptr;

private:
    void shareLastLine();

    QHBoxLayout *m_lastLine = nullptr;
};

} // namespace mq7410
