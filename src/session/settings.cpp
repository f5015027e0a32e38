// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings.h"

#include <QDir>
#include <QStandardPaths>

namespace mq7410 {
namespace {

const char *const LimitKeys[SetPointCount]
        = {"limits/ch1_voltage", "limits/ch1_current", "limits/ch2_voltage", "limits/ch2_current"};

QString folderKey(FileKind kind)
{
    switch (kind) {
    case FileKind::Sequence:
        return QStringLiteral("folders/sequence");
    case FileKind::FrameLog:
        return QStringLiteral("folders/frame_log");
    case FileKind::ChartImage:
        break;
    }
    return QStringLiteral("folders/chart_image");
}

} // namespace

QString defaultSettingsFile()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
            .filePath(QStringLiteral("mq7410/mq7410.conf"));
}

Settings::Settings()
    : Settings(defaultSettingsFile())
{}

Settings::Settings(const QString &fileName)
    : m_settings(fileName, QSettings::IniFormat)
{}

SetPointValues Settings::limits() const
{
    SetPointValues limits = SupplyLimits;
    for (const SetPoint setPoint : AllSetPoints) {
        bool ok = false;
        const int value = m_settings.value(QLatin1String(LimitKeys[indexOf(setPoint)])).toInt(&ok);
        // A value out of range (a file edited by hand) counts as no limit of the user's.
        if (ok && value >= 0 && value <= limitOf(setPoint))
            valueOf(limits, setPoint) = static_cast<std::int16_t>(value);
    }
    return limits;
}

void Settings::setLimits(const SetPointValues &limits)
{
    for (const SetPoint setPoint : AllSetPoints)
        m_settings.setValue(QLatin1String(LimitKeys[indexOf(setPoint)]), valueOf(limits, setPoint));
}

EndAction Settings::endAction() const
{
    return m_settings.value(QStringLiteral("end/output_off"), false).toBool()
                   ? EndAction::OutputOff
                   : EndAction::LeaveAsIs;
}

void Settings::setEndAction(EndAction action)
{
    m_settings.setValue(QStringLiteral("end/output_off"), action == EndAction::OutputOff);
}

bool Settings::remoteControl() const
{
    return m_settings.value(QStringLiteral("remote/on"), false).toBool();
}

void Settings::setRemoteControl(bool on)
{
    m_settings.setValue(QStringLiteral("remote/on"), on);
}

QString Settings::remoteAddress() const
{
    return m_settings.value(QStringLiteral("remote/address"), QLatin1String(DefaultRemoteAddress))
            .toString();
}

void Settings::setRemoteAddress(const QString &address)
{
    m_settings.setValue(QStringLiteral("remote/address"), address);
}

QList<QByteArray> Settings::recentFiles() const
{
    QList<QByteArray> files;
    for (const QVariant &file : m_settings.value(QStringLiteral("recent/files")).toList())
        files.append(file.toByteArray());
    return files;
}

void Settings::addRecentFile(const QByteArray &path)
{
    QList<QByteArray> files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    QVariantList list;
    for (const QByteArray &file : files.first(std::min<qsizetype>(files.size(), MaxRecentFiles)))
        list.append(file);
    m_settings.setValue(QStringLiteral("recent/files"), list);
}

QString Settings::folder(FileKind kind) const
{
    return m_settings.value(folderKey(kind), QDir::homePath()).toString();
}

void Settings::setFolder(FileKind kind, const QString &folder)
{
    m_settings.setValue(folderKey(kind), folder);
}

QString Settings::chartScale() const
{
    return m_settings.value(QStringLiteral("chart/scale")).toString();
}

void Settings::setChartScale(const QString &scale)
{
    m_settings.setValue(QStringLiteral("chart/scale"), scale);
}

QByteArray Settings::geometry(const QString &window) const
{
    return m_settings.value(QStringLiteral("windows/") + window).toByteArray();
}

void Settings::setGeometry(const QString &window, const QByteArray &geometry)
{
    m_settings.setValue(QStringLiteral("windows/") + window, geometry);
}

} // namespace mq7410
