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
#include <numeric>

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

WriteResult StampingLink::write(std::string_view frame)
{
    WriteResult result = m_link.write(frame);
    writtenNs.push_back(monotonicNs());
    return result;
}

BenchPanel::BenchPanel(FrameLink *link)
    : stamps(link ? *link : line)
    , panel(stamps, clock)
{
    if (!link) {
        boxes.answers = {Answer::Yes};
        if (walkPorts(line, boxes).port != 1)
            die("the panel found no port");
        boxes.shown.clear();
    }
    form = std::make_unique<UIForm>(panel, line, boxes);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        die("the window was not shown");
}

void BenchPanel::checkNoErrorBox() const
{
    if (!boxes.shown.empty())
        die(("the panel reported: " + boxes.shown.front().prompt).c_str());
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

void die(const char *what)
{
    std::fprintf(stderr, "%s: %s\n", what, errno ? std::strerror(errno) : "failed");
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
