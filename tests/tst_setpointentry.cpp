// The display texts, the selector buttons and the keypad, without a window.

#include "panel/labeltext.h"
#include "panel/setpointentry.h"

#include <QTest>

using namespace mq7410;

Q_DECLARE_METATYPE(std::string)

namespace {

std::int16_t &valueOf(PanelState &state, int target)
{
    switch (target) {
    case CH1Current:
        return state.CH1CurrSet;
    case CH1Voltage:
        return state.CH1VoltSet;
    case CH2Current:
        return state.CH2CurrSet;
    default:
        return state.CH2VoltSet;
    }
}

int valueIn(const PanelState &state, int target)
{
    return valueOf(const_cast<PanelState &>(state), target);
}

const std::string &displayOf(const Displays &displays, int target)
{
    switch (target) {
    case CH1Current:
        return displays.CH1I;
    case CH1Voltage:
        return displays.CH1V;
    case CH2Current:
        return displays.CH2I;
    default:
        return displays.CH2V;
    }
}

} // namespace

class TestSetPointEntry : public QObject
{
    Q_OBJECT
private slots:
    void texts_data();
    void texts();
    void digits_data();
    void digits();
    void digitWithNoTargetDoesNothing();
    void seriesLinkMirrorsChannelOne_data();
    void seriesLinkMirrorsChannelOne();
    void selectorFallsBackToLastSent();
    void selectorRedrawsEveryDisplayFromLastSent();
};

void TestSetPointEntry::texts_data()
{
    QTest::addColumn<bool>("current");
    QTest::addColumn<int>("value");
    QTest::addColumn<std::string>("text");
    const auto row = [](const char *tag, bool current, int value, const char *text) {
        QTest::newRow(tag) << current << value << std::string(text);
    };
    row("A negative", true, -5, "0.000");
    row("A zero", true, 0, "0.000");
    row("A 1, one digit", true, 1, "0.001");
    row("A 999, below one ampere", true, 999, "0.999");
    row("A 1000, one ampere", true, 1000, "1.000");
    row("A 3000, the limit", true, 3000, "3.000");
    row("A larger gets a longer whole part", true, 32009, "32.009");
    row("V negative", false, -1, "00.00");
    row("V zero", false, 0, "00.00");
    row("V 5, one digit", false, 5, "00.05");
    row("V 150, trailing zero", false, 150, "01.50");
    row("V 999, below ten volts", false, 999, "09.99");
    row("V 1000, ten volts", false, 1000, "10.00");
    row("V 3200, the limit", false, 3200, "32.00");
    row("V larger gets a longer whole part", false, 32009, "320.09");
}

void TestSetPointEntry::texts()
{
    QFETCH(bool, current);
    QFETCH(int, value);
    QFETCH(std::string, text);
    QCOMPARE(current ? CurrentToText(value) : VoltageToText(value), text);
}

void TestSetPointEntry::digits_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<std::string>("display");

    QTest::newRow("12.34 V from zero") << 2 << 0 << QList<int>{1, 2, 3, 4}
                                       << QList<int>{1, 12, 123, 1234} << std::string("12.34");
    QTest::newRow("5.00 V over 12.34")
            << 2 << 1234 << QList<int>{5, 0, 0} << QList<int>{5, 50, 500} << std::string("05.00");
    QTest::newRow("current from 5 runs over") << 1 << 5 << QList<int>{1, 5, 0, 0}
                                              << QList<int>{51, 515, 0, 0} << std::string("0.000");
    QTest::newRow("trailing zeros show")
            << 3 << 0 << QList<int>{1, 5, 0} << QList<int>{1, 15, 150} << std::string("0.150");
    QTest::newRow("current 300 then 0 reaches the limit")
            << 1 << 300 << QList<int>{0} << QList<int>{3000} << std::string("3.000");
    QTest::newRow("current 300 then 1 starts anew")
            << 3 << 300 << QList<int>{1} << QList<int>{1} << std::string("0.001");
    QTest::newRow("voltage 320 then 0 reaches the limit")
            << 4 << 320 << QList<int>{0} << QList<int>{3200} << std::string("32.00");
    QTest::newRow("voltage 320 then 1 starts anew")
            << 2 << 320 << QList<int>{1} << QList<int>{1} << std::string("00.01");
    QTest::newRow("voltage 321 then 0 gives 0")
            << 2 << 321 << QList<int>{0} << QList<int>{0} << std::string("00.00");
    QTest::newRow("zero then 0 stays 0")
            << 1 << 0 << QList<int>{0} << QList<int>{0} << std::string("0.000");
    QTest::newRow("fifth voltage digit starts anew")
            << 4 << 1234 << QList<int>{0} << QList<int>{0} << std::string("00.00");
    QTest::newRow("negative start counts as zero")
            << 2 << -500 << QList<int>{7} << QList<int>{7} << std::string("00.07");
    QTest::newRow("largest intermediate value")
            << 2 << 3200 << QList<int>{9} << QList<int>{9} << std::string("00.09");
}

