// The manual panel on the core: selectors, keypad, Enter, the output switch and the series link,
// played as scripts of key presses; and the rule that a refused frame changes nothing.

#include "doubles/doubles.h"

#include "core/frontpanel.h"
#include "core/keyrepeat.h"

#include <QStringList>
#include <QTest>

using namespace mq7410;
using namespace mq7410::test;

namespace {

// Plays a script: V1 A1 V2 A2 select, digits type, E Enter, O output, L series link,
// ! refuse the writes that follow, + take them again.
void play(FrontPanel &panel, RecordingLink &link, const QString &script)
{
    const QStringList tokens = script.split(' ', Qt::SkipEmptyParts);
    for (const QString &token : tokens) {
        if (token == "V1" || token == "A1" || token == "V2" || token == "A2") {
            const bool voltage = token[0] == 'V';
            const bool one = token[1] == '1';
            panel.select(one ? (voltage ? SetPoint::Ch1Voltage : SetPoint::Ch1Current)
                             : (voltage ? SetPoint::Ch2Voltage : SetPoint::Ch2Current));
        } else if (token == "E") {
            (void)panel.enter();
        } else if (token == "O") {
            (void)panel.toggleOutput();
        } else if (token == "L") {
            (void)panel.toggleSeriesLink();
        } else if (token == "!") {
            link.refuseWith = "the line is down";
        } else if (token == "+") {
            link.refuseWith.clear();
        } else {
            panel.pressDigit(token.toInt());
        }
    }
}

QStringList toList(const std::vector<std::string> &frames)
{
    QStringList list;
    for (const std::string &frame : frames)
        list << QString::fromStdString(frame);
    return list;
}

// CH2 V, CH2 I, CH1 V, CH1 I, as the panel reads left to right.
QString displays(const PanelView &view)
{
    const auto show = [&view](SetPoint setPoint) {
        return QString::fromStdString(view.displays.at(std::size_t(indexOf(setPoint))));
    };
    return show(SetPoint::Ch2Voltage) + ' ' + show(SetPoint::Ch2Current) + " | "
           + show(SetPoint::Ch1Voltage) + ' ' + show(SetPoint::Ch1Current);
}

} // namespace

class TestFrontPanel : public QObject
{
    Q_OBJECT
private slots:
    void scripts_data();
    void scripts();
    void refusedActionChangesNothing_data();
    void refusedActionChangesNothing();
    void captionsFollowTheSwitches();
    void heldKeysDoNotRepeat_data();
    void heldKeysDoNotRepeat();
};

void TestFrontPanel::scripts_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QString>("displays");

    const QString zero = "00.00 0.000 | 00.00 0.000";
    QTest::newRow("Enter straight after start") << "E" << QStringList{"880000"} << zero;
    QTest::newRow("12.34 V on CH1")
            << "V1 1 2 3 4 E" << QStringList{"8804D2"} << "00.00 0.000 | 12.34 0.000";
    QTest::newRow("a digit past the limit starts a new value")
            << "V1 1 2 3 4 E V1 5 0 0" << QStringList{"8804D2"} << "00.00 0.000 | 05.00 0.000";
    QTest::newRow("current typed on from the last sent value")
            << "A1 5 E A1 1 5" << QStringList{"870005"} << "00.00 0.000 | 00.00 0.515";
    QTest::newRow("current past 3000 becomes the digit")
            << "A1 5 E A1 1 5 0 0" << QStringList{"870005"} << zero;
    QTest::newRow("voltage 320 then 0 is the limit")
            << "V1 3 2 0 0" << QStringList{} << "00.00 0.000 | 32.00 0.000";
    QTest::newRow("voltage 320 then 1 starts again")
            << "V1 3 2 0 1" << QStringList{} << "00.00 0.000 | 00.01 0.000";
    QTest::newRow("voltage 321 then 0 is over") << "V1 3 2 1 0" << QStringList{} << zero;
    QTest::newRow("a selector shows what was sent")
            << "V1 1 2 E V1 3 A2" << QStringList{"88000C"} << "00.00 0.000 | 00.12 0.000";
    QTest::newRow("worked example") << "V1 1 2 3 4 E A1 1 5 0 0 E V2 5 0 0 E A2 2 5 0 E O L L"
                                    << QStringList{"8804D2", "8705DC",     "8A01F4",    "8900FA",
                                                   "8CF0F0", "8F05DC04D2", "8E00FA01F4"}
                                    << "05.00 0.250 | 12.34 1.500";
    QTest::newRow("link on: channel 2 follows a CH1 digit")
            << "L A1 7" << QStringList{"8F00000000"} << "00.00 0.007 | 00.00 0.007";
    QTest::newRow("link on: a CH2 digit is overwritten by channel 1")
            << "V1 4 L V2 5" << QStringList{"8F00000004"} << "00.00 0.000 | 00.00 0.000";
    QTest::newRow("link off with nothing sent for channel 2")
            << "L L" << QStringList{"8F00000000", "8E00000000"} << zero;
    QTest::newRow("link on: channel 2 shows the typed value it was sent")
            << "V1 1 2 A1 L" << QStringList{"8F0000000C"} << "00.12 0.000 | 00.00 0.000";
    QTest::newRow("link off: channel 2 shows the value Enter last sent, now sent again")
            << "V2 3 0 0 0 E V2 1 L L" << QStringList{"8A0BB8", "8F00000000", "8E00000BB8"}
            << "30.00 0.000 | 00.00 0.000";
    QTest::newRow("link off restores the texts of link-on time")
            << "V2 7 E L V2 L" << QStringList{"8A0007", "8F00000000", "8E00000007"}
            << "00.07 0.000 | 00.00 0.000";
    QTest::newRow("Enter with the link on sends channel 1 only")
            << "L V1 9 E" << QStringList{"8F00000000", "880009"} << "00.09 0.000 | 00.09 0.000";
    QTest::newRow("a refused Enter keeps the value typed")
            << "V1 1 2 ! E + E" << QStringList{"88000C"} << "00.00 0.000 | 00.12 0.000";
    QTest::newRow("a refused Enter records nothing as sent")
            << "V1 1 2 ! E + V1" << QStringList{} << zero;
}

