// Which device is COM n: the MQ7410_PORTS list, the system's list, and their natural order.

#include "serial/naturalorder.h"
#include "serial/portmap.h"

#include <QTest>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

using mq7410::naturalLess;

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(std::optional<std::string>)

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
    void deviceForPort_data();
    void deviceForPort();
    void naturalOrder_data();
    void naturalOrder();
};

void TestPortMap::deviceForPort_data()
{
    QTest::addColumn<std::optional<std::string>>("variable"); // MQ7410_PORTS, or unset
    QTest::addColumn<int>("number");
    QTest::addColumn<std::string>("expected");
    const auto row = [](const char *tag, const std::optional<std::string> &list, int number,
                        const char *device) {
        QTest::newRow(tag) << list << number << std::string(device);
    };

    row("second of two", "/dev/a:/dev/b", 2, "/dev/b");
    row("past the last entry", "/dev/a:/dev/b", 3, "");
    row("empty entry in the middle", "/dev/a::/dev/c", 2, "");
    row("entry after an empty one", "/dev/a::/dev/c", 3, "/dev/c");
    row("after a trailing separator", "/dev/a:", 2, "");
    row("set but empty: no port at all", "", 1, "");
    row("COM 0", "/dev/a", 0, "");
    row("entry 16 of 17", numberedList(17), 16, "/dev/p16");
    row("entry 17 of 17", numberedList(17), 17, "");
    row("set: no system port behind it", "/dev/pts/4", 2, "");
    // Unset: the system's list below, in natural order.
    row("unset: COM 2", std::nullopt, 2, "/dev/ttyACM10");
    row("unset: COM 3", std::nullopt, 3, "/dev/ttyS2");
    row("unset: COM 16", std::nullopt, 16, "/dev/ttyS15");
    row("unset: COM 17 exists but is never used", std::nullopt, 17, "");
}

void TestPortMap::deviceForPort()
{
    QFETCH(std::optional<std::string>, variable);
    QFETCH(int, number);
    QFETCH(std::string, expected);
#ifdef _WIN32
    if (!variable)
        QSKIP("Windows names its ports itself");
#endif
    if (variable) // the rows are written with the separator of Linux and macOS
        std::replace(variable->begin(), variable->end(), ':', mq7410::portListSeparator);
    // As the system might list them: not in order, and more than 16.
    std::vector<std::string> system{"/dev/ttyS10", "/dev/ttyACM10", "/dev/ttyS2", "/dev/ttyACM2"};
    for (int n = 3; n <= 16; ++n) {
        if (n != 10)
            system.push_back("/dev/ttyS" + std::to_string(n));
    }
    QCOMPARE(mq7410::deviceForPort(number, variable, system), expected);
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
    row("ttyACM10", "ttyS2", true);   // letters decide before the numbers
    row("ttyUSB0", "ttyUSB00", true); // equal values: plain order
    row("ttyUSB00", "ttyUSB0", false);
    row("tty007", "tty10", true);
    row("tty", "tty0", true);
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

QTEST_GUILESS_MAIN(TestPortMap)
#include "tst_portmap.moc"
