// SPDX-License-Identifier: GPL-3.0-or-later
// What the session records and says: the frame log with each frame's origin and status, how
// each run ended, and the words of a run's progress with its wall-clock end.

#include "session.h"

#include "runstatus.h"
#include "tablefile.h"

#include <QDateTime>

namespace mq7410 {
namespace {

const char *const WaitingStatus = "waiting for the line";
const char *const RefusedStatus = "not sent: ";
const char *const CutStatus = "cut: ";

QString fromStd(const std::string &text)
{
    return QString::fromStdString(text);
}

std::string statusText(const FrameRecord &record)
{
    switch (record.status) {
    case FrameStatus::Sent:
        return "sent";
    case FrameStatus::Waiting:
        return WaitingStatus;
    case FrameStatus::Refused:
        return RefusedStatus + record.reason;
    case FrameStatus::Cut:
        break;
    }
    return CutStatus + record.reason;
}

std::string now()
{
    return QDateTime::currentDateTime()
            .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))
            .toStdString();
}

} // namespace

bool waitingForLine(const LoggedFrame &entry)
{
    return entry.status == WaitingStatus;
}

bool frameFailed(const LoggedFrame &entry)
{
    return entry.status.starts_with(RefusedStatus) || entry.status.starts_with(CutStatus);
}

QString wallTimeIn(std::int64_t seconds)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime then = now.addSecs(seconds);
    return then.toString(then.date() == now.date() ? QStringLiteral("HH:mm:ss")
                                                   : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString runStatusLine(const RunProgress &progress, bool outputOn)
{
    QString line = fromStd(runStatusText(progress));
    if (progress.secondsLeftInRun)
        line += QStringLiteral(" (%1)").arg(wallTimeIn(*progress.secondsLeftInRun));
    if (!outputOn)
        line += QStringLiteral(" \u00b7 the output is off: the run only sets values");
    return line;
}

void Session::clearHistory()
{
    m_history.clear();
    m_waitingEntry.reset();
    emit changed();
}

std::uint64_t Session::log(LoggedFrame entry)
{
    entry.time = now();
    entry.origin = (m_ticking ? QStringLiteral("run") : m_origin).toStdString();
    const std::uint64_t id = m_history.add(entry);
    entry.id = id;
    emit logged(entry, false);
    return id;
}

void Session::onFrameTried(const FrameRecord &record)
{
    const std::uint64_t id = log({0, {}, record.frame, record.meaning, {}, statusText(record)});
    if (record.status == FrameStatus::Waiting)
        m_waitingEntry = id;
}

void Session::onFrameSettled(const FrameRecord &record)
{
    if (!m_waitingEntry)
        return;
    if (LoggedFrame *entry = m_history.find(*m_waitingEntry)) {
        entry->status = statusText(record);
        emit logged(*entry, true);
    }
    m_waitingEntry.reset();
}

void Session::onRunEnded(const RunEnding &ending)
{
    const QString file
            = m_sequencePath.isEmpty() ? QStringLiteral("the table") : displayName(m_sequencePath);
    const QString cycles
            = ending.cycles > 1 ? QStringLiteral(" in cycle %1").arg(ending.cycles) : QString();
    m_lastRunEnding
            = QStringLiteral("Run of %1 %2%3 at %4")
                      .arg(file, fromStd(runEndText(ending)), cycles,
                           QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss")));
    log({0, {}, {}, m_lastRunEnding.toStdString(), {}, {}});
    emit runEnded(ending);
}

} // namespace mq7410
