// SPDX-License-Identifier: GPL-3.0-or-later
// The port walk at start-up, on scripted ports and boxes: which ports are offered, the exact
// boxes, what is left open, and the reasons for the ports that were not offered.

#include "doubles.h"

#include "portwalk.h"

#include <QStringList>
#include <QTest>

#include <map>

using namespace mq7410;
using namespace mq7410::test;

namespace {

// COM n exists when it has an entry: "open" opens, any other text is the reason it did not.
class ScriptedPorts final : public PortOpener
{
public:
    PortTrial open(int number) override
    {
        log << QStringLiteral("open %1").arg(number);
        const auto port = ports.find(number);
        if (port == ports.end())
            return {};
        const bool opened = port->second == "open";
        openNow += opened ? 1 : 0;
        mostOpen = std::max(mostOpen, openNow);
        PortTrial trial{"/dev/tty" + std::to_string(number), "tty " + std::to_string(number), {}};
        if (!opened)
            trial.opened = Failure{FailureKind::Port, port->second};
        return trial;
    }
    Status close() override
    {
        log << QStringLiteral("close");
        --openNow;
        if (closeError.empty())
            return {};
        return Failure{FailureKind::Port, closeError};
    }

    std::map<int, std::string> ports;
    std::string closeError;
    QStringList log;
    int openNow = 0;
    int mostOpen = 0;
};

QStringList texts(const std::vector<Message> &shown)
{
    QStringList list;
    for (const Message &message : shown) {
        list << QString::fromStdString(message.title + '|' + message.prompt + '|' + message.details)
                        + '|' + QString::number(int(message.kind));
    }
    return list;
}

const QString NoPort = "Power Supply|No communication port can use!|";
const int Stop = int(MessageKind::Stop);

} // namespace

class TestPortWalk : public QObject
{
    Q_OBJECT
private slots:
    void walk_data();
    void walk();
};

void TestPortWalk::walk_data()
{
    QTest::addColumn<QString>("ports");   // "2=open 5=held_by_another_program" ...
    QTest::addColumn<QString>("answers"); // y/n for the questions, in order
    QTest::addColumn<QString>("closeError");
    QTest::addColumn<int>("accepted");
    QTest::addColumn<QStringList>("boxes");

    QTest::newRow("no port at all") << ""
                                    << ""
                                    << "" << 0 << QStringList{NoPort + "|" + QString::number(Stop)};
    QTest::newRow("No to 2, Yes to 5, 6 never tried")
            << "2=open 5=open 6=open"
            << "ny"
            << "" << 5
            << QStringList{"Power Supply|Find Com 2, Using it?|tty 2|0",
                           "Power Supply|Find Com 5, Using it?|tty 5|0",
                           "Power Supply|Using COM5:||3"};
    QTest::newRow("COM 16 accepted") << "16=open"
                                     << "y"
                                     << "" << 16
                                     << QStringList{"Power Supply|Find Com 16, Using it?|tty 16|0",
                                                    "Power Supply|Using COM16:||3"};
    QTest::newRow("a held port is not offered, and says why")
            << "1=held_by_another_program 3=permission_denied"
            << ""
            << "" << 0
            << QStringList{NoPort
                           + "COM 1 (/dev/tty1): held by another program\n"
                             "COM 3 (/dev/tty3): permission denied|"
                           + QString::number(Stop)};
    QTest::newRow("No to every port") << "4=open 9=open"
                                      << "nn"
                                      << "" << 0
                                      << QStringList{"Power Supply|Find Com 4, Using it?|tty 4|0",
                                                     "Power Supply|Find Com 9, Using it?|tty 9|0",
                                                     NoPort + "|" + QString::number(Stop)};
    QTest::newRow("a close that fails after No")
            << "7=open"
            << "n"
            << "Hardware not present" << 0
            << QStringList{"Power Supply|Find Com 7, Using it?|tty 7|0",
                           "! RS-232 ERROR !|Hardware not present||2",
                           NoPort + "|" + QString::number(Stop)};
}

void TestPortWalk::walk()
{
    QFETCH(QString, ports);
    QFETCH(QString, answers);
    QFETCH(QString, closeError);
    QFETCH(int, accepted);
    QFETCH(QStringList, boxes);
    ScriptedPorts opener;
    for (const QString &entry : ports.split(' ', Qt::SkipEmptyParts))
        opener.ports[entry.section('=', 0, 0).toInt()]
                = entry.section('=', 1).replace('_', ' ').toStdString();
    opener.closeError = closeError.toStdString();
    ScriptedBoxes scripted;
    for (const QChar answer : answers)
        scripted.answers.push_back(answer == 'y' ? Answer::Yes : Answer::No);

    const WalkResult result = walkPorts(opener, scripted);
    QCOMPARE(result.port, accepted);
    QCOMPARE(texts(scripted.shown), boxes);
    QCOMPARE(opener.openNow, accepted > 0 ? 1 : 0);
    QVERIFY(opener.mostOpen <= 1);
    // Ports after the accepted one are never tried.
    if (accepted > 0)
        QVERIFY(!opener.log.contains(QStringLiteral("open %1").arg(accepted + 1)));
}

QTEST_GUILESS_MAIN(TestPortWalk)
#include "tst_portwalk.moc"
