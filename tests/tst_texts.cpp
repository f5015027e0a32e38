// SPDX-License-Identifier: GPL-3.0-or-later
// The text rules of the core: numbers typed into the table's boxes and written back, the
// displays' fixed-point texts, what a box can hold, what a set-point box stores (within the
// user's limits), what an entry is read as, and how long a step lasts.

#include "entrycheck.h"
#include "sequencetable.h"
#include "setpointtext.h"
#include "textnumber.h"

#include <QTest>

#include <limits>
#include <optional>
#include <string>

using namespace mq7410;

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(SetPoint)

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

std::string repeated(const std::string &text, int times)
{
    std::string all;
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

} // namespace

class TestTexts : public QObject
{
    Q_OBJECT
private slots:
    void readNumber_data();
    void readNumber();
    void writeNumber_data();
    void writeNumber();
    void displayTexts_data();
    void displayTexts();
    void boxTexts_data();
    void boxTexts();
    void tableCells_data();
    void tableCells();
    void readingNotes_data();
    void readingNotes();
    void stepTimes_data();
    void stepTimes();
};

void TestTexts::readNumber_data()
{
    QTest::addColumn<std::string>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("empty") << std::string() << 0.0;
    QTest::newRow("point first") << std::string(".5") << 0.5;
    QTest::newRow("point alone") << std::string(".") << 0.0;
    QTest::newRow("minus sign") << std::string("-3") << -3.0;
    QTest::newRow("double sign") << std::string("--1") << 0.0;
    QTest::newRow("second point stops") << std::string("1.2.3") << 1.2;
    QTest::newRow("blank inside digits") << std::string("2 0") << 20.0;
    QTest::newRow("tab and line feed inside") << std::string("1\t2\n3") << 123.0;
    QTest::newRow("blanks around exponent") << std::string("1 e 2") << 100.0;
    QTest::newRow("carriage return stops") << std::string("1\r2") << 1.0;
    QTest::newRow("letter first") << std::string("A12") << 0.0;
    QTest::newRow("letter after digits") << std::string("1.5A") << 1.5;
    QTest::newRow("exponent without digits") << std::string("1e") << 1.0;
    QTest::newRow("exponent sign without digits") << std::string("1e+x") << 1.0;
    QTest::newRow("point then exponent") << std::string(".e5") << 0.0;
    QTest::newRow("everything at once") << std::string("+.5e-3x") << 0.0005;
    QTest::newRow("comma is not a point") << std::string("1,5") << 1.0;
    QTest::newRow("non-ASCII stops") << std::string("3\xC2\xB2") << 3.0;
    QTest::newRow("largest finite")
            << std::string("1.7976931348623157e308") << std::numeric_limits<double>::max();
    QTest::newRow("below subnormal") << std::string("1e-400") << 0.0;
    QTest::newRow("zero with huge exponent") << std::string("0e99999") << 0.0;
    QTest::newRow("small mantissa big exponent") << std::string("0.000001e306") << 1e300;
    QTest::newRow("1e999 overflows") << std::string("1e999") << Infinity;
    QTest::newRow("-1e999 overflows") << std::string("-1e999") << -Infinity;
    QTest::newRow("exponent of 30 digits") << "1e" + std::string(30, '9') << Infinity;
    QTest::newRow("400 digits") << std::string(400, '9') << Infinity;
    QTest::newRow("32768 zeros then 1") << std::string(32768, '0') + "1" << 1.0;
}

void TestTexts::readNumber()
{
    QFETCH(std::string, text);
    QFETCH(double, expected);
    QCOMPARE(textToNumber(text), expected);
}

void TestTexts::writeNumber_data()
{
    QTest::addColumn<double>("number");
    QTest::addColumn<std::string>("expected");
    QTest::newRow("zero") << 0.0 << std::string(" 0");
    QTest::newRow("negative zero") << -0.0 << std::string(" 0");
    QTest::newRow("negative whole") << -3.0 << std::string("-3");
    QTest::newRow("fraction below one") << 0.5 << std::string(" .5");
    QTest::newRow("negative fraction") << -0.25 << std::string("-.25");
    QTest::newRow("countdown maximum") << 999999.0 << std::string(" 999999");
    QTest::newRow("fifteen significant digits") << 0.1 + 0.2 << std::string(" .3");
    QTest::newRow("sixteen digits") << 1234567890123456.0 << std::string(" 1.23456789012346E+15");
    QTest::newRow("smaller than 1e-4") << 0.00001 << std::string(" 1E-05");
    QTest::newRow("infinity") << -Infinity << std::string("-inf");
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << std::string(" nan");
}

