#include "simprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>

namespace mq7410::test {

SimProcess::SimProcess()
{
    m_process.setProgram(program());
}

SimProcess::~SimProcess()
{
    if (isRunning()) {
        m_process.kill();
        m_process.waitForFinished(WaitMs);
    }
}

QString SimProcess::program()
{
    const QString fromBuild = qEnvironmentVariable("MQ7410_SIM");
    return fromBuild.isEmpty() ? QCoreApplication::applicationDirPath() + "/../mq7410-sim"
                               : fromBuild;
}

bool SimProcess::start(const QStringList &extraArguments)
{
    m_process.setArguments(QStringList{"--log", logPath()} + extraArguments);
    m_process.start();
    if (!m_process.waitForStarted(WaitMs))
        return false;
    for (QElapsedTimer waited; !m_process.canReadLine() && waited.elapsed() < WaitMs;) {
        if (!m_process.waitForReadyRead(WaitMs - int(waited.elapsed())))
            break;
    }
    const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
    if (!line.startsWith(QLatin1String("device: ")))
        return false;
    m_device = line.mid(8);
    return true;
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

QList<QJsonObject> SimProcess::records() const
{
    QList<QJsonObject> records;
    QFile file(logPath());
    if (!file.open(QIODevice::ReadOnly))
        return records;
    QList<QByteArray> lines = file.readAll().split('\n');
    lines.removeLast(); // empty, or a line still being written
    for (const QByteArray &line : lines) {
        const QJsonDocument document = QJsonDocument::fromJson(line);
        records << (document.isObject() ? document.object()
                                        : QJsonObject{{"event", "not JSON"},
                                                      {"line", QString::fromUtf8(line)}});
    }
    return records;
}

QList<QJsonObject> SimProcess::records(const QString &event) const
{
    QList<QJsonObject> matching;
    for (const QJsonObject &record : records()) {
        if (record["event"].toString() == event)
            matching << record;
    }
    return matching;
}

QStringList SimProcess::frames() const
{
    QStringList frames;
    for (const QJsonObject &record : records(QStringLiteral("frame")))
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
