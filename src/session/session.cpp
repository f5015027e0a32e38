// SPDX-License-Identifier: GPL-3.0-or-later
#include "session.h"

#include "runstatus.h"
#include "sequencefile.h"
#include "serialline.h"
#include "tablefile.h"

#include <QDateTime>

namespace mq7410 {
namespace {

const char *const WaitingStatus = "waiting for the line";

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
        return "not sent: " + record.reason;
    case FrameStatus::Cut:
        break;
    }
    return "cut: " + record.reason;
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

Session::Acting::Acting(Session &session, QString origin)
    : m_session(session)
    , m_previous(std::exchange(session.m_origin, std::move(origin)))
{}

Session::Acting::~Acting()
{
    m_session.m_origin = m_previous;
}

Session::Session(std::unique_ptr<Settings> settings, const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_settings(std::move(settings))
    , m_line(std::make_unique<SerialLine>())
    , m_panel(*m_line, clock)
{
    m_timer.setObjectName(QStringLiteral("Timer1"));
    m_timer.setParent(this);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setSingleShot(true);
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_ticking = true;
        m_panel.tick();
        m_ticking = false;
    });
    m_panel.setLimits(m_settings->limits());
    m_panel.setObserver(this);
    // The rest of a frame leaves from the event loop, never inside one of the panel's actions.
    connect(m_line.get(), &SerialLine::waitingSettled, this,
            [this](const Status &result) { m_panel.settleWaiting(result); });
    // A line can be lost inside an action of the panel: the panel hears of it after that.
    connect(m_line.get(), &SerialLine::lost, this, &Session::onLineLost, Qt::QueuedConnection);
}

Session::~Session()
{
    m_panel.setObserver(nullptr);
    m_timer.setParent(nullptr); // a member: not for QObject to delete
}

WalkResult Session::walkPorts(MessageBoxes &boxes)
{
    WalkResult walk = mq7410::walkPorts(*m_line, boxes);
    emit changed();
    return walk;
}

Status Session::openPort(const std::string &name)
{
    const PortTrial trial = m_line->openNamed(name);
    if (trial.device.empty())
        return Failure{FailureKind::Port, "there is no " + name + " on this machine"};
    if (!trial.opened)
        return Failure{FailureKind::Port, trial.device + ": " + trial.opened.failure().text};
    emit changed();
    return {};
}

std::vector<PortInfo> Session::listPorts()
{
    return m_line->listPorts();
}

Status Session::usePort(int number, MessageBoxes *boxes)
{
    const std::string device = SerialLine::deviceOf(number);
    if (device.empty())
        return Failure{FailureKind::Port, "There is no COM " + std::to_string(number) + " now."};
    // The old line goes first: the new one may be the same device under its new name.
    if (m_line->isOpen())
        (void)m_line->close();
    const PortTrial trial = m_line->open(number);
    Status used;
    if (!trial.opened) {
        used = Failure{FailureKind::Port, "COM " + std::to_string(number) + " (" + trial.device
                                                  + ") could not be opened: "
                                                  + trial.opened.failure().text};
    } else if (boxes && !askToUse(*boxes, number, trial.description)) {
        (void)m_line->close();
        used = Failure{FailureKind::Port, "COM " + std::to_string(number) + " (" + trial.device
                                                  + ") was not taken."};
    }
    // Whatever happened, the supply may hold anything now: it was not reachable, or a
    // stranger's device was offered.
    m_panel.forgetSupplyState();
    emit changed();
    return used;
}

PortStatus Session::portStatus() const
{
    return {m_line->portNumber(), m_line->device(), m_line->isOpen(), m_line->disconnectReason()};
}

Status Session::openSequence(const QByteArray &path)
{
    if (m_panel.running()) {
        return Failure{FailureKind::Busy,
                       displayName(path).toStdString() + ": the table is in use by a run"};
    }
    const Result<QByteArray> bytes = readTableFile(path);
    if (!bytes)
        return bytes.failure();
    const Result<SequenceTexts> texts = parseTableFile(path, *bytes);
    if (!texts)
        return texts.failure();
    if (Status loaded = m_panel.loadTable(*texts); !loaded)
        return loaded;
    m_sequencePath = path;
    m_sequenceBytes = *bytes;
    m_settings->addRecentFile(path);
    emit changed();
    return {};
}

Status Session::saveSequence(const QByteArray &path)
{
    m_panel.completeEntries(); // a box still being typed in is saved as it will be taken
    // Every table written must open again: one the file cannot hold is not written.
    if (const Status fits = checkTable(m_panel.tableTexts()); !fits) {
        return Failure{FailureKind::File, displayName(path).toStdString()
                                                  + " was not saved: " + fits.failure().text};
    }
    const std::string file = writeSequence(m_panel.tableTexts());
    const QByteArray bytes(file.data(), qsizetype(file.size()));
    if (Status saved = saveAtomically(path, bytes); !saved)
        return saved;
    m_panel.markTableSaved();
    m_sequencePath = path;
    m_sequenceBytes = bytes;
    m_settings->addRecentFile(path);
    emit changed();
    return {};
}

bool Session::sequenceChangedOnDisk() const
{
    if (m_sequencePath.isEmpty())
        return false;
    const Result<QByteArray> bytes = readTableFile(m_sequencePath);
    return !bytes || *bytes != m_sequenceBytes;
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
    const std::uint64_t id = m_history.add(entry);
    entry.id = id;
    emit logged(entry, false);
    return id;
}

void Session::onFrameTried(const FrameRecord &record)
{
    const QString origin = m_ticking ? QStringLiteral("run") : m_origin;
    const std::uint64_t id
            = log({0, {}, record.frame, record.meaning, origin.toStdString(), statusText(record)});
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
    const QString file = m_sequencePath.isEmpty() ? QStringLiteral("the table")
                                                  : displayName(m_sequencePath);
    const QString cycles = ending.cycles > 1 ? QStringLiteral(" in cycle %1").arg(ending.cycles)
                                             : QString();
    m_lastRunEnding = QStringLiteral("Run of %1 %2%3 at %4")
                              .arg(file, fromStd(runEndText(ending)), cycles,
                                   QDateTime::currentDateTime().toString(
                                           QStringLiteral("HH:mm:ss")));
    const QString origin = m_ticking ? QStringLiteral("run") : m_origin;
    log({0, {}, {}, m_lastRunEnding.toStdString(), origin.toStdString(), {}});
    emit runEnded(ending);
}

void Session::onChanged()
{
    armTimer();
    emit changed();
}

void Session::armTimer()
{
    constexpr std::int64_t NsPerMs = 1'000'000;
    if (const std::optional<std::int64_t> ns = m_panel.nsUntilNextTick()) {
        // Rounded up, so the timer never wakes before the tick is due.
        m_timer.start(static_cast<int>((*ns + NsPerMs - 1) / NsPerMs));
    } else {
        m_timer.stop();
        m_timer.setInterval(1000);
    }
}

void Session::onLineLost(const QString &reason)
{
    m_panel.lineLost(reason.toStdString());
    emit lineLost(reason);
    emit changed();
}

Status Session::end()
{
    if (m_ended)
        return {};
    m_ended = true;
    if (m_panel.running())
        (void)m_panel.stop(); // the Finish row: the run must not stay at one of its steps
    if (m_settings->endAction() == EndAction::OutputOff)
        (void)m_panel.setOutput(false);
    m_timer.stop();
    m_timer.setInterval(1000);
    return m_line->shutdown();
}

} // namespace mq7410
