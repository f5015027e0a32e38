// SPDX-License-Identifier: GPL-3.0-or-later
// The manual panel on the core, as scripts of actions: the keypad and switches, the same
// actions at the level of values, the limits, the series link, frames that wait for the line,
// and a reconnect. Every script also checks the standing rule: an action that is refused sends
// nothing and changes nothing.

#include "doubles.h"

#include "frontpanel.h"
#include "keyrepeat.h"

#include <QStringList>
#include <QTest>

using namespace mq7410;
using namespace mq7410::test;

namespace {

SetPoint setPointOf(const QString &name)
{
    const bool voltage = name[0] == 'V';
    const bool one = name[1] == '1';
    return one ? (voltage ? SetPoint::Ch1Voltage : SetPoint::Ch1Current)
               : (voltage ? SetPoint::Ch2Voltage : SetPoint::Ch2Current);
}

// CH2 V, CH2 I, CH1 V, CH1 I, as the panel reads left to right; a typed display ends in '*'.
QString displays(const PanelView &view)
{
    const auto show = [&view](SetPoint setPoint) {
        const auto i = std::size_t(indexOf(setPoint));
        return QString::fromStdString(view.displays.at(i))
               + (view.roles.at(i) == DisplayRole::Typed ? "*" : "");
    };
    return show(SetPoint::Ch2Voltage) + ' ' + show(SetPoint::Ch2Current) + " | "
           + show(SetPoint::Ch1Voltage) + ' ' + show(SetPoint::Ch1Current);
}

bool sameView(const PanelView &a, const PanelView &b)
{
    return a.displays == b.displays && a.roles == b.roles && a.outputCaption == b.outputCaption
           && a.serialCaption == b.serialCaption && a.linkBanner == b.linkBanner;
}

struct Bench
{
    RecordingLink link;
    ManualClock clock;
    FrontPanel panel{link, clock};
    QStringList refusals; // the kind of each refused action, in order

    // Plays a script. Keys: V1 A1 V2 A2 select, digits type, E Enter, X Esc, O output, L link.
    // Values: V1=1234 a set-point, O=1 the output, L=0 the link. The line: ! refuse the writes
    // that follow, + take them again, H hold them back (they wait for the line), S the rest
    // left, C the line hung up; R a reconnect. Limits: <V1=500.
    void play(const QString &script)
    {
        for (const QString &token : script.split(' ', Qt::SkipEmptyParts)) {
            const PanelView before = panel.view();
            const Status status = act(token);
            if (status)
                continue;
            refusals << kindName(status.failure().kind);
            QVERIFY2(sameView(before, panel.view()), qPrintable("changed by refused " + token));
        }
    }

    Status act(const QString &token)
    {
        const QString value = token.section('=', 1);
        if (token.startsWith('<')) {
            SetPointValues limits = panel.limits();
            valueOf(limits, setPointOf(token.mid(1))) = std::int16_t(value.toInt());
            panel.setLimits(limits);
        } else if (token.contains('=') && token[0] == 'O') {
            return panel.setOutput(value == "1");
        } else if (token.contains('=') && token[0] == 'L') {
            return panel.setSeriesLink(value == "1");
        } else if (token.contains('=')) {
            return panel.setSetPoint(setPointOf(token), value.toInt());
        } else if (token.size() == 2 && (token[0] == 'V' || token[0] == 'A')) {
            panel.select(setPointOf(token));
        } else if (token == "E") {
            return panel.enter();
        } else if (token == "X") {
            panel.abandonTyping();
        } else if (token == "O") {
            return panel.toggleOutput();
        } else if (token == "L") {
            return panel.toggleSeriesLink();
        } else if (token == "!" || token == "+") {
            link.refuseWith = token == "!" ? "the line is down" : "";
        } else if (token == "H") {
            link.holdBack = true;
        } else if (token == "S") {
            link.holdBack = false;
            panel.settleWaiting({});
        } else if (token == "C") {
            link.holdBack = false;
            panel.lineLost("hung up");
        } else if (token == "R") {
            panel.forgetSupplyState();
        } else {
            panel.pressDigit(token.toInt());
        }
        return {};
    }

