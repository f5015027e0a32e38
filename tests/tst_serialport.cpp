// QtSerialPort against a real pseudo-terminal: the test holds the far end (the master) and
// reads there what the supply would receive.

#include "serial/commerror.h"
#include "serial/qtserialport.h"

#include <QDir>
#include <QTest>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using mq7410::QtSerialPort;

namespace {

const char frame6[] = "8804D2";
const char frame18[] = "8D0C800BB80C800BB8";

class PseudoTerminal
{
public:
    PseudoTerminal()
        : m_master(::posix_openpt(O_RDWR | O_NOCTTY))
    {
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
            return;
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        m_slavePath = QByteArray(::ptsname(m_master));
        // Held open so that the line's settings can be read back and the device stays.
        m_slave = ::open(m_slavePath.constData(), O_RDWR | O_NOCTTY);
    }
    ~PseudoTerminal()
    {
        closeMaster();
        if (m_slave >= 0)
            ::close(m_slave);
    }
    bool isValid() const { return m_master >= 0 && m_slave >= 0; }
    QByteArray slavePath() const { return m_slavePath; }
    int slave() const { return m_slave; }

    // Everything the far end can read now, without waiting.
    QByteArray readAll()
    {
        QByteArray data;
        char buffer[512];
        ssize_t count = 0;
        while ((count = ::read(m_master, buffer, sizeof buffer)) > 0)
            data.append(buffer, count);
        return data;
    }
    bool send(const QByteArray &data) { return ::write(m_master, data.data(), data.size()) > 0; }
    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    QByteArray m_slavePath;
};

// The access modes of this process's descriptors on `path`, other than `except`.
QList<int> accessModes(const QByteArray &path, int except)
{
    QList<int> modes;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString &name : fds.entryList(QDir::System | QDir::NoDotAndDotDot)) {
        const int fd = name.toInt();
        if (fd != except && QFile::symLinkTarget(fds.filePath(name)).toLocal8Bit() == path)
            modes.append(::fcntl(fd, F_GETFL) & O_ACCMODE);
    }
    return modes;
}

} // namespace

class TestSerialPort : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensWriteOnlyWithTheSettings_data();
    void opensWriteOnlyWithTheSettings();
    void refusedSettingsLeaveThePortClosed_data();
    void refusedSettingsLeaveThePortClosed();
    void unusableNumbersCannotBeSelected_data();
    void unusableNumbersCannotBeSelected();
    void entryAfterAnEmptyOneIsUsed();
    void missingDeviceFailsToOpen();
    void heldPortCannotBeOpenedTwice();
    void framesArriveWholeAndInOrder();
    void inputFromTheLineDoesNotDisturbWrites();
    void closeDeliversEverything();
    void withoutAnOpenPortNothingIsWritten();
    void stalledLineTimesOutAndDropsTheFrame();
    void farEndHangUpClosesThePort();

private:
    // A port on the pty as COM 1, opened with `settings`.
    bool openOnPty(QtSerialPort &port, const char *settings = "115200 N 8 1");
    std::unique_ptr<PseudoTerminal> m_pty;
};

void TestSerialPort::init()
{
    m_pty = std::make_unique<PseudoTerminal>();
    QVERIFY2(m_pty->isValid(), "no pseudo-terminal");
    qputenv("MQ7410_PORTS", m_pty->slavePath());
}

void TestSerialPort::cleanup()
{
    m_pty.reset();
    qunsetenv("MQ7410_PORTS");
}

bool TestSerialPort::openOnPty(QtSerialPort &port, const char *settings)
{
    return port.selectPort(1) && port.setSettings(settings) && port.open();
}

void TestSerialPort::opensWriteOnlyWithTheSettings_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<speed_t>("speed");
    QTest::addColumn<bool>("twoStopBits");

    // A pty carries only 8 data bits without parity; baud and stop bits it keeps.
    QTest::newRow("115200 N 8 1") << QByteArray("115200 N 8 1") << speed_t(B115200) << false;
    QTest::newRow("9600 N 8 2") << QByteArray("9600 N 8 2") << speed_t(B9600) << true;
    QTest::newRow("57600 N 8 1") << QByteArray("57600 N 8 1") << speed_t(B57600) << false;
}

