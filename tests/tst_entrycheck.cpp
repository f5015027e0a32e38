// The check of the table's set-point boxes: what is stored, and when a box must show " 0".

#include "common/textnumber.h"
#include "sequence/entrycheck.h"

#include <QTest>

#include <cmath>
#include <cstdio>
#include <string>

using mq7410::checkEntry;
using mq7410::SetPointKind;

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(mq7410::SetPointKind)

namespace {

constexpr auto Volt = SetPointKind::Voltage;
constexpr auto Amp = SetPointKind::Current;

void addAccepted(const char *tag, SetPointKind kind, const std::string &text, int cell,
                 float entryValue)
{
    QTest::newRow(tag) << kind << text << false << cell << entryValue;
}

void addReplaced(const char *tag, SetPointKind kind, const std::string &text)
{
    QTest::newRow(tag) << kind << text << true << 0 << 0.0f;
}

} // namespace

class TestEntryCheck : public QObject
{
    Q_OBJECT
private slots:
    void entry_data();
    void entry();
    void everyStepOfTheRangeIsStoredExactly_data();
    void everyStepOfTheRangeIsStoredExactly();
};

void TestEntryCheck::entry_data()
{
    QTest::addColumn<SetPointKind>("kind");
    QTest::addColumn<std::string>("text");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<int>("cell");
    QTest::addColumn<float>("entryValue");

    addAccepted("V 12.345 rounds up from single precision", Volt, "12.345", 1235, 12.345f);
    addAccepted("V 2.675 rounds down from single precision", Volt, "2.675", 267, 2.675f);
    addAccepted("V 0.125: half goes to even 12", Volt, "0.125", 12, 0.125f);
    addAccepted("V 0.375: half goes to even 38", Volt, "0.375", 38, 0.375f);
    addReplaced("V 35: typing 5 after 3", Volt, "35");
    addAccepted("V 32.0000001 reads as 32 in single precision", Volt, "32.0000001", 3200, 32.0f);
    addAccepted("V blanks inside the digits", Volt, "2 0", 2000, 20.0f);
    addAccepted("V letters only", Volt, "abc", 0, 0.0f);
    // The text a replaced box is given is checked again: it must settle there.
    addAccepted("V replacement text", Volt, mq7410::NumberToText(0), 0, 0.0f);
    addAccepted("A replacement text", Amp, mq7410::NumberToText(0), 0, 0.0f);

    addAccepted("A 0.0005 rounds to 1 mA", Amp, "0.0005", 1, 0.0005f);
    addAccepted("A 3.00000001 reads as 3 in single precision", Amp, "3.00000001", 3000, 3.0f);
    addReplaced("A 3.0001 above the limit", Amp, "3.0001");
    addReplaced("A 32 is a voltage, not a current", Amp, "32");
    addAccepted("A 1.5A keeps its letter", Amp, "1.5A", 1500, 1.5f);
    addAccepted("A 0.0625: half goes to even 62", Amp, "0.0625", 62, 0.0625f);

    // No negative set-point and nothing outside a double's or a float's range gets through.
    addReplaced("V -1", Volt, "-1");
    addReplaced("A -0.001", Amp, "-0.001");
    addAccepted("V -0 is 0", Volt, "-0", 0, 0.0f);
    addAccepted("A -1e-50 is -0 in single precision", Amp, "-1e-50", 0, 0.0f);
    addReplaced("V 1e999 overflows a double", Volt, "1e999");
    addReplaced("A -1e999 overflows a double", Amp, "-1e999");
    addReplaced("A 1e39 is beyond the float range", Amp, "1e39");
    addReplaced("V -1e39 is beyond the float range", Volt, "-1e39");
}

void TestEntryCheck::entry()
{
    QFETCH(SetPointKind, kind);
    QFETCH(std::string, text);
    QFETCH(bool, replace);
    QFETCH(int, cell);
    QFETCH(float, entryValue);

    const mq7410::EntryCheck result = checkEntry(text, kind);
    QCOMPARE(result.replaceWithZero, replace);
    QCOMPARE(int(result.cell), cell);
    QCOMPARE(result.entryValue, entryValue);
    QVERIFY(!std::signbit(result.entryValue)); // not even -0 is left
}

void TestEntryCheck::everyStepOfTheRangeIsStoredExactly_data()
{
    QTest::addColumn<SetPointKind>("kind");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("largestCell");
    QTest::newRow("voltage, 0.00 to 32.00") << Volt << 2 << 3200;
    QTest::newRow("current, 0.000 to 3.000") << Amp << 3 << 3000;
}

void TestEntryCheck::everyStepOfTheRangeIsStoredExactly()
{
    // Typed with the panel's resolution, every value comes back as its own number of units,
    // although most of them are not exact in single precision; one unit more is replaced.
    QFETCH(SetPointKind, kind);
    QFETCH(int, decimals);
    QFETCH(int, largestCell);

    int unitsPerWhole = 1;
    for (int i = 0; i < decimals; ++i)
        unitsPerWhole *= 10;
    for (int units = 0; units <= largestCell + 1; ++units) {
        char text[32];
        std::snprintf(text, sizeof text, "%d.%0*d", units / unitsPerWhole, decimals,
                      units % unitsPerWhole);
        const mq7410::EntryCheck result = checkEntry(text, kind);
        const bool aboveLimit = units > largestCell;
        QVERIFY2(result.replaceWithZero == aboveLimit, text);
        QVERIFY2(int(result.cell) == (aboveLimit ? 0 : units), text);
    }
}

QTEST_GUILESS_MAIN(TestEntryCheck)
#include "tst_entrycheck.moc"
