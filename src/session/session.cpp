// SPDX-License-Identifier: GPL-3.0-or-later
#include "session.h"

#include "sequencefile.h"
#include "serialline.h"
#include "tablefile.h"

namespace mq7410 {
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
        used = Failure{FailureKind::Port,
                       "COM " + std::to_string(number) + " (" + trial.device
                               + ") could not be opened: " + trial.opened.failure().text};
    } else if (boxes && !askToUse(*boxes, number, trial.description)) {
        (void)m_line->close();
        used = Failure{FailureKind::Port,
                       "COM " + std::to_string(number) + " (" + trial.device + ") was not taken."};
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
    const Result<int> zeroed = m_panel.loadTable(*texts);
    if (!zeroed)
        return zeroed.failure();
    m_sequencePath = path;
    m_sequenceBytes = *bytes;
    // A value the boxes do not take shows 0, as if typed: say so, or a Save would lose it unseen.
    m_loadNote = *zeroed == 0 ? QString()
                              : QStringLiteral("%1: %2 value(s) the boxes do not take (above a "
                                               "limit, or beyond the supply's range) show 0")
                                        .arg(displayName(path))
                                        .arg(*zeroed);
    emit changed();
    return {};
}

Status Session::saveSequence(const QByteArray &path)
{
    m_panel.completeEntries(); // a box still being typed in is saved as it will be taken
    // Every table written must open again: one the file cannot hold is not written.
    if (const Status fits = checkTable(m_panel.tableTexts()); !fits) {
        return Failure{FailureKind::File,
                       displayName(path).toStdString() + " was not saved: " + fits.failure().text};
    }
    const std::string file = writeSequence(m_panel.tableTexts());
    const QByteArray bytes(file.data(), qsizetype(file.size()));
    if (Status saved = saveAtomically(path, bytes); !saved)
        return saved;
    m_panel.markTableSaved();
    m_sequencePath = path;
    m_sequenceBytes = bytes;
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

Status Session::end(EndAction action)
{
    if (m_ended)
        return {};
    m_ended = true;
    if (m_panel.running())
        (void)m_panel.stop(); // the Finish row: the run must not stay at one of its steps
    if (action == EndAction::OutputOff)
        (void)m_panel.setOutput(false);
    m_timer.stop();
    m_timer.setInterval(1000);
    return m_line->shutdown();
}

} // namespace mq7410
