// The line settings text: what is taken, and what is turned away.

#include "serial/linesettings.h"

#include <QTest>

#include <string>

using mq7410::LineSettings;
using mq7410::Parity;
using mq7410::parseLineSettings;
using mq7410::StopBits;

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(LineSettings)

class TestSerialSettings : public QObject
{
    Q_OBJECT
private slots:
    void accepted_data();
    void accepted();
    void rejected_data();
    void rejected();
};

void TestSerialSettings::accepted_data()
{
    QTest::addColumn<std::string>("text");
    QTest::addColumn<LineSettings>("expected");

    const auto row = [](const char *text, LineSettings settings) {
        QTest::newRow(text) << std::string(text) << settings;
    };
    row("115200 N 8 1", {115200, Parity::None, 8, StopBits::One});
    row("9600 E 7 2", {9600, Parity::Even, 7, StopBits::Two});
    row("300 O 5 1.5", {300, Parity::Odd, 5, StopBits::OneAndHalf});
    row("19200 M 6 1", {19200, Parity::Mark, 6, StopBits::One});
    row("57600 S 8 2", {57600, Parity::Space, 8, StopBits::Two});
    row("1 N 8 1", {1, Parity::None, 8, StopBits::One});
    row("2147483647 N 8 1", {2147483647, Parity::None, 8, StopBits::One});
}

void TestSerialSettings::accepted()
{
    QFETCH(std::string, text);
    QFETCH(LineSettings, expected);
    const auto parsed = parseLineSettings(text);
    QVERIFY(parsed.has_value());
    QVERIFY(*parsed == expected);
}

void TestSerialSettings::rejected_data()
{
    QTest::addColumn<std::string>("text");

    QTest::newRow("empty") << std::string();
    QTest::newRow("baud only") << std::string("115200");
    QTest::newRow("three fields") << std::string("115200 N 8");
    QTest::newRow("five fields") << std::string("115200 N 8 1 1");
    QTest::newRow("trailing blank") << std::string("115200 N 8 1 ");
    QTest::newRow("leading blank") << std::string(" 115200 N 8 1");
    QTest::newRow("two blanks") << std::string("115200  N 8 1");
    QTest::newRow("commas") << std::string("115200,N,8,1");
    QTest::newRow("tab") << std::string("115200\tN 8 1");
    QTest::newRow("baud 0") << std::string("0 N 8 1");
    QTest::newRow("baud leading zero") << std::string("0115200 N 8 1");
    QTest::newRow("baud negative") << std::string("-9600 N 8 1");
    QTest::newRow("baud plus sign") << std::string("+9600 N 8 1");
    QTest::newRow("baud past 32 bits") << std::string("2147483648 N 8 1");
    QTest::newRow("baud exponent") << std::string("1e5 N 8 1");
    QTest::newRow("baud with letters") << std::string("115200b N 8 1");
    QTest::newRow("parity lower case") << std::string("115200 n 8 1");
    QTest::newRow("parity unknown") << std::string("115200 X 8 1");
    QTest::newRow("parity doubled") << std::string("115200 NN 8 1");
    QTest::newRow("data bits 4") << std::string("115200 N 4 1");
    QTest::newRow("data bits 9") << std::string("115200 N 9 1");
    QTest::newRow("data bits leading zero") << std::string("115200 N 08 1");
    QTest::newRow("stop bits 0") << std::string("115200 N 8 0");
    QTest::newRow("stop bits 3") << std::string("115200 N 8 3");
    QTest::newRow("stop bits 1.0") << std::string("115200 N 8 1.0");
    QTest::newRow("stop bits 1,5") << std::string("115200 N 8 1,5");
    QTest::newRow("stop bits leading zero") << std::string("115200 N 8 01");
    QTest::newRow("embedded NUL") << std::string("115200 N 8 1\0", 13);
}

void TestSerialSettings::rejected()
{
    QFETCH(std::string, text);
    QVERIFY(!parseLineSettings(text).has_value());
}

QTEST_GUILESS_MAIN(TestSerialSettings)
#include "tst_serialsettings.moc"
