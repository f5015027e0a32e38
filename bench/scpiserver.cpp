// SPDX-License-Identifier: GPL-3.0-or-later
// bench-scpi: the SCPI server on a session whose line is a pseudo-terminal, as the panel and
// mq7410-run serve it, from a client in another thread of this program.
//
//   1. latency: "VOLT x" sent until the frame's last byte is read at the far end, against the
//      floor in the same rounds: a minimal server (a thread that reads the line from a loopback
//      TCP socket and write()s the frame to a pseudo-terminal of its own);
//   2. throughput: VOLT commands written without waiting, then *OPC?; every frame checked
//      whole and in order at the far end;
//   3. `lxi benchmark --raw` (lxi-tools) with *IDN?.
//
//   bench-scpi [--rounds N] [--commands N] [--lxi-count N]

#include "farend.h"
#include "framedecoder.h"
#include "remotecontrol.h"
#include "session.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>

#include <algorithm>
#include <arpa/inet.h>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace mq7410;

namespace {

[[noreturn]] void die(const char *what)
{
    std::fprintf(stderr, "bench-scpi: %s\n", what);
    std::exit(1);
}

std::int64_t nowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

int option(const QStringList &arguments, const QString &name, int fallback)
{
    const qsizetype at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1].toInt() : fallback;
}

std::string machineLine()
{
    std::ifstream load("/proc/loadavg");
    std::string one, five, fifteen;
    load >> one >> five >> fifteen;
    return std::to_string(std::thread::hardware_concurrency()) + " cores, load average " + one + ' '
           + five + ' ' + fifteen;
}

int connectTo(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
        die("connect()");
    return fd;
}

void sendAll(int fd, const std::string &bytes)
{
    for (std::size_t sent = 0; sent < bytes.size();) {
        const ssize_t now = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (now <= 0)
            die("send()");
        sent += std::size_t(now);
    }
}

std::string readLine(int fd)
{
    std::string line;
    char byte = 0;
    while (::recv(fd, &byte, 1, 0) == 1 && byte != '\n')
        line += byte;
    return line;
}

// The least a server can do: a line in, its frame out on a pseudo-terminal.
class FloorServer
{
public:
    FloorServer()
        : m_listener(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(m_listener, reinterpret_cast<sockaddr *>(&address), size) != 0
            || ::listen(m_listener, 1) != 0
            || ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &size) != 0)
            die("the floor's socket");
        port = ntohs(address.sin_port);
        termios raw{};
        ::tcgetattr(line.slave(), &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(line.slave(), TCSANOW, &raw);
        m_thread = std::thread([this] {
            const int client = ::accept(m_listener, nullptr, nullptr);
            for (std::string got = readLine(client); !got.empty(); got = readLine(client)) {
                if (::write(line.slave(), "880000", 6) != 6)
                    die("the floor's write()");
            }
            ::close(client);
        });
    }
    ~FloorServer()
    {
        m_thread.join();
        ::close(m_listener);
    }

    test::FarEnd line;
    quint16 port = 0;

private:
    int m_listener = -1;
    std::thread m_thread;
};

struct Figures
{
    double p50 = 0, p99 = 0, max = 0, mean = 0;
};

Figures figures(std::vector<std::int64_t> ns)
{
    std::sort(ns.begin(), ns.end());
    const auto rank = [&ns](double p) {
        return double(ns[std::min(ns.size() - 1, std::size_t(p * double(ns.size())))]) / 1000.0;
    };
    double sum = 0;
    for (const std::int64_t value : ns)
        sum += double(value);
    return {rank(0.50), rank(0.99), double(ns.back()) / 1000.0, sum / double(ns.size()) / 1000.0};
}

void latency(quint16 port, test::FarEnd &supply, int rounds)
{
    FloorServer floor;
    const int server = connectTo(port);
    const int minimal = connectTo(floor.port);
    std::vector<std::int64_t> serverNs, floorNs;
    const int warmup = 200;
    for (int round = 0; round < warmup + rounds; ++round) {
        std::int64_t start = nowNs();
        sendAll(minimal, "VOLT 1\n");
        if (floor.line.readExactly(6).size() != 6)
            die("the floor's frame");
        if (round >= warmup)
            floorNs.push_back(nowNs() - start);
        start = nowNs();
        sendAll(server, round % 2 ? "VOLT 1\n" : "VOLT 2\n");
        if (supply.readExactly(6).size() != 6)
            die("the server's frame");
        if (round >= warmup)
            serverNs.push_back(nowNs() - start);
    }
    ::close(minimal);
    ::close(server);
    const Figures f = figures(floorNs), s = figures(serverNs);
    std::printf("1. latency, %d rounds after %d warm-up rounds; times in us\n", rounds, warmup);
    std::printf("%-46s %8s %8s %8s %8s\n", "", "p50", "p99", "max", "mean");
    std::printf("%-46s %8.1f %8.1f %8.1f %8.1f\n", "floor: loopback TCP + write() on a pty", f.p50,
                f.p99, f.max, f.mean);
    std::printf("%-46s %8.1f %8.1f %8.1f %8.1f\n", "VOLT -> frame at the far end", s.p50, s.p99,
                s.max, s.mean);
    const double ratio = s.p99 / f.p99;
    std::printf("p99 / floor p99: %.2fx (goal: at most 2x) - %s\n\n", ratio,
                ratio <= 2.0 ? "met" : "missed");
}