void TestSerialPort::opensWriteOnlyWithTheSettings()
{
    QFETCH(QByteArray, settings);
    QFETCH(speed_t, speed);
    QFETCH(bool, twoStopBits);

    QtSerialPort port;
    QVERIFY2(openOnPty(port, settings.constData()), port.errorString().c_str());
    QVERIFY(port.isOpen());
    QCOMPARE(accessModes(m_pty->slavePath(), m_pty->slave()), QList<int>{O_WRONLY});

    termios line{};
    QCOMPARE(::tcgetattr(m_pty->slave(), &line), 0);
    QCOMPARE(::cfgetospeed(&line), speed);
    QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
    QCOMPARE(line.c_cflag & PARENB, tcflag_t(0));
    QCOMPARE((line.c_cflag & CSTOPB) != 0, twoStopBits);
    QCOMPARE(line.c_cflag & CRTSCTS, tcflag_t(0));
    QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));
    QCOMPARE(line.c_oflag & OPOST, tcflag_t(0)); // frames go out byte for byte
}

void TestSerialPort::refusedSettingsLeaveThePortClosed_data()
{
    QTest::addColumn<QByteArray>("settings");

    // Each one the pty does not carry, whether the system says so or not.
    QTest::newRow("1.5 stop bits") << QByteArray("115200 N 8 1.5");
    QTest::newRow("7 data bits") << QByteArray("115200 N 7 1");
    QTest::newRow("5 data bits") << QByteArray("115200 N 5 1");
    QTest::newRow("even parity") << QByteArray("115200 E 8 1");
    QTest::newRow("space parity") << QByteArray("115200 S 8 2");
}

void TestSerialPort::refusedSettingsLeaveThePortClosed()
{
    QFETCH(QByteArray, settings);
    QtSerialPort port;
    QVERIFY(port.selectPort(1));
    QVERIFY(port.setSettings(settings.toStdString()));
    QVERIFY(!port.open());
    QVERIFY(!port.isOpen());
    QVERIFY(!port.errorString().empty());
    QVERIFY(accessModes(m_pty->slavePath(), m_pty->slave()).isEmpty());
}

void TestSerialPort::unusableNumbersCannotBeSelected_data()
{
    QTest::addColumn<QByteArray>("ports"); // %1 stands for the pty
    QTest::addColumn<int>("number");

    QByteArray sixteenEmpty(16, ':');
    QTest::newRow("COM 0") << QByteArray("%1") << 0;
    QTest::newRow("COM 17 past 16 entries") << sixteenEmpty + "%1" << 17;
    QTest::newRow("COM 17 beyond the range") << QByteArray("%1") << 17;
    QTest::newRow("empty entry") << QByteArray(":%1") << 1;
    QTest::newRow("past the last entry") << QByteArray("%1") << 2;
    QTest::newRow("set but empty") << QByteArray() << 1;
}

void TestSerialPort::unusableNumbersCannotBeSelected()
{
    QFETCH(QByteArray, ports);
    QFETCH(int, number);
    qputenv("MQ7410_PORTS", ports.replace("%1", m_pty->slavePath()));

    QtSerialPort port;
    QVERIFY(!port.selectPort(number));
    QVERIFY(!port.errorString().empty());
    QVERIFY(!port.open());
    QVERIFY(!port.isOpen());
}

void TestSerialPort::entryAfterAnEmptyOneIsUsed()
{
    qputenv("MQ7410_PORTS", "::" + m_pty->slavePath());
    QtSerialPort port;
    QVERIFY(port.selectPort(3));
    // ptys are not serial ports the system lists: the description is the path alone.
    QCOMPARE(port.portDescription(), m_pty->slavePath().toStdString());
    QVERIFY(port.setSettings("115200 N 8 1"));
    QVERIFY2(port.open(), port.errorString().c_str());
    QVERIFY(port.write(frame6));
    QCOMPARE(m_pty->readAll(), QByteArray(frame6));
}

void TestSerialPort::missingDeviceFailsToOpen()
{
    qputenv("MQ7410_PORTS", "/dev/mq7410-no-such-device");
    QtSerialPort port;
    QVERIFY(port.selectPort(1));
    QCOMPARE(port.portDescription(), std::string("/dev/mq7410-no-such-device"));
    QVERIFY(!port.open());
    QVERIFY(!port.isOpen());
    QVERIFY(!port.errorString().empty());
}

