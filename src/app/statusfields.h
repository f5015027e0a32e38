#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace mq7410 {

// The fields of the status bar: the port in use and the sequence file; the last frame; during
// a run, where it stands, with Stop beside the fields.
class StatusFields : public QWidget
{
    Q_OBJECT
public:
    explicit StatusFields(QWidget *parent = nullptr);

    // `error`: the text shows in the error colour.
    static void show(QLabel *field, const QString &text, bool error = false);

    QLabel *PortStatus = nullptr;
    QLabel *FileStatus = nullptr;
    QLabel *FrameStatus = nullptr;
    QLabel *RunStatus = nullptr;
    QPushButton *StopCommand = nullptr;
};

} // namespace mq7410
