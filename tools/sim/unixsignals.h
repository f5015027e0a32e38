// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// SIGTERM and SIGINT, and SIGUSR1, as Qt signals (Unix-like systems only). The handler only
// writes the signal number to a pipe; the event loop reads it, so nothing unsafe runs in the
// handler.

#include <QObject>

class QSocketNotifier;

namespace mq7410::sim {

class UnixSignals : public QObject
{
    Q_OBJECT
public:
    // One instance per process: the handlers share one pipe.
    explicit UnixSignals(QObject *parent = nullptr);
    ~UnixSignals() override;

signals:
    void terminationRequested(int signalNumber); // SIGTERM, SIGINT
    void unplugRequested();                      // SIGUSR1

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace mq7410::sim
