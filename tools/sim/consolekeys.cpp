// SPDX-License-Identifier: GPL-3.0-or-later
#include "consolekeys.h"

#if !defined(__unix__) && !defined(__APPLE__)
#error "mq7410-sim reads its terminal with POSIX calls: it is for Unix-like systems only"
#endif

#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace mq7410::sim {

namespace {

// How often a sim sent to the background looks whether it is back in the foreground.
constexpr int BackgroundRetryMs = 500;

bool inForeground()
{
    return ::tcgetpgrp(STDIN_FILENO) == ::getpgrp();
}

} // namespace

ConsoleKeys::ConsoleKeys(QObject *parent)
    : QObject(parent)
{
    if (::isatty(STDIN_FILENO) != 1 || !inForeground())
        return;
    m_notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ConsoleKeys::readInput);
}

void ConsoleKeys::readInput()
{
    if (!inForeground()) {
        // Whatever was typed belongs to the foreground job; look again later, without spinning.
        m_notifier->setEnabled(false);
        QTimer::singleShot(BackgroundRetryMs, this, [this] { m_notifier->setEnabled(true); });
        return;
    }
    char buffer[256];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) {
        // End of input (Ctrl+D) or a terminal gone: no more keys, but the supply goes on.
        m_notifier->setEnabled(false);
        return;
    }
    m_line.append(buffer, static_cast<std::size_t>(count));
    for (std::size_t end = m_line.find('\n'); end != std::string::npos; end = m_line.find('\n')) {
        const std::string line = m_line.substr(0, end);
        m_line.erase(0, end + 1);
        if (line == "u")
            emit unplugRequested();
        else if (!line.empty())
            std::fputs("mq7410-sim: u then Enter unplugs the supply; Ctrl+C ends the sim\n",
                       stderr);
    }
    // A line too long for anyone to mean "u" is not kept.
    if (m_line.size() > sizeof buffer)
        m_line.clear();
}

} // namespace mq7410::sim
