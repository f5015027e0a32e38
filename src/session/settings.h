// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the program remembers between sessions, in one place: the limits and how the panel
// ends (which protect the bench), the remote control, and the front ends' conveniences. Nothing
// remembered changes start-up or what is sent unless the user set it so.

#include "setpoint.h"

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>

namespace mq7410 {

enum class EndAction {
    LeaveAsIs, // the supply keeps what it was last sent
    OutputOff, // the output is switched off first
};

// The folders file dialogs start in, one per kind of file.
enum class FileKind { Sequence, FrameLog, ChartImage };

class Settings
{
public:
    static constexpr int MaxRecentFiles = 8;
    static constexpr const char *DefaultRemoteAddress = "127.0.0.1:5025";

    // The settings file under the system's configuration folder (QStandardPaths).
    Settings();
    // Another file: tests, and anyone who wants the settings elsewhere.
    explicit Settings(const QString &fileName);

    SetPointValues limits() const;
    void setLimits(const SetPointValues &limits);
    EndAction endAction() const;
    void setEndAction(EndAction action);

    bool remoteControl() const;
    void setRemoteControl(bool on);
    QString remoteAddress() const;
    void setRemoteAddress(const QString &address);

    // Newest first, as the system names them (bytes: a name need not be UTF-8).
    QList<QByteArray> recentFiles() const;
    void addRecentFile(const QByteArray &path);
    QString folder(FileKind kind) const;
    void setFolder(FileKind kind, const QString &folder);

    QString chartScale() const;
    void setChartScale(const QString &scale);
    QByteArray geometry(const QString &window) const;
    void setGeometry(const QString &window, const QByteArray &geometry);

    void sync() { m_settings.sync(); }

private:
    QSettings m_settings;
};

// The settings file's place: <configuration folder>/mq7410/mq7410.conf.
QString defaultSettingsFile();

} // namespace mq7410
