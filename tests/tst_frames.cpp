// The frames built from the panel state, and what building them changes.

#include "protocol/datatransfer.h"
#include "protocol/hexfield.h"

#include <QTest>

using namespace mq7410;

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(mq7410::PanelState)

namespace {

// CH1 12.34 V 1.500 A, CH2 5.00 V 0.250 A, output on, as the worked example of the protocol.
PanelState workedExample()
{
    PanelState state;
    state.CH1VoltSet = 1234;
    state.CH1CurrSet = 1500;
    state.CH2VoltSet = 500;
    state.CH2CurrSet = 250;
    state.OutputOn = On;
    return state;
}

} // namespace

class TestFrames : public QObject
{
    Q_OBJECT
private slots:
    void hexField_data();
    void hexField();
    void frame_data();
    void frame();
    void setPointFramesRecordLastSent();
    void unknownSelectorChangesNothing_data();
    void unknownSelectorChangesNothing();
    void linkOnCopiesChannelOneAndOffRestoresLastSent();
    void linkOnThenOffWithNothingSent();
};

void TestFrames::hexField_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<std::string>("field");
    QTest::newRow("zero") << 0 << std::string("0000");
    QTest::newRow("15, last with three zeros") << 15 << std::string("000F");
    QTest::newRow("16, first with two zeros") << 16 << std::string("0010");
    QTest::newRow("255, last with two zeros") << 255 << std::string("00FF");
    QTest::newRow("256, first with one zero") << 256 << std::string("0100");
    QTest::newRow("4095, widest field") << 4095 << std::string("0FFF");
    QTest::newRow("32767 is clamped") << 32767 << std::string("0FFF");
    QTest::newRow("4096 is clamped") << 4096 << std::string("0FFF");
    QTest::newRow("-1 is clamped to zero") << -1 << std::string("0000");
}

void TestFrames::hexField()
{
    QFETCH(int, value);
    QFETCH(std::string, field);
    QCOMPARE(HexField(value), field);
}

void TestFrames::frame_data()
{
    QTest::addColumn<PanelState>("state");
    QTest::addColumn<int>("selector");
    QTest::addColumn<std::string>("frame");

    const PanelState example = workedExample();
    QTest::newRow("CH1 current") << example << 1 << std::string("8705DC");
    QTest::newRow("CH1 voltage") << example << 2 << std::string("8804D2");
    QTest::newRow("CH2 current") << example << 3 << std::string("8900FA");
    QTest::newRow("CH2 voltage") << example << 4 << std::string("8A01F4");
    QTest::newRow("all four, voltage before current")
            << example << 5 << std::string("8D04D205DC01F400FA");
    QTest::newRow("output on") << example << 6 << std::string("8CF0F0");
    QTest::newRow("link on, current before voltage") << example << 8 << std::string("8F05DC04D2");

    QTest::newRow("all four at zero") << PanelState{} << 5 << std::string("8D0000000000000000");
    PanelState limits;
    limits.CH1VoltSet = 5;
    limits.CH1CurrSet = 2000;
    limits.CH2VoltSet = 3200;
    limits.CH2CurrSet = 10;
    QTest::newRow("all four at mixed widths") << limits << 5 << std::string("8D000507D00C80000A");
    QTest::newRow("output off") << PanelState{} << 6 << std::string("8C0F0F");
    PanelState anyNonZeroFlag;
    anyNonZeroFlag.OutputOn = 1;
    QTest::newRow("output flag tested against zero only")
            << anyNonZeroFlag << 6 << std::string("8CF0F0");
}

void TestFrames::frame()
{
    QFETCH(PanelState, state);
    QFETCH(int, selector);
    QFETCH(std::string, frame);
    Displays displays;
    QCOMPARE(prepareTransfer(static_cast<std::int16_t>(selector), state, displays), frame);
}

void TestFrames::setPointFramesRecordLastSent()
{
    PanelState state = workedExample();
    Displays displays;
    for (std::int16_t selector : {1, 2, 3, 4})
        prepareTransfer(selector, state, displays);
    QCOMPARE(state.CH1CurrSent, 1500);
    QCOMPARE(state.CH1VoltSent, 1234);
    QCOMPARE(state.CH2CurrSent, 250);
    QCOMPARE(state.CH2VoltSent, 500);

    // The all-set-points frame and the switches leave the last-sent copies alone.
    state.CH1VoltSet = state.CH1CurrSet = state.CH2VoltSet = state.CH2CurrSet = 7;
    for (std::int16_t selector : {5, 6, 8})
        prepareTransfer(selector, state, displays);
    QCOMPARE(state.CH1CurrSent, 1500);
    QCOMPARE(state.CH1VoltSent, 1234);
    QCOMPARE(state.CH2CurrSent, 250);
    QCOMPARE(state.CH2VoltSent, 500);
}

void TestFrames::unknownSelectorChangesNothing_data()
{
    QTest::addColumn<int>("selector");
    QTest::newRow("0") << 0;
    QTest::newRow("9, just past the last") << 9;
    QTest::newRow("-1") << -1;
}

void TestFrames::unknownSelectorChangesNothing()
{
    QFETCH(int, selector);
    PanelState state = workedExample();
    Displays displays{"12.34", "1.500", "05.00", "0.250"};
    const Displays before = displays;
    QCOMPARE(prepareTransfer(static_cast<std::int16_t>(selector), state, displays), std::string());
    QCOMPARE(displays, before);
    QCOMPARE(state.CH1VoltSent, 0);
    QCOMPARE(state.CH2CurrSet, 250);
}

void TestFrames::linkOnCopiesChannelOneAndOffRestoresLastSent()
{
    PanelState state = workedExample();
    state.CH2VoltSent = 500;
    state.CH2CurrSent = 250;
    Displays displays{"12.34", "1.500", "05.00", "0.250"};
    QCOMPARE(prepareTransfer(SendLinkOn, state, displays), std::string("8F05DC04D2"));
    QCOMPARE(state.SavedCH2VCaption, std::string("05.00"));
    QCOMPARE(state.SavedCH2ICaption, std::string("0.250"));
    QCOMPARE(displays, (Displays{"12.34", "1.500", "12.34", "1.500"}));
    QCOMPARE(state.CH2VoltSet, 1234);
    QCOMPARE(state.CH2CurrSet, 1500);

    displays.CH2V = "99.99"; // whatever the labels show meanwhile is not what comes back
    QCOMPARE(prepareTransfer(SendLinkOff, state, displays), std::string("8E00FA01F4"));
    QCOMPARE(state.CH2VoltSet, 500);
    QCOMPARE(state.CH2CurrSet, 250);
    QCOMPARE(displays, (Displays{"12.34", "1.500", "05.00", "0.250"}));
}

void TestFrames::linkOnThenOffWithNothingSent()
{
    PanelState state = workedExample();
    Displays displays{"12.34", "1.500", "05.00", "0.250"};
    prepareTransfer(SendLinkOn, state, displays);
    QCOMPARE(prepareTransfer(SendLinkOff, state, displays), std::string("8E00000000"));
    QCOMPARE(state.CH2VoltSet, 0);
    QCOMPARE(state.CH2CurrSet, 0);
    QCOMPARE(displays.CH2V, std::string("05.00"));
    QCOMPARE(displays.CH2I, std::string("0.250"));
}

QTEST_GUILESS_MAIN(TestFrames)
#include "tst_frames.moc"
