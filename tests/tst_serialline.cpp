// SPDX-License-Identifier: GPL-3.0-or-later
// SerialLine against real pseudo-terminals: the test holds the far end (the master) and reads
// there what the supply would receive.

#include "frame.h"
#include "portmap.h"
#include "serialline.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

using mq7410::SerialLine;

Q_DECLARE_METATYPE(std::optional<std::string>)
Q_DECLARE_METATYPE(mq7410::Status)
Q_DECLARE_METATYPE(std::string)

namespace {

const char PortsVariable[] = "MQ7410_PORTS";

struct Pty
{
    int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    std::string path = master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0
                               ? ::ptsname(master)
                               : "";
    // Opened before the line takes it: keeps the device, and shows its settings.
    int slave = path.empty() ? -1 : ::open(path.c_str(), O_RDWR | O_NOCTTY);

    ~Pty()
    {
        hangUp();
        ::close(slave);
    }
    void hangUp() { ::close(std::exchange(master, -1)); }
    // Everything that reaches the far end until nothing more comes for a while.
    std::string readAll() const
    {
        std::string data;
        char buffer[4096];
        pollfd watch{master, POLLIN, 0};
        ssize_t count = 0;
        while (::poll(&watch, 1, 200) > 0 && (count = ::read(master, buffer, sizeof buffer)) > 0)
            data.append(buffer, std::size_t(count));
        return data;
    }
};

// Frame n of a run, with n in its first field so that each one can be told apart.
std::string frameNo(int n, int length)
{
    std::string frame = length == 6 ? "88" : length == 10 ? "8E" : "8D";
    while (int(frame.size()) < length)
        frame += mq7410::hexField(n % 4096);
    return frame;
}

// The bytes cut into frames, as far as they are whole frames one after the other; what follows
// ends the list as one piece.
std::vector<std::string> wholeFrames(std::string_view bytes)
{
    std::vector<std::string> frames;
    while (!bytes.empty()) {
        const auto command = mq7410::commandFromCode(bytes[0], bytes.size() > 1 ? bytes[1] : 0);
        std::string_view frame = bytes.substr(0, command ? mq7410::frameLength(*command) : 0);
        if (!mq7410::parseFrame(frame))
            frame = bytes;
        frames.emplace_back(frame);
        bytes.remove_prefix(frame.size());
    }
    return frames;
}

} // namespace

class TestSerialLine : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void portList_data();
    void portList();
    void refusedOpens_data();
    void refusedOpens();
    void heldAtFixedSettings_data();
    void heldAtFixedSettings();
    void stalledLineKeepsFramesWhole();
    void shutdownOnStalledLineIsBounded();
    void hangUpClosesUntilReconnect();

private:
    // COM 1 through a link of its own, which a test may point elsewhere.
    QByteArray linkTo(const std::string &device);

    std::unique_ptr<Pty> m_pty;
    QTemporaryDir m_dir;
};

void TestSerialLine::init()
{
    m_pty = std::make_unique<Pty>();
    QVERIFY2(m_pty->slave >= 0, std::strerror(errno));
    qputenv(PortsVariable, QByteArray::fromStdString(m_pty->path));
}

void TestSerialLine::cleanup()
{
    m_pty.reset();
    qunsetenv(PortsVariable);
}

QByteArray TestSerialLine::linkTo(const std::string &device)
{
    const QByteArray link = QFile::encodeName(m_dir.filePath(QStringLiteral("supply")));
    ::unlink(link.constData());
    return ::symlink(device.c_str(), link.constData()) == 0 ? link : QByteArray();
}

