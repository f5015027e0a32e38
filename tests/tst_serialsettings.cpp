// The line settings text: what is taken, and what is turned away.

#include "serial/linesettings.h"

#include <QTest>

#include <string>

using mq7410::LineSettings;
using mq7410::Parity;
using mq7410::parseLineSettings;
using mq7410::StopBits;

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(std::optional<LineSettings>)

class TestSerialSettings : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
};

void TestSerialSettings::parse_data()
{
    QTest::addColumn<std::string>("text");
    QTest::addColumn<std::optional<LineSettings>>("expected");
    const auto row
            = [](const char *tag, const std::string &text, std::optional<LineSettings> settings) {
                  QTest::newRow(tag) << text << settings;
              };

    row("115200 N 8 1", "115200 N 8 1", LineSettings{115200, Parity::None, 8, StopBits::One});
    row("9600 E 7 2", "9600 E 7 2", LineSettings{9600, Parity::Even, 7, StopBits::Two});
    row("300 O 5 1.5", "300 O 5 1.5", LineSettings{300, Parity::Odd, 5, StopBits::OneAndHalf});

    row("empty", "", std::nullopt);
    row("three fields", "115200 N 8", std::nullopt);
    row("trailing blank", "115200 N 8 1 ", std::nullopt);
    row("baud 0", "0 N 8 1", std::nullopt);
    row("baud leading zero", "0115200 N 8 1", std::nullopt);
    row("parity lower case", "115200 n 8 1", std::nullopt);
    row("data bits 9", "115200 N 9 1", std::nullopt);
    row("stop bits 1.0", "115200 N 8 1.0", std::nullopt);
}

void TestSerialSettings::parse()
{
    QFETCH(std::string, text);
    QFETCH(std::optional<LineSettings>, expected);
    QVERIFY(parseLineSettings(text) == expected);
}

QTEST_GUILESS_MAIN(TestSerialSettings)
#include "tst_serialsettings.moc"
