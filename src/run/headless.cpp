// SPDX-License-Identifier: GPL-3.0-or-later
#include "headless.h"

#include "exitstatus.h"

namespace mq7410::run {

Headless::Headless(const Options &options, Printer &printer)
    : m_options(options)
    , m_printer(printer)
    , m_signals(SignalWatcher::terminationSignals())
{
    m_session.setDefaultOrigin(QStringLiteral("command line"));
    connect(&m_session, &Session::logged, this, &Headless::onLogged);
    connect(&m_signals, &SignalWatcher::received, this, &Headless::signalled);
    connect(&m_session, &Session::lineLost, this, [this](const QString &reason) {
        m_lineLost = true;
        m_printer.message(QStringLiteral("the line failed: ") + reason);
    });
}

int Headless::open()
{
    if (!m_options.logPath.isEmpty()) {
        if (const Status opened = m_log.open(m_options.logPath); !opened) {
            m_printer.message(QString::fromStdString(opened.failure().text));
            return Refused;
        }
    }
    if (const Status opened = m_session.openPort(m_options.port); !opened) {
        m_printer.message(QString::fromStdString(opened.failure().text));
        return statusOf(opened.failure());
    }
    return Done;
}

void Headless::printFrames(bool withOrigin)
{
    if (m_options.quiet)
        return;
    connect(this, &Headless::settled, this, [this, withOrigin](const LoggedFrame &entry) {
        QStringList fields{QString::fromStdString(entry.time)};
        for (const std::string *field :
             {&entry.frame, &entry.meaning, &entry.origin, &entry.status}) {
            if (!field->empty() && (withOrigin || field != &entry.origin))
                fields << QString::fromStdString(*field);
        }
        m_printer.line(fields.join(QStringLiteral("  ")));
    });
}

int Headless::finish(int status)
{
    (void)m_session.panel().finishWaiting();
    if (const Status ended = m_session.end(); !ended) {
        m_printer.message(QString::fromStdString(ended.failure().text));
        status = LineFailed;
    }
    // Not settled even by the end: the log keeps it as it stood.
    if (m_waiting)
        record(*std::exchange(m_waiting, std::nullopt));
    if (m_lineLost && status < LineFailed)
        status = LineFailed;
    if (m_printer.failed()) {
        m_printer.message(QStringLiteral("standard output could not be written"));
        status = status == Done ? Refused : status;
    }
    return m_logFailed && status == Done ? Refused : status;
}

void Headless::onLogged(const LoggedFrame &entry, bool update)
{
    if (!update && waitingForLine(entry)) {
        m_waiting = entry;
        return;
    }
    if (update)
        m_waiting.reset();
    record(entry);
}

void Headless::record(const LoggedFrame &entry)
{
    if (const Status written = m_log.write(entry); !written) {
        m_logFailed = true;
        m_printer.message(QString::fromStdString(written.failure().text));
    }
    emit settled(entry);
}

} // namespace mq7410::run