void TestSerialLine::portList_data()
{
    QTest::addColumn<std::optional<std::string>>("variable"); // MQ7410_PORTS, or unset
    QTest::addColumn<int>("number");
    QTest::addColumn<std::string>("expected");
    const std::string byPath = "/dev/serial/by-path/pci-0000:00:14.0-usb-0:1:1.0-port0";
    std::string seventeen;
    for (int k = 1; k <= 17; ++k)
        seventeen += "/dev/p" + std::to_string(k) + (k < 17 ? ":" : "");
    const auto row = [](const char *tag, const std::optional<std::string> &list, int number,
                        const std::string &device) {
        QTest::newRow(tag) << list << number << device;
    };
    row("by-path name keeps its colons", byPath + ":/dev/ttyS0", 1, byPath);
    row("entry after a by-path name", byPath + ":/dev/ttyS0", 2, "/dev/ttyS0");
    row("two empty entries first", "::/dev/ttyUSB0", 3, "/dev/ttyUSB0");
    row("empty entry in the middle", "/dev/a::/dev/c", 2, "");
    row("after a trailing colon", "/dev/a:", 2, "");
    row("colons before a letter are the name's", "/dev/a::b", 1, "/dev/a::b");
    row("set but empty: no port at all", "", 1, "");
    row("COM 0", "/dev/a", 0, "");
    row("entry 16 of 17", seventeen, 16, "/dev/p16");
    row("entry 17 of 17 is never used", seventeen, 17, "");
    row("unset: natural order", std::nullopt, 2, "/dev/ttyACM10");
}

void TestSerialLine::portList()
{
    QFETCH(std::optional<std::string>, variable);
    QFETCH(int, number);
    QFETCH(std::string, expected);
    const std::vector<std::string> system{"/dev/ttyS2", "/dev/ttyACM10", "/dev/ttyACM2"};
    QCOMPARE(mq7410::deviceForPort(number, variable, system), expected);
}

void TestSerialLine::refusedOpens_data()
{
    QTest::addColumn<QByteArray>("ports");
    QTest::addColumn<std::string>("device"); // empty: no COM 1, nothing tried
    QTest::addColumn<std::string>("reason");
    QTest::newRow("set but empty") << QByteArray() << std::string() << std::string();
    // Named after this process: Qt takes a lock file named after the device before it opens.
    const std::string missing = "/dev/mq7410-none-" + std::to_string(::getpid());
    QTest::newRow("missing device")
            << QByteArray::fromStdString(missing) << missing << std::string(std::strerror(ENOENT));
    QTest::newRow("name not UTF-8") << QByteArray("/dev/tty\xff") << std::string("/dev/tty\uFFFD")
                                    << std::string("the device name is not valid UTF-8");
}

void TestSerialLine::refusedOpens()
{
    QFETCH(QByteArray, ports);
    QFETCH(std::string, device);
    QFETCH(std::string, reason);
    qputenv(PortsVariable, ports);
    SerialLine line;
    const mq7410::PortTrial trial = line.open(1);
    QCOMPARE(trial.device, device);
    QCOMPARE(trial.opened ? std::string() : trial.opened.failure().text, reason);
    QVERIFY(!line.isOpen());
}

void TestSerialLine::heldAtFixedSettings_data()
{
    QTest::addColumn<bool>("throughLink");
    QTest::newRow("second open by the same name") << false;
    QTest::newRow("second open through a link") << true;
}