void TestSetPointEntry::digits()
{
    QFETCH(int, target);
    QFETCH(int, start);
    QFETCH(QList<int>, keys);
    QFETCH(QList<int>, values);
    QFETCH(std::string, display);

    PanelState state;
    state.EditTarget = static_cast<std::int16_t>(target);
    valueOf(state, target) = static_cast<std::int16_t>(start);
    Displays displays;
    const PanelState before = state;
    for (int i = 0; i < keys.size(); ++i) {
        pressDigit(keys[i], state, displays);
        QCOMPARE(valueOf(state, target), values[i]);
    }
    QCOMPARE(displayOf(displays, target), display);
    // The link is off: no other set-point or display moves.
    for (int other = 1; other <= 4; ++other) {
        if (other != target) {
            QCOMPARE(valueIn(state, other), valueIn(before, other));
            QCOMPARE(displayOf(displays, other), displayOf(Displays{}, other));
        }
    }
}

void TestSetPointEntry::digitWithNoTargetDoesNothing()
{
    PanelState state;
    state.EditTarget = 0;
    Displays displays;
    pressDigit(7, state, displays);
    QCOMPARE(displays, Displays{});
    QCOMPARE(state.CH1VoltSet + state.CH1CurrSet + state.CH2VoltSet + state.CH2CurrSet, 0);
}

void TestSetPointEntry::seriesLinkMirrorsChannelOne_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("ch1Volt");
    QTest::addColumn<int>("ch1Curr");
    QTest::addColumn<int>("ch2Volt");
    QTest::addColumn<int>("ch2Curr");
    // Key 7 after CH1 was set to 12.34 V, 0 A; CH2 mirrors channel 1 whatever the target.
    QTest::newRow("CH1 current") << 1 << 1234 << 7 << 0 << 7;
    QTest::newRow("CH1 voltage") << 2 << 3 << 0 << 3 << 0;
    QTest::newRow("CH2 current typed, CH1 wins") << 3 << 1234 << 0 << 0 << 0;
    QTest::newRow("CH2 voltage typed, CH1 wins") << 4 << 1234 << 0 << 1234 << 0;
}

void TestSetPointEntry::seriesLinkMirrorsChannelOne()
{
    QFETCH(int, target);
    QFETCH(int, ch1Volt);
    QFETCH(int, ch1Curr);
    QFETCH(int, ch2Volt);
    QFETCH(int, ch2Curr);

    PanelState state;
    state.SeriesLink = On;
    state.CH1VoltSet = 1234;
    state.CH2VoltSet = 999; // what channel 2 held before the key
    state.CH2CurrSet = 999;
    state.EditTarget = static_cast<std::int16_t>(target);
    if (target == CH1Voltage)
        state.CH1VoltSet = 0;
    Displays displays{"12.34", "0.000", "09.99", "0.999"};
    pressDigit(target == CH1Voltage ? 3 : 7, state, displays);

    QCOMPARE(state.CH1VoltSet, ch1Volt);
    QCOMPARE(state.CH1CurrSet, ch1Curr);
    const bool current = target == CH1Current || target == CH2Current;
    QCOMPARE(current ? state.CH2CurrSet : state.CH2VoltSet, current ? ch2Curr : ch2Volt);
    // Only the kind of the target is mirrored; the other kind of channel 2 is left as it was.
    QCOMPARE(current ? state.CH2VoltSet : state.CH2CurrSet, 999);
    QCOMPARE(current ? displays.CH2I : displays.CH2V, current ? displays.CH1I : displays.CH1V);
}

void TestSetPointEntry::selectorFallsBackToLastSent()
{
    PanelState state;
    state.CH1VoltSent = 1234;
    state.CH1VoltSet = 55; // typed, not sent
    state.CH2CurrSet = 77; // typed on another set-point
    Displays displays;
    selectSetPoint(CH1Voltage, state, displays);
    QCOMPARE(state.EditTarget, CH1Voltage);
    QCOMPARE(state.CH1VoltSet, 1234);
    QCOMPARE(state.CH2CurrSet, 77);

    state.CH1VoltSet = 55;
    selectSetPoint(CH1Current, state, displays);
    QCOMPARE(state.EditTarget, CH1Current);
    QCOMPARE(state.CH1VoltSet, 55); // kept until its own selector is clicked
}

void TestSetPointEntry::selectorRedrawsEveryDisplayFromLastSent()
{
    PanelState state;
    state.CH1CurrSent = 1500;
    state.CH1VoltSent = 1234;
    state.CH2CurrSent = 250;
    state.CH2VoltSent = -3; // a negative last-sent value shows as 0
    Displays displays{"99.99", "9.999", "99.99", "9.999"};
    selectSetPoint(CH2Current, state, displays);
    QCOMPARE(displays, (Displays{"12.34", "1.500", "00.00", "0.250"}));
    QCOMPARE(state.CH2CurrSet, 250);
}

QTEST_GUILESS_MAIN(TestSetPointEntry)
#include "tst_setpointentry.moc"
