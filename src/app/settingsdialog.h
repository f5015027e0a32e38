// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// File > Settings...: the user's limits per channel, how the panel ends, and the address of the
// remote control.

#include "setpoint.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;

namespace mq7410 {

class Settings;

class SettingsDialog : public QDialog
{
    Q_OBJECT
public:
    SettingsDialog(Settings &settings, QWidget *parent = nullptr);

    // Writes what the dialog shows into the settings.
    void apply();

private:
    Settings &m_settings;
    std::array<QDoubleSpinBox *, SetPointCount> m_limits{}; // by SetPoint
    QCheckBox *m_outputOff = nullptr;
    QLineEdit *m_remoteAddress = nullptr;
};

} // namespace mq7410
