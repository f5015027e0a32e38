// SPDX-License-Identifier: GPL-3.0-or-later
#include "simlog.h"

#include "benchtools.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace mq7410::bench {

QString startSim(QProcess &sim, const QString &program, const QString &log)
{
    sim.start(program, {QStringLiteral("--log"), log});
    if (!sim.waitForStarted(10000))
        failWith("cannot start " + program.toStdString());
    while (!sim.canReadLine() && sim.waitForReadyRead(10000)) {}
    const QString line = QString::fromUtf8(sim.readLine()).trimmed();
    if (!line.startsWith(QLatin1String("device: ")))
        failWith("no device line from " + program.toStdString());
    return line.mid(8);
}

QList<SimFrame> framesSince(const QString &log, std::int64_t sinceNs)
{
    QList<SimFrame> frames;
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return frames;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QJsonObject record = QJsonDocument::fromJson(line).object();
        const std::int64_t time = record[QLatin1String("t_ns")].toInteger();
        if (record[QLatin1String("event")].toString() == QLatin1String("frame") && time >= sinceNs)
            frames.append({record[QLatin1String("frame")].toString(), time});
    }
    return frames;
}

std::optional<long long> statusKb(qint64 pid, const char *field)
{
    QFile status(pid == 0 ? QStringLiteral("/proc/self/status")
                          : QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix)) {
            bool ok = false;
            const long long kb
                    = line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong(&ok);
            if (ok)
                return kb;
        }
    }
    return std::nullopt;
}

} // namespace mq7410::bench
