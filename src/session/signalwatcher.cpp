// SPDX-License-Identifier: GPL-3.0-or-later
#include "signalwatcher.h"

#include <QSocketNotifier>

#include <csignal>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace mq7410 {

#if defined(Q_OS_UNIX)

namespace {

int s_pipe[2] = {-1, -1};

void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(s_pipe[1], &byte, 1);
    errno = savedErrno;
}

bool makePipe()
{
    if (::pipe(s_pipe) != 0)
        return false;
    for (const int descriptor : s_pipe) {
        ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) | O_NONBLOCK);
        ::fcntl(descriptor, F_SETFD, FD_CLOEXEC);
    }
    return true;
}

} // namespace

std::initializer_list<int> SignalWatcher::terminationSignals()
{
    static const std::initializer_list<int> Signals{SIGTERM, SIGINT, SIGHUP};
    return Signals;
}

SignalWatcher::SignalWatcher(std::initializer_list<int> signalNumbers, QObject *parent)
    : QObject(parent)
    , m_signals(signalNumbers)
{
    if (!makePipe())
        return;
    m_notifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatcher::readPipe);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : m_signals)
        ::sigaction(number, &action, nullptr);
}

SignalWatcher::~SignalWatcher()
{
    for (const int number : m_signals)
        ::signal(number, SIG_DFL);
    delete m_notifier;
    for (int &descriptor : s_pipe) {
        if (descriptor >= 0)
            ::close(descriptor);
        descriptor = -1;
    }
}

void SignalWatcher::readPipe()
{
    char byte = 0;
    while (::read(s_pipe[0], &byte, 1) == 1)
        emit received(byte);
}

#else

std::initializer_list<int> SignalWatcher::terminationSignals()
{
    static const std::initializer_list<int> Signals{SIGTERM, SIGINT};
    return Signals;
}

SignalWatcher::SignalWatcher(std::initializer_list<int>, QObject *parent)
    : QObject(parent)
{}

SignalWatcher::~SignalWatcher() = default;

void SignalWatcher::readPipe() {}

#endif

} // namespace mq7410
