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
    void opensWriteOnlyWithTheSettings();
    void portsThatCannotBeOpened_data();
    void portsThatCannotBeOpened();
    void heldPortCannotBeOpenedTwice();
    void framesArriveWholeAndInOrder();
    void closeDeliversEverything();
    void stalledLineTimesOutAndDropsTheFrame();
    void farEndHangUpClosesThePort();

private:
    // A port on COM 1 (the pty unless set otherwise), opened with `settings`.
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

void TestSerialPort::opensWriteOnlyWithTheSettings()
{
    QtSerialPort port;
    QVERIFY2(openOnPty(port), port.errorString().c_str());
    QVERIFY(port.isOpen());
    QCOMPARE(accessModes(m_pty->slavePath(), m_pty->slave()), QList<int>{O_WRONLY});

    termios line{};
    QCOMPARE(::tcgetattr(m_pty->slave(), &line), 0);
    // A pty carries only 8 data bits without parity whatever is asked; the rest it keeps.
    QCOMPARE(::cfgetospeed(&line), speed_t(B115200));
    QCOMPARE(line.c_cflag & CSTOPB, tcflag_t(0));
    QCOMPARE(line.c_cflag & CRTSCTS, tcflag_t(0));
    QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));
    QCOMPARE(line.c_oflag & OPOST, tcflag_t(0)); // frames go out byte for byte
}

void TestSerialPort::portsThatCannotBeOpened_data()
{
    QTest::addColumn<QByteArray>("ports"); // %1 stands for the pty
    QTest::addColumn<QByteArray>("settings");

    const QByteArray pty("%1");
    const QByteArray good("115200 N 8 1");
    QTest::newRow("missing device") << QByteArray("/dev/mq7410-no-such-device") << good;
    // Settings the pty does not carry: read back after opening, and refused.
    QTest::newRow("7 data bits") << pty << QByteArray("115200 N 7 1");
}

void TestSerialPort::portsThatCannotBeOpened()
{
    QFETCH(QByteArray, ports);
    QFETCH(QByteArray, settings);
    qputenv("MQ7410_PORTS", ports.replace("%1", m_pty->slavePath()));

    QtSerialPort port;
    QVERIFY(!openOnPty(port, settings.constData()));
    QVERIFY(!port.isOpen());
    QVERIFY(!port.errorString().empty());
    QVERIFY(accessModes(m_pty->slavePath(), m_pty->slave()).isEmpty());
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
    // Input from the line is never read, and disturbs nothing.
    QVERIFY(m_pty->send("noise from the line"));
    // Each frame is at the far end as soon as write() returns.
    for (const char *frame : {frame6, frame18, "8C01", frame6}) {
        QVERIFY2(port.write(frame), port.errorString().c_str());
        QCOMPARE(m_pty->readAll(), QByteArray(frame));
    }
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
