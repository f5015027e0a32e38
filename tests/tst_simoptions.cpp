// The virtual supply's command line and the line settings it reads back from termios.

#include "sim/linesettings.h"
#include "sim/options.h"

#include <QTest>

#include <termios.h>

using namespace mq7410::sim;

// Linux's BOTHER from <asm/termbits.h>, which cannot be included beside <termios.h>.
constexpr uint LinuxBother = 0010000;

class TestSimOptions : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void usageErrors_data();
    void usageErrors();
    void helpNamesEveryOption();
    void lineSettings_data();
    void lineSettings();
};

void TestSimOptions::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("logPath");
    QTest::addColumn<qulonglong>("exitAfterFrames");
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<bool>("help");

    QTest::newRow("nothing") << QStringList{} << "" << 0ull << QStringList{} << false;
    QTest::newRow("log as two words")
            << QStringList{"--log", "a.jsonl"} << "a.jsonl" << 0ull << QStringList{} << false;
    QTest::newRow("log with =") << QStringList{"--log=a.jsonl"} << "a.jsonl" << 0ull
                                << QStringList{} << false;
    QTest::newRow("last log wins")
            << QStringList{"--log", "a", "--log", "b"} << "b" << 0ull << QStringList{} << false;
    QTest::newRow("exit after frames")
            << QStringList{"--exit-after-frames", "3"} << "" << 3ull << QStringList{} << false;
    QTest::newRow("exit after frames with =")
            << QStringList{"--exit-after-frames=18446744073709551615"} << ""
            << 18446744073709551615ull << QStringList{} << false;
    QTest::newRow("help") << QStringList{"--help"} << "" << 0ull << QStringList{} << true;
    QTest::newRow("short help") << QStringList{"-h"} << "" << 0ull << QStringList{} << true;
    QTest::newRow("command with its own options")
            << QStringList{"--log", "x", "--", "panel", "--help", "--", "-q"} << "x" << 0ull
            << QStringList{"panel", "--help", "--", "-q"} << false;
    QTest::newRow("everything")
            << QStringList{"--exit-after-frames", "2", "--log=l", "--", "sh", "-c", "true"} << "l"
            << 2ull << QStringList{"sh", "-c", "true"} << false;
}

void TestSimOptions::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, logPath);
    QFETCH(qulonglong, exitAfterFrames);
    QFETCH(QStringList, command);
    QFETCH(bool, help);

    std::vector<std::string> words;
    for (const QString &argument : arguments)
        words.push_back(argument.toStdString());
    const ParsedOptions parsed = parseOptions(words);
    QCOMPARE(QString::fromStdString(parsed.error), QString());
    QCOMPARE(QString::fromStdString(parsed.options.logPath), logPath);
    QCOMPARE(parsed.options.exitAfterFrames, exitAfterFrames);
    QStringList parsedCommand;
    for (const std::string &word : parsed.options.command)
        parsedCommand << QString::fromStdString(word);
    QCOMPARE(parsedCommand, command);
    QCOMPARE(parsed.options.help, help);
}

void TestSimOptions::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("errorNames"); // a part of the message that points at the fault

    QTest::newRow("unknown option") << QStringList{"--baud", "9600"} << "--baud";
    QTest::newRow("single dash") << QStringList{"-"} << "unknown option -";
    QTest::newRow("help with a value") << QStringList{"--help=1"} << "--help=1";
    QTest::newRow("option name run on") << QStringList{"--logfile", "x"} << "--logfile";
    QTest::newRow("word without --") << QStringList{"panel"} << "after --";
    QTest::newRow("nothing after --") << QStringList{"--log", "x", "--"} << "no COMMAND";
    QTest::newRow("log without a value") << QStringList{"--log"} << "--log needs a value";
    QTest::newRow("log with an empty name") << QStringList{"--log="} << "file name";
    QTest::newRow("frames without a value")
            << QStringList{"--exit-after-frames"} << "--exit-after-frames needs a value";
    QTest::newRow("frames zero") << QStringList{"--exit-after-frames", "0"} << "not 0";
    QTest::newRow("frames negative") << QStringList{"--exit-after-frames", "-1"} << "not -1";
    QTest::newRow("frames with a letter") << QStringList{"--exit-after-frames=3x"} << "not 3x";
    QTest::newRow("frames with a blank") << QStringList{"--exit-after-frames", " 3"} << "not  3";
    QTest::newRow("frames too many")
            << QStringList{"--exit-after-frames", "18446744073709551616"} << "not 1844";
}

