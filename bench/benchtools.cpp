// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchtools.h"

#include <QFile>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <numeric>
#include <termios.h>
#include <unistd.h>

namespace mq7410::bench {

std::int64_t monotonicNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

Summary summarize(std::vector<std::int64_t> ns)
{
    Summary summary;
    if (ns.empty())
        return summary;
    std::sort(ns.begin(), ns.end());
    const auto rank = [&ns](double share) {
        const auto index = std::size_t(std::ceil(share * double(ns.size()))) - 1;
        return double(ns[std::min(index, ns.size() - 1)]) / 1000.0;
    };
    summary.p50Us = rank(0.50);
    summary.p99Us = rank(0.99);
    summary.maxUs = double(ns.back()) / 1000.0;
    summary.meanUs = std::accumulate(ns.begin(), ns.end(), 0.0) / double(ns.size()) / 1000.0;
    return summary;
}

BenchSession::BenchSession(const std::string &port)
    : session(std::make_unique<Settings>(settingsDir.filePath(QStringLiteral("mq7410.conf"))))
{
    if (const Status opened = session.openPort(port); !opened)
        failWith("opening " + port + ": " + opened.failure().text);
}

BenchPanel::BenchPanel()
    : BenchSession("COM1")
{
    QObject::connect(&session, &Session::logged, [this](const LoggedFrame &entry, bool update) {
        if (!update && !entry.frame.empty())
            writtenNs.push_back(monotonicNs());
    });
    form = std::make_unique<UIForm>(session, boxes);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        die("the window was not shown");
}

void BenchPanel::checkNoErrorBox() const
{
    if (!boxes.shown.empty())
        failWith("the panel reported: " + boxes.shown.front().prompt);
}

void readFrame(test::FarEnd &end, std::size_t count)
{
    if (end.readExactly(count).size() != count) {
        errno = ETIMEDOUT;
        die("waiting for a frame at the far end");
    }
}

int openLikeThePanel(const std::string &device)
{
    const int fd = ::open(device.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    termios line{};
    if (fd < 0 || ::tcgetattr(fd, &line) != 0)
        die("opening the pseudo-terminal");
    ::cfmakeraw(&line);
    ::cfsetspeed(&line, B115200);
    line.c_cflag |= CLOCAL;
    if (::tcsetattr(fd, TCSANOW, &line) != 0)
        die("setting the line");
    return fd;
}

void preferOffscreen()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

QString commandLine(const QStringList &arguments)
{
    QStringList quoted;
    for (const QString &argument : arguments)
        quoted << (argument.contains(' ') ? '\'' + argument + '\'' : argument);
    return quoted.join(' ');
}

long long intOption(const QStringList &arguments, const QString &name, long long fallback)
{
    const qsizetype at = arguments.indexOf(name);
    if (at < 0)
        return fallback;
    bool ok = false;
    const long long value = at + 1 < arguments.size() ? arguments[at + 1].toLongLong(&ok) : 0;
    if (!ok || value < 1) {
        std::fprintf(stderr, "%s needs a whole number of at least 1\n", qPrintable(name));
        std::exit(2);
    }
    return value;
}

QString textOption(const QStringList &arguments, const QString &name, const QString &fallback)
{
    const qsizetype at = arguments.indexOf(name);
    if (at < 0)
        return fallback;
    if (at + 1 >= arguments.size()) {
        std::fprintf(stderr, "%s needs a value\n", qPrintable(name));
        std::exit(2);
    }
    return arguments[at + 1];
}

void die(const char *what)
{
    std::fprintf(stderr, "%s: %s\n", what, errno ? std::strerror(errno) : "failed");
    std::exit(1);
}

void failWith(const std::string &message)
{
    std::fprintf(stderr, "%s\n", message.c_str());
    std::exit(1);
}

QString machineLine()
{
    QFile loadavg(QStringLiteral("/proc/loadavg"));
    const QString load = loadavg.open(QIODevice::ReadOnly)
                                 ? QString::fromLatin1(loadavg.readAll()).section(' ', 0, 2)
                                 : QStringLiteral("unknown");
    return QStringLiteral("%1 cores, load average %2").arg(QThread::idealThreadCount()).arg(load);
}

} // namespace mq7410::bench
