// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// POSIX signals as a Qt signal. The handler only writes the signal's number to a pipe; the
// event loop reads it, so nothing unsafe runs in the handler. Where the system has no such
// signals, nothing is watched.

#include <QObject>

#include <initializer_list>
#include <vector>

class QSocketNotifier;

namespace mq7410 {

class SignalWatcher : public QObject
{
    Q_OBJECT
public:
    // One instance per process: the handlers share one pipe. The signals get their default
    // handling back when it goes.
    explicit SignalWatcher(std::initializer_list<int> signalNumbers, QObject *parent = nullptr);
    ~SignalWatcher() override;
    SignalWatcher(const SignalWatcher &) = delete;
    SignalWatcher &operator=(const SignalWatcher &) = delete;

    // SIGTERM, SIGINT and SIGHUP: the ends a terminal or a service manager asks for.
    static std::initializer_list<int> terminationSignals();

signals:
    void received(int signalNumber);

private:
    void readPipe();

    std::vector<int> m_signals;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace mq7410
