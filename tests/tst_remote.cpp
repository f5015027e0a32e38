// SPDX-License-Identifier: GPL-3.0-or-later
// The SCPI server on a session whose line is a pseudo-terminal: where it listens and why it
// will not, how many clients it serves, how it cuts their lines, and what it does with a
// client that floods it or never reads. The language itself is tst_scpi's.

#include "farend.h"

#include "framedecoder.h"
#include "remotecontrol.h"
#include "session.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

using namespace mq7410;
using namespace mq7410::test;

namespace {

QStringList framesIn(const std::string &bytes)
{
    FrameDecoder decoder;
    QStringList frames;
    for (const DecodeEvent &event : decoder.feed(bytes)) {
        const auto *frame = std::get_if<Frame>(&event);
        frames << (frame ? QString::fromStdString(frame->text) : QStringLiteral("<skipped>"));
    }
    return frames;
}

quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

// A session on the far end's line, with its settings in a folder of its own, and the server.
struct Bench
{
    Bench() { QVERIFY(session.openPort(supply.device())); }

    // Listening on a port the system picks; its number.
    quint16 listen()
    {
        if (!remote.listen(QStringLiteral("0")))
            return 0;
        return quint16(remote.address().section(QLatin1Char(':'), -1).toUInt());
    }

    FarEnd supply;
    QTemporaryDir dir;
    Session session{std::make_unique<Settings>(dir.filePath(QStringLiteral("settings.conf")))};
    RemoteControl remote{session};
};

struct Client
{
    explicit Client(quint16 port)
    {
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.waitForConnected(2000);
    }
    QByteArray ask(const QByteArray &line)
    {
        socket.write(line);
        return QTest::qWaitFor([this] { return socket.canReadLine(); }, 2000) ? socket.readLine()
                                                                              : QByteArray();
    }

    QTcpSocket socket;
};

} // namespace

class TestRemote : public QObject
{
    Q_OBJECT
private slots:
    void addresses_data();
    void addresses();
    void portInUse();
    void clients();
    void lines_data();
    void lines();
    void clientThatNeverReads();
};

void TestRemote::addresses_data()
{
    QTest::addColumn<QString>("address"); // %1: a free port
    QTest::addColumn<QString>("outcome"); // where it listens, or a part of the refusal
    QTest::addColumn<bool>("exposed");

    QTest::newRow("a port alone: this computer") << "%1"
                                                 << "127.0.0.1:%1" << false;
    QTest::newRow("loopback named") << "127.0.0.1:%1"
                                    << "127.0.0.1:%1" << false;
    QTest::newRow("localhost") << "localhost:%1"
                               << "127.0.0.1:%1" << false;
    QTest::newRow("IPv6 loopback") << "[::1]:%1"
                                   << "[::1]:%1" << false;
    QTest::newRow("every address: exposed") << "0.0.0.0:%1"
                                            << "0.0.0.0:%1" << true;
    QTest::newRow("empty") << ""
                           << "(no port number)" << false;
    QTest::newRow("no port") << "127.0.0.1:"
                             << "(no port number)" << false;
    QTest::newRow("signed port") << "+5025"
                                 << "(no port number)" << false;
    QTest::newRow("port 65536") << "65536"
                                << "(a port is at most 65535)" << false;
    QTest::newRow("a host name") << "example.org:5025"
                                 << "is not an IP address" << false;
    QTest::newRow("IPv6 without brackets") << "::1:5025"
                                           << "(an IPv6 address goes in brackets)" << false;
}

void TestRemote::addresses()
{
    QFETCH(QString, address);
    QFETCH(QString, outcome);
    QFETCH(bool, exposed);
    Bench bench;
    const QString port = QString::number(freePort());
    const Status listened = bench.remote.listen(address.replace(QLatin1String("%1"), port));
    if (!outcome.contains(QLatin1String("%1"))) {
        QCOMPARE(listened.failure().kind, FailureKind::BadValue);
        QVERIFY2(QString::fromStdString(listened.failure().text).contains(outcome),
                 listened.failure().text.c_str());
        QVERIFY(!bench.remote.listening());
        return;
    }
    QVERIFY2(listened, listened ? "" : listened.failure().text.c_str());
    QCOMPARE(bench.remote.address(), outcome.arg(port));
    QCOMPARE(bench.remote.exposed(), exposed);
    const QString warning = " (open to the network: anyone who reaches it can set voltages)";
    QCOMPARE(bench.remote.statusText(),
             "SCPI " + outcome.arg(port) + (exposed ? warning : QString()) + " · no clients");
}

void TestRemote::portInUse()
{
    Bench bench;
    QTcpServer other;
    QVERIFY(other.listen(QHostAddress::LocalHost, 0));
    const QString where = QStringLiteral("127.0.0.1:%1").arg(other.serverPort());
    const Status listened = bench.remote.listen(where);
    QCOMPARE(listened.failure(),
             (Failure{FailureKind::Port, where.toStdString() + " is in use by another program"}));
    QVERIFY(!bench.remote.listening());
    QCOMPARE(bench.remote.statusText(), QString());
}