void TestFrontPanel::scripts()
{
    QFETCH(QString, script);
    QFETCH(QStringList, frames);
    QFETCH(QString, displays);
    RecordingLink link;
    ManualClock clock;
    FrontPanel panel(link, clock);
    play(panel, link, script);
    QCOMPARE(toList(link.sent), frames);
    QCOMPARE(::displays(panel.view()), displays);
}

void TestFrontPanel::refusedActionChangesNothing_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("refused");
    QTest::newRow("Enter") << "V1 1 2"
                           << "E"
                           << "88000C";
    QTest::newRow("output on") << ""
                               << "O"
                               << "8CF0F0";
    QTest::newRow("output off") << "O"
                                << "O"
                                << "8C0F0F";
    QTest::newRow("link on") << "V1 3 E V2 4"
                             << "L"
                             << "8F00000003";
    QTest::newRow("link off") << "V2 6 E L"
                              << "L"
                              << "8E00000006";
}

void TestFrontPanel::refusedActionChangesNothing()
{
    QFETCH(QString, before);
    QFETCH(QString, action);
    QFETCH(QString, refused);
    RecordingLink link;
    ManualClock clock;
    FrontPanel panel(link, clock);
    play(panel, link, before);
    const PanelView was = panel.view();
    std::vector<FrameRecord> told;
    panel.setFrameObserver([&told](const FrameRecord &record) { told.push_back(record); });

    play(panel, link, "! " + action);
    const PanelView is = panel.view();
    QCOMPARE(toList(link.refused), QStringList{refused});
    QCOMPARE(told.size(), std::size_t(1));
    QVERIFY(!told[0].sent);
    QCOMPARE(told[0].reason, std::string("the line is down"));
    QCOMPARE(::displays(is), ::displays(was));
    QCOMPARE(is.outputCaption, was.outputCaption);
    QCOMPARE(is.serialCaption, was.serialCaption);
    QCOMPARE(is.linkBanner, was.linkBanner);
    // Nothing was recorded as sent or linked: the same action, taken, sends what it would have.
    play(panel, link, "+ " + action);
    QCOMPARE(toList(link.sent).mid(link.sent.size() - 1), QStringList{refused});
}

void TestFrontPanel::captionsFollowTheSwitches()
{
    RecordingLink link;
    ManualClock clock;
    FrontPanel panel(link, clock);
    QCOMPARE(panel.view().outputCaption, std::string("Output /Off"));
    play(panel, link, "O L");
    const PanelView on = panel.view();
    QCOMPARE(on.outputCaption, std::string("Output /On"));
    QCOMPARE(on.serialCaption, std::string("Serial /On"));
    QVERIFY(on.linkBanner);
    play(panel, link, "O L");
    QCOMPARE(panel.view().outputCaption, std::string("Output /Off"));
    QCOMPARE(panel.view().serialCaption, std::string("Serial /Off"));
    QVERIFY(!panel.view().linkBanner);
    // The manual panel's keys do nothing while the auto panel is shown.
    panel.showAutoPanel();
    play(panel, link, "V1 5 E O");
    QCOMPARE(link.sent.size(), std::size_t(4));
}

void TestFrontPanel::heldKeysDoNotRepeat_data()
{
    // p: press, r: release, of key 1 or 2 at a time stamp: "p1@10" ...
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("firstPresses");
    QTest::newRow("press, release, press") << "p1@10 r1@20 p1@30"
                                           << "10 30";
    QTest::newRow("a press of a key still down") << "p1@10 p1@50 p1@90 r1@95"
                                                 << "10";
    QTest::newRow("X11 repeat: release and press at one time stamp")
            << "p1@10 r1@40 p1@40 r1@70 p1@70 r1@99"
            << "10";
    QTest::newRow("another key between") << "p1@10 p2@20 r1@30 r2@40 p1@40"
                                         << "10 20 40";
    QTest::newRow("no time stamps at all") << "p1@0 r1@0 p1@0 r1@0"
                                           << "0 0";
}

void TestFrontPanel::heldKeysDoNotRepeat()
{
    QFETCH(QString, events);
    QFETCH(QString, firstPresses);
    KeyRepeatFilter keys;
    QStringList first;
    for (const QString &event : events.split(' ')) {
        const int key = event.mid(1, 1).toInt();
        const QString time = event.section('@', 1);
        if (event.startsWith('r'))
            keys.release(key, time.toULongLong());
        else if (keys.press(key, time.toULongLong()))
            first << time;
    }
    QCOMPARE(first.join(' '), firstPresses);
}

QTEST_GUILESS_MAIN(TestFrontPanel)
#include "tst_frontpanel.moc"
