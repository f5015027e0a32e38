// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A window of its own beside the panel (the frame log, the sequence chart): Esc and Ctrl+W
// close it, unless a run takes Esc for Stop, and it opens again where it stood, also after the
// program ended with it open.

#include <QWidget>

namespace mq7410 {

class Settings;

class SideWindow : public QWidget
{
    Q_OBJECT
public:
    // `name`: the object name, which is also the key of its place in the settings. The place is
    // restored once the subclass has set its default size: call restorePlace() then.
    SideWindow(const QString &name, Settings &settings, QWidget *parent);

protected:
    void restorePlace();
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    Settings &m_settings;
};

} // namespace mq7410
