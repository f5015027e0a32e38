// SPDX-License-Identifier: GPL-3.0-or-later
#include "simprocess.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>

#ifdef __linux__
#include <csignal>
#include <sys/prctl.h>
#endif

namespace mq7410::test {

SimProcess::~SimProcess()
{
    m_process.kill();
    m_process.waitForFinished(WaitMs);
}

bool SimProcess::start(const QStringList &extraArguments)
{
#ifdef __linux__
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
#endif
    m_process.setWorkingDirectory(m_dir.path());
    m_process.start(qEnvironmentVariable("MQ7410_SIM",
                                         QCoreApplication::applicationDirPath() + "/../mq7410-sim"),
                    QStringList{"--log", m_dir.filePath("sim.jsonl")} + extraArguments);
    while (!m_process.canReadLine() && m_process.waitForReadyRead(WaitMs)) {}
    const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
    m_device = line.mid(8);
    return line.startsWith(QLatin1String("device: "));
}

bool SimProcess::terminate()
{
    m_process.terminate();
    return m_process.waitForFinished(WaitMs) && m_process.exitStatus() == QProcess::NormalExit
           && m_process.exitCode() == 0;
}

QString SimProcess::output()
{
    m_output += QString::fromUtf8(m_process.readAllStandardOutput());
    return m_output;
}

QList<QJsonObject> SimProcess::records(const QString &event) const
{
    QList<QJsonObject> records;
    QFile file(m_dir.filePath("sim.jsonl"));
    if (!file.open(QIODevice::ReadOnly))
        return records;
    QList<QByteArray> lines = file.readAll().split('\n');
    lines.removeLast(); // empty, or a line still being written
    for (const QByteArray &line : lines) {
        const QJsonObject record = QJsonDocument::fromJson(line).object();
        if (event.isEmpty() || record["event"].toString() == event)
            records << record;
    }
    return records;
}

QStringList SimProcess::frames() const
{
    QStringList frames;
    for (const QJsonObject &record : records("frame"))
        frames << record["frame"].toString();
    return frames;
}

QJsonObject SimProcess::state() const
{
    QJsonObject state;
    for (const QJsonObject &record : records()) {
        if (record.contains(QLatin1String("state")))
            state = record["state"].toObject();
    }
    return state;
}

QJsonObject supplyState(int ch1V, int ch1I, int ch2V, int ch2I, bool output, bool link)
{
    return {{"ch1_voltage", ch1V}, {"ch1_current", ch1I}, {"ch2_voltage", ch2V},
            {"ch2_current", ch2I}, {"output", output},    {"link", link}};
}

} // namespace mq7410::test