void TestSimOptions::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, errorNames);
    std::vector<std::string> words;
    for (const QString &argument : arguments)
        words.push_back(argument.toStdString());
    const QString error = QString::fromStdString(parseOptions(words).error);
    QVERIFY2(error.contains(errorNames), qPrintable(error));
}

void TestSimOptions::helpNamesEveryOption()
{
    const QString help = QString::fromStdString(helpText());
    for (const char *option : {"--log FILE", "--exit-after-frames N", "--help", "-- COMMAND",
                               "MQ7410_PORTS", "SIGTERM", "SIGINT", "device: /dev/pts/N"})
        QVERIFY2(help.contains(QLatin1String(option)), option);
}

void TestSimOptions::lineSettings_data()
{
    QTest::addColumn<uint>("speed");
    QTest::addColumn<uint>("cflag");
    QTest::addColumn<uint>("iflag");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matchesSupply");

    QTest::newRow("115200 8N1") << uint(B115200) << uint(CS8) << 0u
                                << "115200 baud 8N1, flow control none" << true;
    QTest::newRow("9600 8N1") << uint(B9600) << uint(CS8) << 0u
                              << "9600 baud 8N1, flow control none" << false;
    QTest::newRow("7 data bits even parity") << uint(B115200) << uint(CS7 | PARENB) << 0u
                                             << "115200 baud 7E1, flow control none" << false;
    QTest::newRow("odd parity") << uint(B115200) << uint(CS8 | PARENB | PARODD) << 0u
                                << "115200 baud 8O1, flow control none" << false;
    QTest::newRow("mark parity") << uint(B115200) << uint(CS8 | PARENB | PARODD | CMSPAR) << 0u
                                 << "115200 baud 8M1, flow control none" << false;
    QTest::newRow("space parity") << uint(B115200) << uint(CS8 | PARENB | CMSPAR) << 0u
                                  << "115200 baud 8S1, flow control none" << false;
    QTest::newRow("two stop bits") << uint(B115200) << uint(CS8 | CSTOPB) << 0u
                                   << "115200 baud 8N2, flow control none" << false;
    QTest::newRow("5 data bits") << uint(B115200) << uint(CS5) << 0u
                                 << "115200 baud 5N1, flow control none" << false;
    QTest::newRow("hardware flow control still matches")
            << uint(B115200) << uint(CS8 | CRTSCTS) << 0u
            << "115200 baud 8N1, flow control hardware" << true;
    QTest::newRow("software flow control") << uint(B115200) << uint(CS8) << uint(IXON | IXOFF)
                                           << "115200 baud 8N1, flow control software" << true;
    QTest::newRow("both flow controls") << uint(B115200) << uint(CS8 | CRTSCTS) << uint(IXON)
                                        << "115200 baud 8N1, flow control both" << true;
    // A rate set through termios2, as serial libraries do for rates without a constant.
    QTest::newRow("rate without a constant")
            << LinuxBother << uint(CS8) << 0u << "unknown baud 8N1, flow control none" << false;
}

void TestSimOptions::lineSettings()
{
    QFETCH(uint, speed);
    QFETCH(uint, cflag);
    QFETCH(uint, iflag);
    QFETCH(QString, text);
    QFETCH(bool, matchesSupply);

    termios attributes{};
    attributes.c_cflag = cflag;
    attributes.c_iflag = iflag;
    if (speed == LinuxBother) { // cfsetospeed refuses it; put it where the kernel does
        attributes.c_cflag |= speed;
    } else {
        cfsetospeed(&attributes, speed);
        cfsetispeed(&attributes, speed);
    }
    const LineSettings settings = lineSettingsFrom(attributes);
    QCOMPARE(QString::fromStdString(settings.text()), text);
    QCOMPARE(settings.matchesSupply(), matchesSupply);
}

QTEST_GUILESS_MAIN(TestSimOptions)
#include "tst_simoptions.moc"