void TestSerialPort::heldPortCannotBeOpenedTwice()
{
    QtSerialPort first;
    QVERIFY(openOnPty(first));
    QtSerialPort second;
    QVERIFY(!openOnPty(second));
    QVERIFY(!second.isOpen());
    QVERIFY(!second.errorString().empty());

    // The holder is not disturbed, and lets go on close.
    QVERIFY(first.write(frame6));
    QCOMPARE(m_pty->readAll(), QByteArray(frame6));
    QCOMPARE(first.close(), 0);
    QVERIFY2(second.open(), second.errorString().c_str());
}

void TestSerialPort::framesArriveWholeAndInOrder()
{
    QtSerialPort port;
    QVERIFY(openOnPty(port));
    // Each frame is at the far end as soon as write() returns.
    for (const char *frame : {frame6, frame18, "8C01", frame6}) {
        QVERIFY2(port.write(frame), port.errorString().c_str());
        QCOMPARE(m_pty->readAll(), QByteArray(frame));
    }
    // Several in a row, read only afterwards.
    QByteArray sent;
    for (int i = 0; i < 20; ++i) {
        const QByteArray frame = QByteArray("8D") + QByteArray::number(1000 + i, 16).toUpper();
        QVERIFY(port.write(frame.toStdString()));
        sent += frame;
    }
    QCOMPARE(m_pty->readAll(), sent);
}

void TestSerialPort::inputFromTheLineDoesNotDisturbWrites()
{
    QtSerialPort port;
    QVERIFY(openOnPty(port));
    QVERIFY(m_pty->send("noise from the line"));
    QVERIFY2(port.write(frame18), port.errorString().c_str());
    QVERIFY(port.isOpen());
    QCOMPARE(m_pty->readAll(), QByteArray(frame18));
}

void TestSerialPort::closeDeliversEverything()
{
    QtSerialPort port;
    QVERIFY(openOnPty(port));
    QByteArray sent;
    for (int i = 0; i < 150; ++i) { // 2700 bytes: less than the pty holds unread
        QVERIFY(port.write(frame18));
        sent += frame18;
    }
    QCOMPARE(port.close(), 0);
    QVERIFY(!port.isOpen());
    QCOMPARE(m_pty->readAll(), sent);
    QVERIFY(accessModes(m_pty->slavePath(), m_pty->slave()).isEmpty());
}

void TestSerialPort::withoutAnOpenPortNothingIsWritten()
{
    QtSerialPort port;
    QVERIFY(!port.write(frame6));
    QVERIFY(!port.errorString().empty());
    QCOMPARE(port.close(), mq7410::CommErrorCode::DeviceNotOpen);

    QVERIFY(openOnPty(port));
    QCOMPARE(port.close(), 0);
    QVERIFY(!port.write(frame6));
    QCOMPARE(m_pty->readAll(), QByteArray());
}

void TestSerialPort::stalledLineTimesOutAndDropsTheFrame()
{
    QtSerialPort port;
    QVERIFY(openOnPty(port));
    // Nobody reads at the far end: sooner or later the system takes no more.
    int written = 0;
    while (written < 100000 && port.write(frame18))
        ++written;
    QVERIFY(written < 100000);
    QVERIFY(!port.errorString().empty());
    QVERIFY(port.isOpen());

    // Nothing of the failed frame follows later: after the far end catches up, only the next
    // frame arrives.
    m_pty->readAll();
    QVERIFY2(port.write(frame6), port.errorString().c_str());
    QCOMPARE(m_pty->readAll(), QByteArray(frame6));
}

void TestSerialPort::farEndHangUpClosesThePort()
{
    QtSerialPort port;
    QVERIFY(openOnPty(port));
    QVERIFY(port.write(frame6));
    m_pty->closeMaster();

    QVERIFY(!port.write(frame6));
    QVERIFY(!port.isOpen());
    const std::string message = port.errorString();
    QVERIFY(!message.empty());
    QVERIFY(accessModes(m_pty->slavePath(), m_pty->slave()).isEmpty());

    // The loop runs with the device gone: the port stays closed and later writes fail alike.
    QCoreApplication::processEvents();
    QVERIFY(!port.isOpen());
    QVERIFY(!port.write(frame6));
    QCOMPARE(port.errorString(), message);
    QCOMPARE(mq7410::commErrorMessage(port.close()), std::string("Hardware not present"));
}

QTEST_GUILESS_MAIN(TestSerialPort)
#include "tst_serialport.moc"
