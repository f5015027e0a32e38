// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingsdialog.h"

#include "settings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>

namespace mq7410 {
namespace {

const char *const LimitNames[SetPointCount]
        = {"CH1VoltageLimit", "CH1CurrentLimit", "CH2VoltageLimit", "CH2CurrentLimit"};

QDoubleSpinBox *makeLimit(SetPoint setPoint, int value, QWidget *parent)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(LimitNames[indexOf(setPoint)]));
    box->setAccessibleName(QStringLiteral("%1 limit").arg(QLatin1String(nameOf(setPoint))));
    box->setDecimals(isVoltage(setPoint) ? 2 : 3);
    box->setSingleStep(isVoltage(setPoint) ? 0.1 : 0.01);
    box->setRange(0.0, unitsOf(setPoint, limitOf(setPoint)));
    box->setSuffix(isVoltage(setPoint) ? QStringLiteral(" V") : QStringLiteral(" A"));
    box->setValue(unitsOf(setPoint, value));
    return box;
}

} // namespace

SettingsDialog::SettingsDialog(Settings &settings, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("SettingsDialog"));
    setWindowTitle(QStringLiteral("Settings"));

    auto *limits = new QGroupBox(QStringLiteral("Highest values the panel sends"), this);
    auto *limitForm = new QFormLayout(limits);
    const SetPointValues values = settings.limits();
    for (const SetPoint setPoint : AllSetPoints) {
        QDoubleSpinBox *box = makeLimit(setPoint, valueOf(values, setPoint), limits);
        m_limits[std::size_t(indexOf(setPoint))] = box;
        QString label = QLatin1String(nameOf(setPoint)) + QLatin1Char(':');
        label[0] = label[0].toUpper();
        limitForm->addRow(label, box);
    }
    auto *note = new QLabel(QStringLiteral("The supply's own range is 0 to 32.00 V and 0 to "
                                           "3.000 A. In series, channel 1 keeps channel 2's "
                                           "limits too."),
                            limits);
    note->setWordWrap(true);
    limitForm->addRow(note);

    m_outputOff = new QCheckBox(QStringLiteral("Switch the output &off when the panel ends"), this);
    m_outputOff->setObjectName(QStringLiteral("OutputOffAtEnd"));
    m_outputOff->setChecked(settings.endAction() == EndAction::OutputOff);
    m_outputOff->setToolTip(QStringLiteral("On Exit, when the window is closed, and on SIGTERM, "
                                           "SIGINT or SIGHUP. A run still active is always "
                                           "stopped first with its Finish row."));

    m_remoteAddress = new QLineEdit(settings.remoteAddress(), this);
    m_remoteAddress->setObjectName(QStringLiteral("RemoteAddress"));
    m_remoteAddress->setAccessibleName(QStringLiteral("Remote control address"));
    auto *remoteForm = new QFormLayout;
    remoteForm->addRow(QStringLiteral("Remote control &address:"), m_remoteAddress);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(limits);
    layout->addWidget(m_outputOff);
    layout->addLayout(remoteForm);
    layout->addWidget(buttons);
}

void SettingsDialog::apply()
{
    SetPointValues limits{};
    for (const SetPoint setPoint : AllSetPoints) {
        const double units = m_limits.at(std::size_t(indexOf(setPoint)))->value();
        valueOf(limits, setPoint)
                = static_cast<std::int16_t>(std::lround(units * stepsPerUnit(setPoint)));
    }
    m_settings.setLimits(limits);
    m_settings.setEndAction(m_outputOff->isChecked() ? EndAction::OutputOff : EndAction::LeaveAsIs);
    m_settings.setRemoteAddress(m_remoteAddress->text().trimmed());
}

} // namespace mq7410