void TestSerialLine::heldAtFixedSettings()
{
    QFETCH(bool, throughLink);
    SerialLine holder;
    const mq7410::PortTrial trial = holder.open(1);
    QVERIFY(trial.opened);
    QCOMPARE(trial.device, m_pty->path);
    QVERIFY(trial.description.starts_with(trial.device));
    if (throughLink)
        qputenv(PortsVariable, linkTo(m_pty->path));
    SerialLine second;
    const mq7410::PortTrial refused = second.openNamed("COM1");
    QCOMPARE(refused.opened.failure().text, std::string("held by another program"));
    QCOMPARE(refused.device, m_pty->path);
    // The list says so too, for the one held here and for another holder alike.
    for (SerialLine *lister : {&holder, &second}) {
        const std::vector<mq7410::PortInfo> ports = lister->listPorts();
        QCOMPARE(ports.size(), std::size_t(1));
        QCOMPARE(ports.front().state, mq7410::PortState::Held);
    }
    QVERIFY(holder.write("8804D2")); // the holder is not disturbed
    QCOMPARE(m_pty->readAll(), std::string("8804D2"));

    // Read back while held, and again after the close: the far end must not see the line
    // change when the panel lets go.
    for (const bool held : {true, false}) {
        termios line{};
        QCOMPARE(::tcgetattr(m_pty->slave, &line), 0);
        QCOMPARE(::cfgetospeed(&line), speed_t(B115200));
        QCOMPARE(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
        QCOMPARE(line.c_iflag & IXON, tcflag_t(0));
        QCOMPARE(line.c_oflag & OPOST, tcflag_t(0)); // frames go out byte for byte
        if (held)
            QVERIFY(holder.close());
    }
    QCOMPARE(holder.close().failure().text, std::string("Device not Open"));
    QVERIFY(second.openNamed(m_pty->path).opened);
}

void TestSerialLine::stalledLineKeepsFramesWhole()
{
    SerialLine line;
    QVERIFY(line.open(1).opened);
    QSignalSpy settled(&line, &SerialLine::waitingSettled);
    std::vector<std::string> accepted;
    std::string received;
    int n = 0;
    // Where a frame is cut depends on its length and the system's buffers: rounds of other
    // lengths until one was. The far end does not read: frames go until the line is full.
    for (const int length : {18, 10, 6, 18}) {
        mq7410::Result<mq7410::Delivery> written = mq7410::Delivery::Sent;
        for (; n < 100000 && (written = line.write(frameNo(n, length))); ++n) {
            accepted.push_back(frameNo(n, length));
            if (*written == mq7410::Delivery::Waiting)
                break;
        }
        ++n;
        if (written && *written == mq7410::Delivery::Waiting)
            break; // the rest of a cut frame is held back
        QVERIFY2(written.failure().text.find("stalled") != std::string::npos,
                 written.failure().text.c_str());
        received += m_pty->readAll(); // the far end reads again
    }
    // While the rest waits, no frame goes; once the far end reads, the rest follows by itself.
    QCOMPARE(line.write("8804D2").failure().kind, mq7410::FailureKind::Busy);
    QCOMPARE(line.finishWaiting().failure().kind, mq7410::FailureKind::Busy);
    received += m_pty->readAll();
    QVERIFY(settled.wait(2000));
    QVERIFY(settled.front().front().value<mq7410::Status>().ok());

    accepted.push_back(frameNo(n, 10));
    QCOMPARE(*line.write(accepted.back()), mq7410::Delivery::Sent);
    received += m_pty->readAll();
    // Whole frames only, each accepted one once and none of the refused ones, the last one the
    // frame written last.
    QCOMPARE(wholeFrames(received), accepted);
}

void TestSerialLine::shutdownOnStalledLineIsBounded()
{
    SerialLine line;
    QVERIFY(line.open(1).opened);
    for (int n = 0; n < 100000 && line.write(frameNo(n, 18)); ++n) {}
    QElapsedTimer clock;
    clock.start();
    const mq7410::Status ended = line.shutdown();
    QVERIFY2(clock.elapsed() < 2000, QByteArray::number(clock.elapsed()));
    QVERIFY(!ended);
    QVERIFY(ended.failure().text.find("misread the next frame") != std::string::npos);
    QVERIFY(!line.isOpen());
    QVERIFY(SerialLine().open(1).opened); // let go for good
}

void TestSerialLine::hangUpClosesUntilReconnect()
{
    qputenv(PortsVariable, linkTo(m_pty->path));
    SerialLine line;
    QVERIFY(line.open(1).opened);
    QCOMPARE(line.device(), m_pty->path);
    QSignalSpy lost(&line, &SerialLine::lost);

    // Told at once, with no frame written.
    m_pty->hangUp();
    QVERIFY(lost.wait(1000));
    const std::string reason = lost.front().front().toString().toStdString();
    QVERIFY2(reason.find(m_pty->path) != std::string::npos, reason.c_str());
    QCOMPARE(line.disconnectReason(), reason);
    QVERIFY(!line.isOpen());
    QCOMPARE(line.write("8804D2").failure().text, reason);
    QCOMPARE(line.close().failure().text, std::string("Hardware not present"));

    // The supply is back, on a new pseudo-terminal behind the same name.
    Pty back;
    QVERIFY(!linkTo(back.path).isEmpty());
    QVERIFY(line.open(1).opened);
    QVERIFY(line.disconnectReason().empty());
    QVERIFY(line.write("8804D2"));
    QCOMPARE(back.readAll(), std::string("8804D2"));
    // A hang-up noticed only by the close, as of a port offered to the user and refused.
    back.hangUp();
    QCOMPARE(line.close().failure().text, std::string("Hardware not present"));
}

QTEST_GUILESS_MAIN(TestSerialLine)
#include "tst_serialline.moc"
