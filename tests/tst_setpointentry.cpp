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
    void currentText_data();
    void currentText();
    void voltageText_data();
    void voltageText();
    void digits_data();
    void digits();
    void digitWithNoTargetDoesNothing();
    void negativeValueCountsAsZero();
    void seriesLinkMirrorsChannelOne_data();
    void seriesLinkMirrorsChannelOne();
    void linkOffLeavesOtherChannelAlone();
    void selectorFallsBackToLastSent();
    void selectorRedrawsEveryDisplayFromLastSent();
};

void TestSetPointEntry::currentText_data()
{
    QTest::addColumn<int>("mA");
    QTest::addColumn<std::string>("text");
    QTest::newRow("negative") << -5 << std::string("0.000");
    QTest::newRow("zero") << 0 << std::string("0.000");
    QTest::newRow("1") << 1 << std::string("0.001");
    QTest::newRow("10") << 10 << std::string("0.010");
    QTest::newRow("50") << 50 << std::string("0.050");
    QTest::newRow("100") << 100 << std::string("0.100");
    QTest::newRow("999, below one ampere") << 999 << std::string("0.999");
    QTest::newRow("1000, one ampere") << 1000 << std::string("1.000");
    QTest::newRow("1555") << 1555 << std::string("1.555");
    QTest::newRow("2999") << 2999 << std::string("2.999");
    QTest::newRow("3000, the limit") << 3000 << std::string("3.000");
    QTest::newRow("larger gets a longer whole part") << 32009 << std::string("32.009");
}

void TestSetPointEntry::currentText()
{
    QFETCH(int, mA);
    QFETCH(std::string, text);
    QCOMPARE(CurrentToText(mA), text);
}

void TestSetPointEntry::voltageText_data()
{
    QTest::addColumn<int>("steps");
    QTest::addColumn<std::string>("text");
    QTest::newRow("negative") << -1 << std::string("00.00");
    QTest::newRow("zero") << 0 << std::string("00.00");
    QTest::newRow("1") << 1 << std::string("00.01");
    QTest::newRow("5") << 5 << std::string("00.05");
    QTest::newRow("50") << 50 << std::string("00.50");
    QTest::newRow("100") << 100 << std::string("01.00");
    QTest::newRow("150") << 150 << std::string("01.50");
    QTest::newRow("999, below ten volts") << 999 << std::string("09.99");
    QTest::newRow("1000, ten volts") << 1000 << std::string("10.00");
    QTest::newRow("1234") << 1234 << std::string("12.34");
    QTest::newRow("3199") << 3199 << std::string("31.99");
    QTest::newRow("3200, the limit") << 3200 << std::string("32.00");
    QTest::newRow("larger gets a longer whole part") << 32009 << std::string("320.09");
}

void TestSetPointEntry::voltageText()
{
    QFETCH(int, steps);
    QFETCH(std::string, text);
    QCOMPARE(VoltageToText(steps), text);
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
    QTest::newRow("current 300 then 9 starts anew")
            << 1 << 300 << QList<int>{9} << QList<int>{9} << std::string("0.009");
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
    // The link is off: no other set-point moves.
    for (int other = 1; other <= 4; ++other) {
        if (other != target)
            QCOMPARE(valueIn(state, other), valueIn(before, other));
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

void TestSetPointEntry::negativeValueCountsAsZero()
{
    PanelState state;
    state.EditTarget = CH1Voltage;
    state.CH1VoltSet = -500;
    Displays displays;
    pressDigit(7, state, displays);
    QCOMPARE(state.CH1VoltSet, 7);
    QCOMPARE(displays.CH1V, std::string("00.07"));
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

void TestSetPointEntry::linkOffLeavesOtherChannelAlone()
{
    PanelState state;
    state.EditTarget = CH1Current;
    Displays displays;
    pressDigit(7, state, displays);
    QCOMPARE(state.CH2CurrSet, 0);
    QCOMPARE(displays.CH2I, std::string("0.000"));
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
