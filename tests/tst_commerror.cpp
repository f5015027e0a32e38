// The texts of the box "! RS-232 ERROR !", and the codes that a failed close reports.

#include "serial/closeerror.h"
#include "serial/commerror.h"

#include <QMetaEnum>
#include <QTest>

#include <cstdint>
#include <string>

using mq7410::commErrorCode;
using mq7410::commErrorMessage;

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(std::int16_t)

class TestCommError : public QObject
{
    Q_OBJECT
private slots:
    void message_data();
    void message();
    void closeErrors();
};

void TestCommError::message_data()
{
    QTest::addColumn<std::int16_t>("code");
    QTest::addColumn<std::string>("expected");
    const auto row = [](const char *tag, int code, const char *text) {
        QTest::newRow(tag) << std::int16_t(code) << std::string(text);
    };

    row("-1 named", -1, "Invalid or Unsupported ID");
    row("-2 named", -2, "Device already open");
    row("-3 named", -3, "Device not Open");
    row("-4 named", -4, "Unable to allocate queues");
    row("-5 named", -5, "Error in default parameters");
    row("-10 named", -10, "Hardware not present");
    row("-11 named", -11, "Illegal byte size");
    row("-12 named", -12, "Unsupported baudrate");
    // Other negative codes have bit 15 set.
    row("-6 after the named", -6, "Requested mode unsupported");
    row("-9 before the named", -9, "Requested mode unsupported");
    row("-13 below the named", -13, "Requested mode unsupported");
    row("-32768 lowest", -32768, "Requested mode unsupported");

    row("0 no bit", 0, "Unlist error : 0 (&H0)");
    row("0x2000 bit without text", 0x2000, "Unlist error : 8192 (&H2000)");
    row("0x6000 both bits without text", 0x6000, "Unlist error : 24576 (&H6000)");

    const char *bitTexts[] = {"Receive queue overflow",
                              "Receive overrun error",
                              "Receive parity error",
                              "Receive framing error",
                              "Break detected",
                              "CTS timeout",
                              "DSR timeout",
                              "RLSD timeout",
                              "Tx queue is full",
                              "LPTx timeout",
                              "LPTx I/O error",
                              "LPTx device not selected",
                              "LPTx out of paper"};
    for (int bit = 0; bit < 13; ++bit)
        QTest::addRow("bit %d", bit) << std::int16_t(1 << bit) << std::string(bitTexts[bit]);

    row("0x0003 higher of two wins", 0x0003, "Receive overrun error");
    row("0x2001 textless bit does not replace", 0x2001, "Receive queue overflow");
    row("32767 highest", 32767, "LPTx out of paper");
}

void TestCommError::message()
{
    QFETCH(std::int16_t, code);
    QFETCH(std::string, expected);
    QCOMPARE(commErrorMessage(code), expected);
}

void TestCommError::closeErrors()
{
    // Zero would mean "no error": the window would show nothing for a close that failed.
    QCOMPARE(commErrorCode(QSerialPort::NoError), 0);
    const QMetaEnum errors = QMetaEnum::fromType<QSerialPort::SerialPortError>();
    for (int i = 0; i < errors.keyCount(); ++i) {
        const auto error = QSerialPort::SerialPortError(errors.value(i));
        if (error != QSerialPort::NoError)
            QVERIFY2(commErrorCode(error) != 0, errors.key(i));
    }
    // The one a device that is gone gives.
    QCOMPARE(commErrorMessage(commErrorCode(QSerialPort::ResourceError)),
             std::string("Hardware not present"));
}

QTEST_GUILESS_MAIN(TestCommError)
#include "tst_commerror.moc"
