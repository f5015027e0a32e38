// The two rules by which the boxes' texts become numbers and numbers become texts.

#include "common/textnumber.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <string>

using mq7410::NumberToText;
using mq7410::TextToNumber;

Q_DECLARE_METATYPE(std::string)

class TestTextNumber : public QObject
{
    Q_OBJECT
private slots:
    void textToNumber_data();
    void textToNumber();
    void textToNumberLongTexts();
    void numberToText_data();
    void numberToText();
    void roundTripOfCountdownValues();
};

void TestTextNumber::textToNumber_data()
{
    QTest::addColumn<std::string>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("empty") << std::string() << 0.0;
    QTest::newRow("only blanks") << std::string(" \t\n ") << 0.0;
    QTest::newRow("leading zeros") << std::string("007") << 7.0;
    QTest::newRow("decimal") << std::string("12.345") << 12.345;
    QTest::newRow("point first") << std::string(".5") << 0.5;
    QTest::newRow("point last") << std::string("5.") << 5.0;
    QTest::newRow("point alone") << std::string(".") << 0.0;
    QTest::newRow("sign alone") << std::string("-") << 0.0;
    QTest::newRow("plus sign") << std::string("+3") << 3.0;
    QTest::newRow("minus sign") << std::string("-3") << -3.0;
    QTest::newRow("double sign") << std::string("--1") << 0.0;
    QTest::newRow("second point stops") << std::string("1.2.3") << 1.2;
    QTest::newRow("blank inside digits") << std::string("2 0") << 20.0;
    QTest::newRow("tab and line feed inside") << std::string("1\t2\n3") << 123.0;
    QTest::newRow("blank after sign") << std::string("- 5") << -5.0;
    QTest::newRow("blanks around exponent") << std::string("1 e 2") << 100.0;
    QTest::newRow("carriage return stops") << std::string("1\r2") << 1.0;
    QTest::newRow("letter first") << std::string("A12") << 0.0;
    QTest::newRow("letter after digits") << std::string("1.5A") << 1.5;
    QTest::newRow("exponent") << std::string("1e3") << 1000.0;
    QTest::newRow("upper-case exponent") << std::string("2.5E-1") << 0.25;
    QTest::newRow("exponent without digits") << std::string("1e") << 1.0;
    QTest::newRow("exponent sign without digits") << std::string("1e+x") << 1.0;
    QTest::newRow("exponent alone") << std::string("e5") << 0.0;
    QTest::newRow("point then exponent") << std::string(".e5") << 0.0;
    QTest::newRow("everything at once") << std::string("+.5e-3x") << 0.0005;
    QTest::newRow("comma is not a point") << std::string("1,5") << 1.0;
    QTest::newRow("non-ASCII stops") << std::string("3\xC2\xB2") << 3.0;    // 3 then superscript 2
    QTest::newRow("non-ASCII first") << std::string("\xEF\xBC\x91") << 0.0; // full-width 1
    QTest::newRow("embedded NUL stops") << std::string("4\0"
                                                       "5",
                                                       3)
                                        << 4.0;
    QTest::newRow("negative zero reads as zero") << std::string("-0") << 0.0;
    QTest::newRow("single precision boundary") << std::string("3.00000001") << 3.00000001;
    QTest::newRow("largest finite")
            << std::string("1.7976931348623157e308") << std::numeric_limits<double>::max();
    QTest::newRow("smallest subnormal")
            << std::string("4.9406564584124654e-324") << std::numeric_limits<double>::denorm_min();
    QTest::newRow("below subnormal") << std::string("1e-400") << 0.0;
    QTest::newRow("huge negative exponent") << std::string("5e-99999999999999999999") << 0.0;
    QTest::newRow("zero with huge exponent") << std::string("0e99999") << 0.0;
    QTest::newRow("small mantissa big exponent") << std::string("0.000001e306") << 1e300;
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("1e999 overflows") << std::string("1e999") << inf;
    QTest::newRow("-1e999 overflows") << std::string("-1e999") << -inf;
    QTest::newRow("just past the largest") << std::string("1.8e308") << inf;
    QTest::newRow("exponent with 30 digits")
            << std::string("1e100000000000000000000000000000") << inf;
    QTest::newRow("400 digits") << std::string(400, '9') << inf;
}

void TestTextNumber::textToNumber()
{
    QFETCH(std::string, text);
    QFETCH(double, expected);
    QCOMPARE(TextToNumber(text), expected);
}

void TestTextNumber::textToNumberLongTexts()
{
    // Texts as long as a box can hold: defined results, no crash.
    QCOMPARE(TextToNumber(std::string(32767, '0') + "1"), 1.0);
    QCOMPARE(TextToNumber("0." + std::string(32000, '0') + "1e32005"), 1e4);
    QCOMPARE(TextToNumber("1" + std::string(32767, ' ') + "2"), 12.0);
    QCOMPARE(TextToNumber(std::string(32767, 'x')), 0.0);
    QCOMPARE(TextToNumber("1." + std::string(32767, '3')), 1.0 + 1.0 / 3.0);
}

void TestTextNumber::numberToText_data()
{
    QTest::addColumn<double>("number");
    QTest::addColumn<std::string>("expected");

    QTest::newRow("zero") << 0.0 << std::string(" 0");
    QTest::newRow("negative zero") << -0.0 << std::string(" 0");
    QTest::newRow("whole") << 12.0 << std::string(" 12");
    QTest::newRow("negative whole") << -3.0 << std::string("-3");
    QTest::newRow("fraction below one") << 0.5 << std::string(" .5");
    QTest::newRow("negative fraction below one") << -0.25 << std::string("-.25");
    QTest::newRow("countdown maximum") << 999999.0 << std::string(" 999999");
    QTest::newRow("fifteen significant digits") << 0.1 + 0.2 << std::string(" .3");
    QTest::newRow("fifteen digits whole") << 123456789012345.0 << std::string(" 123456789012345");
    QTest::newRow("sixteen digits") << 1234567890123456.0 << std::string(" 1.23456789012346E+15");
    QTest::newRow("small") << 0.0001 << std::string(" .0001");
    QTest::newRow("smaller") << 0.00001 << std::string(" 1E-05");
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << std::string(" inf");
    QTest::newRow("minus infinity")
            << -std::numeric_limits<double>::infinity() << std::string("-inf");
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << std::string(" nan");
}

void TestTextNumber::numberToText()
{
    QFETCH(double, number);
    QFETCH(std::string, expected);
    QCOMPARE(NumberToText(number), expected);
}

void TestTextNumber::roundTripOfCountdownValues()
{
    // The countdown writes whole seconds that are later read back from the same box.
    for (int seconds = 0; seconds <= 999999; seconds += 7919)
        QCOMPARE(TextToNumber(NumberToText(seconds)), double(seconds));
}

QTEST_GUILESS_MAIN(TestTextNumber)
#include "tst_textnumber.moc"