void TestTexts::writeNumber()
{
    QFETCH(double, number);
    QFETCH(std::string, expected);
    QCOMPARE(numberToText(number), expected);
    if (std::isfinite(number) && std::abs(number) < 1e15)
        QCOMPARE(textToNumber(expected), number);
}

void TestTexts::displayTexts_data()
{
    QTest::addColumn<SetPoint>("setPoint");
    QTest::addColumn<int>("value");
    QTest::addColumn<std::string>("display");
    QTest::addColumn<std::string>("words");
    const SetPoint V = SetPoint::Ch1Voltage;
    const SetPoint A = SetPoint::Ch2Current;
    QTest::newRow("voltage 0") << V << 0 << std::string("00.00") << std::string("0.00 V");
    QTest::newRow("voltage below 0") << V << -5 << std::string("00.00") << std::string("-0.05 V");
    QTest::newRow("voltage 10 mV") << V << 1 << std::string("00.01") << std::string("0.01 V");
    QTest::newRow("voltage 9.99") << V << 999 << std::string("09.99") << std::string("9.99 V");
    QTest::newRow("voltage 10.00") << V << 1000 << std::string("10.00") << std::string("10.00 V");
    QTest::newRow("voltage limit") << V << 3200 << std::string("32.00") << std::string("32.00 V");
    QTest::newRow("current 0") << A << 0 << std::string("0.000") << std::string("0.000 A");
    QTest::newRow("current 1 mA") << A << 1 << std::string("0.001") << std::string("0.001 A");
    QTest::newRow("current 999") << A << 999 << std::string("0.999") << std::string("0.999 A");
    QTest::newRow("current limit") << A << 3000 << std::string("3.000") << std::string("3.000 A");
}

void TestTexts::displayTexts()
{
    QFETCH(SetPoint, setPoint);
    QFETCH(int, value);
    QFETCH(std::string, display);
    QFETCH(std::string, words);
    QCOMPARE(displayText(setPoint, value), display);
    if (value >= 0)
        QCOMPARE(valueWords(setPoint, value), words);
}

void TestTexts::boxTexts_data()
{
    QTest::addColumn<std::string>("text");
    QTest::addColumn<std::string>("problem"); // empty: a box can hold it
    QTest::newRow("64 characters") << std::string(64, '0') << std::string();
    QTest::newRow("65 characters")
            << std::string(65, '0')
            << std::string("it is longer than the 64 characters a box takes");
    QTest::newRow("64 two-byte characters") << repeated("\u00e9", 64) << std::string();
    QTest::newRow("a tab") << std::string("3\t2")
                           << std::string("it holds a tab, which a box cannot show");
    QTest::newRow("a line feed") << std::string("3\n2")
                                 << std::string("it holds a line break, which a box cannot show");
    QTest::newRow("DEL") << std::string("5\x7f")
                         << std::string("it holds the control character U+007F, which a box "
                                        "cannot show");
    QTest::newRow("C1 control U+0085")
            << std::string("5\xc2\x85")
            << std::string("it holds the control character U+0085, which a box cannot show");
    QTest::newRow("no-break space is text") << std::string("5\xc2\xa0") << std::string();
    QTest::newRow("not UTF-8") << std::string("caf\xe9") << std::string("it is not UTF-8 text");
}

void TestTexts::boxTexts()
{
    QFETCH(std::string, text);
    QFETCH(std::string, problem);
    const Status held = checkBoxText(text);
    QCOMPARE(held ? std::string() : held.failure().text, problem);
}