void TestRemote::clients()
{
    Bench bench;
    const quint16 port = bench.listen();
    std::vector<std::unique_ptr<Client>> clients(RemoteControl::MaxClients + 1);
    for (auto &client : clients)
        client = std::make_unique<Client>(port);
    // The ninth is closed, told nothing; the eight are served.
    Client &ninth = *clients.back();
    QTRY_COMPARE(ninth.socket.state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(ninth.socket.readAll(), QByteArray());
    for (int i = 0; i < RemoteControl::MaxClients; ++i) {
        QCOMPARE(
                clients[std::size_t(i)]->ask("*IDN?\n"),
                QByteArray("MQ-7410 Front Panel,mq7410 for MQ-7410 supply,0," MQ7410_PROJECT_VERSION
                           "\n"));
    }
    const QString where = QStringLiteral("SCPI 127.0.0.1:%1 · ").arg(port);
    QTRY_COMPARE(bench.remote.statusText(), where + "8 clients · last: *IDN?");
    clients.front()->socket.disconnectFromHost();
    QTRY_COMPARE(bench.remote.statusText(), where + "7 clients · last: *IDN?");
    QVERIFY(clients.front()->socket.state() == QAbstractSocket::UnconnectedState);
    Client late(port); // a place is free again
    late.socket.write("VOLT 40\n");
    QTRY_COMPARE(bench.remote.statusText(), where + "8 clients · last: VOLT 40 (error -222)");
}

void TestRemote::lines_data()
{
    QTest::addColumn<QByteArrayList>("chunks"); // sent one after the other
    QTest::addColumn<bool>("leave");            // the client closes after its last chunk
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QByteArray>("replies");

    const QByteArray most = "VOLT " + QByteArray(4096 - 6, '0') + '5'; // 4096 bytes
    const QByteArray overrun = "-363,\"Input buffer overrun;longer than 4096 bytes\"\n";
    const QStringList five{"8801F4"};
    QTest::newRow("LF") << QByteArrayList{"VOLT 5\n", "VOLT?\n"} << false << five
                        << QByteArray("5.00\n");
    QTest::newRow("CR LF; a reply ends in LF alone")
            << QByteArrayList{"VOLT 5\r\nVOLT?\r\n"} << false << five << QByteArray("5.00\n");
    QTest::newRow("a line over three packets")
            << QByteArrayList{"VO", "LT 5\nVO", "LT?\n"} << false << five << QByteArray("5.00\n");
    QTest::newRow("4096 bytes, the most")
            << QByteArrayList{most + "\n"} << false << five << QByteArray();
    QTest::newRow("4096 bytes and CR LF")
            << QByteArrayList{most + "\r\n"} << false << five << QByteArray();
    QTest::newRow("4097 bytes: -363, the line dropped, the next one runs")
            << QByteArrayList{"VOLT 0" + most.mid(5) + "\nVOLT 6\n", "SYST:ERR?\n"} << false
            << QStringList{"880258"} << overrun;
    QTest::newRow("4 MB without LF: -363 once")
            << QByteArrayList{QByteArray(4 << 20, 'V'), QByteArray(4 << 20, 'V'),
                              "\nVOLT 6\nSYST:ERR?;SYST:ERR?\n"}
            << false << QStringList{"880258"} << overrun.chopped(1) + ";0,\"No error\"\n";
    QTest::newRow("leaving mid-line: the whole lines run, the broken one does not")
            << QByteArrayList{"VOLT 5\nVOLT 6"} << true << five << QByteArray();
}

void TestRemote::lines()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(bool, leave);
    QFETCH(QStringList, frames);
    QFETCH(QByteArray, replies);
    Bench bench;
    Client client(bench.listen());
    const std::string origin = "client 127.0.0.1:" + std::to_string(client.socket.localPort());
    for (const QByteArray &chunk : chunks) {
        client.socket.write(chunk);
        QVERIFY(QTest::qWaitFor([&client] { return client.socket.bytesToWrite() == 0; }));
        QTest::qWait(20); // each its own packet
    }
    if (leave)
        client.socket.disconnectFromHost();
    QTRY_COMPARE(bench.session.history().entries().size(), std::size_t(frames.size()));
    QTRY_VERIFY(client.socket.bytesAvailable() >= replies.size());
    QCOMPARE(client.socket.readAll(), replies);
    QCOMPARE(framesIn(bench.supply.readAll()), frames);
    QCOMPARE(bench.session.history().entries().front().origin, origin);
    if (leave)
        QTRY_COMPARE(bench.remote.clientCount(), 0);
}

void TestRemote::clientThatNeverReads()
{
    Bench bench;
    const quint16 port = bench.listen();
    Client reader(port);
    Client idle(port);
    idle.socket.setReadBufferSize(1); // past its first byte, its replies stay with the server
    QByteArray queries = "*IDN?";
    while (queries.size() < 4000)
        queries += ";*IDN?";
    for (int i = 0; i < 1000 && idle.socket.state() == QAbstractSocket::ConnectedState; ++i) {
        idle.socket.write(queries + '\n');
        QCOMPARE(reader.ask(QByteArray("VOLT ") + QByteArray::number(i % 30) + ";VOLT?\n"),
                 QByteArray::number(i % 30) + ".00\n");
    }
    QCOMPARE(idle.socket.state(), QAbstractSocket::UnconnectedState);
    QTRY_COMPARE(bench.remote.clientCount(), 1);
}

QTEST_GUILESS_MAIN(TestRemote)
#include "tst_remote.moc"
