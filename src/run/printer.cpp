// SPDX-License-Identifier: GPL-3.0-or-later
#include "printer.h"

#include <algorithm>
#include <cstdio>

#include <sys/ioctl.h>
#include <unistd.h>

namespace mq7410::run {
namespace {

// The terminal's width; 80 when it does not say.
qsizetype columns()
{
    winsize size{};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

QString cut(const QString &text, qsizetype width)
{
    return text.size() > width ? text.left(std::max<qsizetype>(width - 1, 0)) + QChar(0x2026)
                               : text;
}

} // namespace

Printer::Printer()
    : m_terminal(::isatty(STDOUT_FILENO) == 1)
{}

void Printer::line(const QString &text)
{
    clearProgress();
    write(text + QLatin1Char('\n'));
}

void Printer::progress(const QString &text, const QString &tail)
{
    // The last column is left free: writing there wraps on some terminals.
    const qsizetype width = columns() - 1;
    const QString line = cut(text, std::max(width - tail.size(), width / 2)) + tail;
    write(QStringLiteral("\r\033[K") + cut(line, width));
    m_progressShown = true;
}

void Printer::message(const QString &text)
{
    clearProgress();
    const QByteArray bytes
            = (QStringLiteral("mq7410-run: ") + text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
}

void Printer::clearProgress()
{
    if (m_progressShown)
        write(QStringLiteral("\r\033[K"));
    m_progressShown = false;
}

void Printer::write(const QString &text)
{
    if (m_failed)
        return;
    const QByteArray bytes = text.toLocal8Bit();
    m_failed = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout)
                       != std::size_t(bytes.size())
               || std::fflush(stdout) != 0;
}

} // namespace mq7410::run
