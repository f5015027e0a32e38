// Which device is COM n: the MQ7410_PORTS list, the system's list, and their natural order.

#include "serial/naturalorder.h"
#include "serial/portmap.h"

#include <QTest>

#include <optional>
#include <string>
#include <vector>

using mq7410::deviceForPort;
using mq7410::deviceFromPortList;
using mq7410::deviceFromSystemPorts;
using mq7410::naturalLess;

Q_DECLARE_METATYPE(std::string)

namespace {

// "/dev/p1:/dev/p2:...:/dev/pN"
std::string numberedList(int count)
{
    std::string list;
    for (int k = 1; k <= count; ++k)
        list += (k > 1 ? ":" : "") + std::string("/dev/p") + std::to_string(k);
    return list;
}

} // namespace

class TestPortMap : public QObject
{
    Q_OBJECT
private slots:
    void portList_data();
    void portList();
    void naturalOrder_data();
    void naturalOrder();
    void systemPorts_data();
    void systemPorts();
    void variableOverridesSystem_data();
    void variableOverridesSystem();
};

void TestPortMap::portList_data()
{
    QTest::addColumn<std::string>("list");
    QTest::addColumn<int>("number");
    QTest::addColumn<std::string>("expected");

    const auto row = [](const char *tag, const std::string &list, int number, const char *device) {
        QTest::newRow(tag) << list << number << std::string(device);
    };
    row("single entry", "/dev/ttyUSB0", 1, "/dev/ttyUSB0");
    row("second of two", "/dev/a:/dev/b", 2, "/dev/b");
    row("past the last entry", "/dev/a:/dev/b", 3, "");
    row("empty entry in the middle", "/dev/a::/dev/c", 2, "");
    row("entry after an empty one", "/dev/a::/dev/c", 3, "/dev/c");
    row("empty first entry", ":/dev/b", 1, "");
    row("entry after an empty first", ":/dev/b", 2, "/dev/b");
    row("before a trailing separator", "/dev/a:", 1, "/dev/a");
    row("after a trailing separator", "/dev/a:", 2, "");
    row("set but empty", "", 1, "");
    row("only a separator", ":", 1, "");
    row("COM 0", "/dev/a", 0, "");
    row("COM -1", "/dev/a", -1, "");
    row("entry 16 of 17", numberedList(17), 16, "/dev/p16");
    row("entry 17 of 17", numberedList(17), 17, "");
    row("blanks are kept", " /dev/a ", 1, " /dev/a ");
}

void TestPortMap::portList()
{
    QFETCH(std::string, list);
    QFETCH(int, number);
    QFETCH(std::string, expected);
    QCOMPARE(deviceFromPortList(list, number, ':'), expected);
}

void TestPortMap::naturalOrder_data()
{
    QTest::addColumn<std::string>("a");
    QTest::addColumn<std::string>("b");
    QTest::addColumn<bool>("less");

    const auto row = [](const char *a, const char *b, bool less) {
        QTest::addRow("%s vs %s", a, b) << std::string(a) << std::string(b) << less;
    };
    row("ttyACM2", "ttyACM10", true);
    row("ttyACM10", "ttyACM2", false);
    row("/dev/ttyS9", "/dev/ttyS10", true);
    row("ttyACM10", "ttyS2", true);   // letters decide before the numbers
    row("ttyUSB0", "ttyUSB00", true); // equal values: plain order
    row("ttyUSB00", "ttyUSB0", false);
    row("tty007", "tty10", true);
    row("ttyS1", "ttyS1", false);
    row("tty", "tty0", true);
    row("tty0", "tty", false);
    row("tty1", "ttyA", true); // a digit sorts before a letter, as in plain order
    row("tty10a", "tty10b", true);
    row("tty2x10", "tty2x9", false);
    row("x99999999999999999999", "x100000000000000000000", true); // past 64 bits
}

void TestPortMap::naturalOrder()
{
    QFETCH(std::string, a);
    QFETCH(std::string, b);
    QFETCH(bool, less);
    QCOMPARE(naturalLess(a, b), less);
    if (less)
        QVERIFY(!naturalLess(b, a));
}

void TestPortMap::systemPorts_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<std::string>("expected");

    QTest::newRow("COM 0") << 0 << std::string();
    QTest::newRow("COM 1") << 1 << std::string("/dev/ttyACM2");
    QTest::newRow("COM 2") << 2 << std::string("/dev/ttyACM10");
    QTest::newRow("COM 3") << 3 << std::string("/dev/ttyS2");
    QTest::newRow("COM 16") << 16 << std::string("/dev/ttyS15");
    QTest::newRow("COM 17 exists but is never used") << 17 << std::string();
}

void TestPortMap::systemPorts()
{
    QFETCH(int, number);
    QFETCH(std::string, expected);
    // As the system might list them: not in order, and more than 16.
    std::vector<std::string> devices{"/dev/ttyS10", "/dev/ttyACM10", "/dev/ttyS2", "/dev/ttyACM2"};
    for (int n = 3; n <= 16; ++n) {
        if (n != 10)
            devices.push_back("/dev/ttyS" + std::to_string(n));
    }
    QCOMPARE(devices.size(), std::size_t(17));
    QCOMPARE(deviceFromSystemPorts(devices, number), expected);
}

void TestPortMap::variableOverridesSystem_data()
{
    QTest::addColumn<bool>("variableSet");
    QTest::addColumn<std::string>("variable");
    QTest::addColumn<int>("number");
    QTest::addColumn<std::string>("expected");

    QTest::newRow("unset: the system's list")
            << false << std::string() << 1 << std::string("/dev/ttyS0");
    QTest::newRow("set: its entry")
            << true << std::string("/dev/pts/4") << 1 << std::string("/dev/pts/4");
    QTest::newRow("set: no system port behind it")
            << true << std::string("/dev/pts/4") << 2 << std::string();
    QTest::newRow("set but empty: no port at all") << true << std::string() << 1 << std::string();
    QTest::newRow("unset: COM 17") << false << std::string() << 17 << std::string();
}

void TestPortMap::variableOverridesSystem()
{
    QFETCH(bool, variableSet);
    QFETCH(std::string, variable);
    QFETCH(int, number);
    QFETCH(std::string, expected);
#ifdef _WIN32
    QSKIP("Windows names its ports itself");
#endif
    const std::vector<std::string> system{"/dev/ttyS1", "/dev/ttyS0"};
    const auto value = variableSet ? std::optional<std::string>(variable) : std::nullopt;
    QCOMPARE(deviceForPort(number, value, system), expected);
}

QTEST_GUILESS_MAIN(TestPortMap)
#include "tst_portmap.moc"
