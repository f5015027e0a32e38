// SPDX-License-Identifier: GPL-3.0-or-later
#include "unixsignals.h"

#if !defined(__unix__) && !defined(__APPLE__)
#error "mq7410-sim watches POSIX signals: it is for Unix-like systems only"
#endif

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace mq7410::sim {

namespace {

int s_pipe[2] = {-1, -1};
constexpr int Watched[] = {SIGTERM, SIGINT, SIGUSR1};

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

UnixSignals::UnixSignals(QObject *parent)
    : QObject(parent)
{
    if (!makePipe())
        return;
    m_notifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UnixSignals::readPipe);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : Watched)
        ::sigaction(signalNumber, &action, nullptr);
}

UnixSignals::~UnixSignals()
{
    for (const int signalNumber : Watched)
        ::signal(signalNumber, SIG_DFL);
    delete m_notifier;
    for (int &descriptor : s_pipe) {
        if (descriptor >= 0)
            ::close(descriptor);
        descriptor = -1;
    }
}

void UnixSignals::readPipe()
{
    char byte = 0;
    while (::read(s_pipe[0], &byte, 1) == 1) {
        if (byte == SIGUSR1)
            emit unplugRequested();
        else
            emit terminationRequested(byte);
    }
}

} // namespace mq7410::sim