void throughput(quint16 port, test::FarEnd &supply, int commands)
{
    std::string lines;
    QStringList expected;
    for (int i = 0; i < commands; ++i) {
        const int value = 1 + i % 3200; // never the same twice in a row
        lines += "VOLT " + std::to_string(value / 100) + '.' + std::to_string(value / 10 % 10)
                 + std::to_string(value % 10) + '\n';
        expected << QStringLiteral("88%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
    }
    const int client = connectTo(port);
    std::string received;
    std::int64_t lastFrameNs = 0;
    std::thread reader([&] {
        received = supply.readExactly(std::size_t(commands) * 6, 5000);
        lastFrameNs = nowNs();
    });
    const std::int64_t start = nowNs();
    sendAll(client, lines + "*OPC?\n");
    const std::string opc = readLine(client);
    const std::int64_t opcNs = nowNs();
    reader.join();
    ::close(client);
    QStringList frames;
    FrameDecoder decoder;
    for (const DecodeEvent &event : decoder.feed(received)) {
        const auto *frame = std::get_if<Frame>(&event);
        frames << (frame ? QString::fromStdString(frame->text) : QStringLiteral("<skipped>"));
    }
    const bool whole = frames == expected && opc == "1";
    const double perSecond = commands / (double(lastFrameNs - start) / 1e9);
    std::printf("2. throughput: %d VOLT lines written without waiting, then *OPC?\n", commands);
    std::printf("*OPC? answered after %.1f ms; last frame at the far end after %.1f ms\n",
                double(opcNs - start) / 1e6, double(lastFrameNs - start) / 1e6);
    std::printf("%.0f commands a second to the far end; frames whole and in order: %s\n", perSecond,
                whole ? "yes" : "NO");
    std::printf("goal: at least 5,000 a second, every frame whole and in order - %s\n\n",
                perSecond >= 5000 && whole ? "met" : "missed");
}

void lxiBenchmark(quint16 port, int count)
{
    const std::string command = "lxi benchmark --address 127.0.0.1 --port " + std::to_string(port)
                                + " --raw --count " + std::to_string(count);
    std::printf("3. %s\n", command.c_str());
    FILE *lxi = ::popen((command + " 2>&1").c_str(), "r");
    if (!lxi)
        die("popen(lxi)");
    std::string output;
    char text[4096];
    while (std::fgets(text, sizeof text, lxi))
        output += text;
    const int status = ::pclose(lxi);
    // Its progress, a number per request, is left out: only its result.
    const std::size_t result = output.find("Result:");
    const double perSecond = result == std::string::npos ? 0 : std::atof(&output[result + 7]);
    std::printf("lxi: %s", result == std::string::npos ? output.c_str() : &output[result]);
    std::printf("exit status %d; goal: at least 20,000 *IDN? a second - %s\n", status,
                status == 0 && perSecond >= 20000 ? "met" : "missed");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int rounds = option(arguments, QStringLiteral("--rounds"), 10000);
    const int commands = option(arguments, QStringLiteral("--commands"), 50000);
    const int lxiCount = option(arguments, QStringLiteral("--lxi-count"), 10000);

    test::FarEnd supply;
    QTemporaryDir dir;
    Session session(std::make_unique<Settings>(dir.filePath(QStringLiteral("settings.conf"))));
    if (!session.openPort(supply.device()))
        die("opening the far end's line");
    RemoteControl remote(session);
    if (!remote.listen(QStringLiteral("0")))
        die("listening");
    const auto port = quint16(remote.address().section(QLatin1Char(':'), -1).toUInt());

    std::printf("bench-scpi, %s\ncommand: %s\nmachine: %s (before)\n\n",
                qPrintable(QDateTime::currentDateTime().toString(Qt::ISODate)),
                qPrintable(arguments.join(QLatin1Char(' '))), machineLine().c_str());
    std::thread client([&] {
        latency(port, supply, rounds);
        throughput(port, supply, commands);
        lxiBenchmark(port, lxiCount);
        std::printf("\nmachine: %s (after)\n", machineLine().c_str());
        QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    const int status = QCoreApplication::exec();
    client.join();
    return status;
}
