// The virtual supply's command line and the line settings it reads back from termios.

#include "sim/linesettings.h"
#include "sim/options.h"

#include <QTest>

#include <termios.h>

using namespace mq7410::sim;

// Linux's BOTHER from <asm/termbits.h>, which cannot be included beside <termios.h>.
constexpr uint LinuxBother = 0010000;

namespace {

// "log FILE, frames N, command WORDS", or "error: MESSAGE".
QString parsed(const QStringList &arguments)
{
    std::vector<std::string> words;
    for (const QString &argument : arguments)
        words.push_back(argument.toStdString());
    const ParsedOptions parsed = parseOptions(words);
    if (!parsed.error.empty())
        return "error: " + QString::fromStdString(parsed.error);
    QStringList command;
    for (const std::string &word : parsed.options.command)
        command << QString::fromStdString(word);
    return QStringLiteral("log %1, frames %2, command %3")
            .arg(QString::fromStdString(parsed.options.logPath))
            .arg(parsed.options.exitAfterFrames)
            .arg(command.join(' '));
}

} // namespace

class TestSimOptions : public QObject
{
    Q_OBJECT
private slots:
    void options_data();
    void options();
    void lineSettings_data();
    void lineSettings();
};

void TestSimOptions::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected"); // the whole result, or a part of the error message

    QTest::newRow("values as two words, last log wins")
            << QStringList{"--log", "a", "--exit-after-frames", "3", "--log", "b"}
            << "log b, frames 3, command ";
    QTest::newRow("values with =, the largest count")
            << QStringList{"--log=a.jsonl", "--exit-after-frames=18446744073709551615"}
            << "log a.jsonl, frames 18446744073709551615, command ";
    QTest::newRow("command with its own options")
            << QStringList{"--log", "x", "--", "panel", "--help", "--", "-q"}
            << "log x, frames 0, command panel --help -- -q";

    QTest::newRow("unknown option")
            << QStringList{"--baud", "9600"} << "error: unknown option --baud";
    QTest::newRow("word without --") << QStringList{"panel"} << "after --";
    QTest::newRow("log with an empty name") << QStringList{"--log="} << "file name";
    QTest::newRow("frames zero") << QStringList{"--exit-after-frames", "0"} << "not 0";
    QTest::newRow("frames too many")
            << QStringList{"--exit-after-frames", "18446744073709551616"} << "not 1844";
}

void TestSimOptions::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    const QString result = parsed(arguments);
    if (expected.startsWith("log "))
        QCOMPARE(result, expected);
    else
        QVERIFY2(result.startsWith("error: ") && result.contains(expected), qPrintable(result));
}

void TestSimOptions::lineSettings_data()
{
    QTest::addColumn<uint>("speed");
    QTest::addColumn<uint>("cflag");
    QTest::addColumn<uint>("iflag");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matchesSupply");
    const auto row = [](const char *tag, uint speed, uint cflag, uint iflag, const char *text,
                        bool matches) {
        QTest::newRow(tag) << speed << cflag << iflag << QString(text) << matches;
    };

    row("115200 8N1", B115200, CS8, 0, "115200 baud 8N1, flow control none", true);
    row("7 data bits even parity", B115200, CS7 | PARENB, 0, "115200 baud 7E1, flow control none",
        false);
    row("two stop bits", B115200, CS8 | CSTOPB, 0, "115200 baud 8N2, flow control none", false);
    row("flow control does not matter", B115200, CS8 | CRTSCTS, IXON,
        "115200 baud 8N1, flow control both", true);
    // A rate set through termios2, as serial libraries do for rates without a constant.
    row("rate without a constant", LinuxBother, CS8, 0, "unknown baud 8N1, flow control none",
        false);
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