    static QString kindName(FailureKind kind)
    {
        switch (kind) {
        case FailureKind::Busy:
            return "busy";
        case FailureKind::OutOfRange:
            return "range";
        case FailureKind::BadValue:
            return "value";
        case FailureKind::Line:
            return "line";
        default:
            return "other";
        }
    }
};

QStringList toList(const std::vector<std::string> &frames)
{
    QStringList list;
    for (const std::string &frame : frames)
        list << QString::fromStdString(frame);
    return list;
}

} // namespace

class TestFrontPanel : public QObject
{
    Q_OBJECT
private slots:
    void scripts_data();
    void scripts();
    void captionsAndNotes();
    void heldKeysDoNotRepeat_data();
    void heldKeysDoNotRepeat();
};

void TestFrontPanel::scripts_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("frames"); // every frame handed to the line
    QTest::addColumn<QString>("displays");
    QTest::addColumn<QString>("refusals");

    const auto row = [](const char *tag, const char *script, const QStringList &frames,
                        const char *displays, const char *refusals = "") {
        QTest::newRow(tag) << script << frames << displays << refusals;
    };
    const char *zero = "00.00 0.000 | 00.00 0.000";
    row("Enter straight after start", "E", {"880000"}, zero);
    row("12.34 V on CH1", "V1 1 2 3 4 E", {"8804D2"}, "00.00 0.000 | 12.34 0.000");
    row("digits typed show as typed", "V1 1 2", {}, "00.00 0.000 | 00.12* 0.000");
    row("Esc shows what the supply holds again", "V1 5 E V1 1 2 X", {"880005"},
        "00.00 0.000 | 00.05 0.000");
    row("a digit past the limit starts a new value", "V1 1 2 3 4 E V1 5 0 0", {"8804D2"},
        "00.00 0.000 | 05.00* 0.000");
    row("current typed on from the last sent value", "A1 5 E A1 1 5", {"870005"},
        "00.00 0.000 | 00.00 0.515*");
    row("current past 3000 becomes the digit", "A1 5 E A1 1 5 0 0", {"870005"},
        "00.00 0.000 | 00.00 0.000*");
    row("voltage 320 then 0 is the limit", "V1 3 2 0 0", {}, "00.00 0.000 | 32.00* 0.000");
    row("voltage 321 then 0 is over", "V1 3 2 1 0", {}, "00.00 0.000 | 00.00* 0.000");
    row("a selector shows what was sent", "V1 1 2 E V1 3 A2", {"88000C"},
        "00.00 0.000 | 00.12 0.000");
    row("worked example", "V1 1 2 3 4 E A1 1 5 0 0 E V2 5 0 0 E A2 2 5 0 E O L L",
        {"8804D2", "8705DC", "8A01F4", "8900FA", "8CF0F0", "8F05DC04D2", "8E00FA01F4"},
        "05.00 0.250 | 12.34 1.500");
    // The user's limits, whatever the source of the value.
    row("a user's limit: a digit past it starts a new value", "<V1=500 V1 5 0 0 V1 5 0 1", {},
        "00.00 0.000 | 00.01* 0.000");
    row("a user's limit: a value above it is refused", "<V1=500 V1=501 V1=500", {"8801F4"},
        "00.00 0.000 | 05.00 0.000", "range");
    row("in series channel 1 keeps channel 2's limit", "<V2=500 L V1=600", {"8F00000000"}, zero,
        "range");
    row("link on is refused when channel 2's limit is passed", "V1=600 <V2=500 L", {"880258"},
        "00.00 0.000 | 06.00 0.000", "range");
    // In series channel 2 follows channel 1: its displays show channel 1's at every moment.
    row("link on: channel 2 follows a CH1 digit", "L A1 7", {"8F00000000"},
        "00.00 0.007* | 00.00 0.007*");
    row("link on: channel 2 follows Enter on CH1", "L V1 9 E A1", {"8F00000000", "880009"},
        "00.09 0.000 | 00.09 0.000");
    row("link on: a CH2 digit has no effect", "V1 4 L V2 5", {"8F00000000"}, zero);
    row("link on sends what channel 1 holds, not digits typed unseen", "V1 1 2 A1 L",
        {"8F00000000"}, zero);
    row("link off with nothing sent for channel 2", "L L", {"8F00000000", "8E00000000"}, zero);
    row("link off: channel 2 gets what Enter last sent for it", "V2 3 0 0 0 E V2 1 L L",
        {"8A0BB8", "8F00000000", "8E00000BB8"}, "30.00 0.000 | 00.00 0.000");
    row("values: the switches set, not toggled", "O=1 O=1 L=1 L=0",
        {"8CF0F0", "8CF0F0", "8F00000000", "8E00000000"}, zero);
    row("values: a set-point drops what is typed for it", "V1 7 V1=250", {"8800FA"},
        "00.00 0.000 | 02.50 0.000");
    row("values: above the supply's range", "A2=3001 V1=-1", {}, zero, "range range");
    // A refused frame changes nothing: the same action, taken, sends what it would have.
    row("a refused Enter keeps the value typed", "V1 1 2 ! E + E", {"88000C"},
        "00.00 0.000 | 00.12 0.000", "line");
    row("a refused Enter records nothing as sent", "V1 1 2 ! E + V1", {}, zero, "line");
    row("refused output and link", "O ! O L + L", {"8CF0F0", "8F00000000"}, zero, "line line");
    // A frame counts as sent only when its last byte left.
    row("a waiting frame shows nothing new", "H V1 5 E", {"880005"}, zero);
    row("a waiting frame, then its rest", "H V1 5 E S", {"880005"}, "00.00 0.000 | 00.05 0.000");
    row("the next frame waits for the rest of the last", "H V1 5 E V1 6 E", {"880005"},
        "00.00 0.000 | 00.06* 0.000", "line");
    row("a cut frame leaves the supply unknown", "H V1 5 E C", {"880005"},
        "--.-- -.--- | --.-- -.---");
    // After a reconnect the supply may hold anything until a frame sets it.
    row("a reconnect: unknown until set", "V1 5 E R A1 7 E", {"880005", "870007"},
        "--.-- -.--- | --.-- 0.007");
    row("a reconnect: Enter needs a typed value", "R V1 E", {}, "--.-- -.--- | --.-- -.---",
        "value");
    row("a reconnect: link on needs channel 1 known", "R L", {}, "--.-- -.--- | --.-- -.---",
        "value");
}