void TestTexts::tableCells_data()
{
    QTest::addColumn<std::string>("text");
    QTest::addColumn<SetPoint>("setPoint");
    QTest::addColumn<int>("cell");  // -1: refused, the box becomes " 0"
    QTest::addColumn<int>("limit"); // the user's, in the cell's units; 0: the supply's
    const SetPoint V = SetPoint::Ch2Voltage;
    const SetPoint A = SetPoint::Ch1Current;
    QTest::newRow("at a user's limit of 5 V") << std::string("5") << V << 500 << 500;
    QTest::newRow("above a user's limit of 5 V") << std::string("5.01") << V << -1 << 500;
    QTest::newRow("rounds to the user's limit") << std::string("5.004") << V << 500 << 500;
    QTest::newRow("voltage limit accepted") << std::string("32") << V << 3200 << 0;
    QTest::newRow("just above the voltage limit") << std::string("32.01") << V << -1 << 0;
    QTest::newRow("current limit accepted") << std::string("3") << A << 3000 << 0;
    QTest::newRow("just above the current limit") << std::string("3.0001") << A << -1 << 0;
    QTest::newRow("3.00000001 is 3 in single precision")
            << std::string("3.00000001") << A << 3000 << 0;
    QTest::newRow("12.345 rounds from single precision") << std::string("12.345") << V << 1235 << 0;
    QTest::newRow("2.675 rounds down") << std::string("2.675") << V << 267 << 0;
    QTest::newRow("half to even, down") << std::string("0.125") << V << 12 << 0;
    QTest::newRow("half to even, up") << std::string("0.375") << V << 38 << 0;
    QTest::newRow("half a milliampere") << std::string("0.0005") << A << 1 << 0;
    QTest::newRow("text after the number") << std::string("1.5A") << A << 1500 << 0;
    QTest::newRow("letters only") << std::string("abc") << A << 0 << 0;
    QTest::newRow("empty") << std::string() << V << 0 << 0;
    QTest::newRow("below zero") << std::string("-0.001") << V << -1 << 0;
    QTest::newRow("negative zero") << std::string("-0") << V << 0 << 0;
    QTest::newRow("negative, too small for single precision")
            << std::string("-1e-50") << V << 0 << 0;
    QTest::newRow("beyond single precision") << std::string("1e39") << V << -1 << 0;
    QTest::newRow("not finite") << std::string("1e999") << A << -1 << 0;
}

void TestTexts::tableCells()
{
    QFETCH(std::string, text);
    QFETCH(SetPoint, setPoint);
    QFETCH(int, cell);
    QFETCH(int, limit);
    const std::optional<std::int16_t> stored
            = limit ? tableCell(text, setPoint, limit) : tableCell(text, setPoint);
    QCOMPARE(stored ? int(*stored) : -1, cell);
}

void TestTexts::readingNotes_data()
{
    QTest::addColumn<std::string>("text");
    QTest::addColumn<bool>("time"); // a Time box, not a CH1 voltage box
    QTest::addColumn<std::string>("note");
    QTest::newRow("decimal comma")
            << std::string("12,5") << false << std::string("12,5 is read as 12.00 V");
    QTest::newRow("unit after the number")
            << std::string("1.5V") << false << std::string("1.5V is read as 1.50 V");
    QTest::newRow("letters only") << std::string("x") << false
                                  << std::string("x is read as 0.00 V");
    QTest::newRow("the whole text read") << std::string(" 1 2.5 ") << false << std::string();
    QTest::newRow("refused anyway") << std::string("40,5") << false << std::string();
    QTest::newRow("a time with a comma")
            << std::string("12,5") << true << std::string("12,5 is read as 12 s");
}

void TestTexts::readingNotes()
{
    QFETCH(std::string, text);
    QFETCH(bool, time);
    QFETCH(std::string, note);
    QCOMPARE(readingNote(text, time ? std::nullopt : std::optional(SetPoint::Ch1Voltage)), note);
}

void TestTexts::stepTimes_data()
{
    QTest::addColumn<std::string>("text");
    QTest::addColumn<int>("seconds");
    QTest::newRow("blank") << std::string() << 0;
    QTest::newRow("blanks inside") << std::string("2 0") << 20;
    QTest::newRow("half rounds away from zero") << std::string("2.5") << 3;
    QTest::newRow("below half a second") << std::string("0.4") << 0;
    QTest::newRow("negative") << std::string("-5") << 0;
    QTest::newRow("not finite") << std::string("1e999") << 0;
    QTest::newRow("the limit") << std::string("999999") << MaxStepSeconds;
    QTest::newRow("above the limit") << std::string("1e9") << MaxStepSeconds;
}

void TestTexts::stepTimes()
{
    QFETCH(std::string, text);
    QFETCH(int, seconds);
    QCOMPARE(stepSeconds(text), seconds);
}

QTEST_GUILESS_MAIN(TestTexts)
#include "tst_texts.moc"