void TestFrontPanel::scripts()
{
    QFETCH(QString, script);
    QFETCH(QStringList, frames);
    QFETCH(QString, displays);
    QFETCH(QString, refusals);
    Bench bench;
    bench.play(script);
    QCOMPARE(toList(bench.link.sent), frames);
    QCOMPARE(::displays(bench.panel.view()), displays);
    QCOMPARE(bench.refusals.join(' '), refusals);
}

void TestFrontPanel::captionsAndNotes()
{
    Bench bench;
    bench.play("O L <V1=500 V1 1 2");
    const PanelView on = bench.panel.view();
    QCOMPARE(on.outputCaption, std::string("Output /On"));
    QCOMPARE(on.serialCaption, std::string("Serial /On"));
    QVERIFY(on.linkBanner);
    QCOMPARE(on.limitNotes, (std::array<std::string, SetPointCount>{"\u2264 5.00 V", "", "", ""}));
    QCOMPARE(bench.panel.typingNote(),
             std::string("Enter sends CH1 voltage 0.12 V (CH2 follows in series) \u00b7 Esc "
                         "abandons it"));
    bench.play("O L");
    QCOMPARE(bench.panel.view().outputCaption, std::string("Output /Off"));
    QVERIFY(!bench.panel.view().linkBanner);
    // The manual panel's keys do nothing while the auto panel is shown; values still work.
    bench.panel.showAutoPanel();
    bench.play("V1 5 E O V1=5");
    QCOMPARE(toList(bench.link.sent).mid(4), QStringList{"880005"});
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
