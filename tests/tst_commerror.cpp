// The texts of the box "! RS-232 ERROR !", and the codes that a failed close reports.

#include "serial/closeerror.h"
#include "serial/commerror.h"

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
    void closeErrors_data();
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

    row("-6 between the named", -6, "Requested mode unsupported");
    row("-7 between the named", -7, "Requested mode unsupported");
    row("-8 between the named", -8, "Requested mode unsupported");
    row("-9 between the named", -9, "Requested mode unsupported");
    row("-13 below the named", -13, "Requested mode unsupported");
    row("-32768 lowest", -32768, "Requested mode unsupported");

    row("0 no bit", 0, "Unlist error : 0 (&H0)");
    row("0x2000 bit without text", 0x2000, "Unlist error : 8192 (&H2000)");
    row("0x4000 bit without text", 0x4000, "Unlist error : 16384 (&H4000)");
    row("0x6000 both bits without text", 0x6000, "Unlist error : 24576 (&H6000)");

    row("bit 0x0001", 0x0001, "Receive queue overflow");
    row("bit 0x0002", 0x0002, "Receive overrun error");
    row("bit 0x0004", 0x0004, "Receive parity error");
    row("bit 0x0008", 0x0008, "Receive framing error");
    row("bit 0x0010", 0x0010, "Break detected");
    row("bit 0x0020", 0x0020, "CTS timeout");
    row("bit 0x0040", 0x0040, "DSR timeout");
    row("bit 0x0080", 0x0080, "RLSD timeout");
    row("bit 0x0100", 0x0100, "Tx queue is full");
    row("bit 0x0200", 0x0200, "LPTx timeout");
    row("bit 0x0400", 0x0400, "LPTx I/O error");
    row("bit 0x0800", 0x0800, "LPTx device not selected");
    row("bit 0x1000", 0x1000, "LPTx out of paper");

    row("0x0003 higher of two wins", 0x0003, "Receive overrun error");
    row("0x0101 higher of two wins", 0x0101, "Tx queue is full");
    row("0x1FFF all texted low bits", 0x1FFF, "LPTx out of paper");
    row("0x2001 textless bit does not replace", 0x2001, "Receive queue overflow");
    row("0x4800 textless bit above a texted one", 0x4800, "LPTx device not selected");
    row("32767 highest", 32767, "LPTx out of paper");
}

void TestCommError::message()
{
    QFETCH(std::int16_t, code);
    QFETCH(std::string, expected);
    QCOMPARE(commErrorMessage(code), expected);
}

void TestCommError::closeErrors_data()
{
    QTest::addColumn<QSerialPort::SerialPortError>("error");
    QTest::addColumn<std::string>("expected");

    QTest::newRow("not open") << QSerialPort::NotOpenError << std::string("Device not Open");
    QTest::newRow("device gone") << QSerialPort::ResourceError
                                 << std::string("Hardware not present");
    QTest::newRow("device not found")
            << QSerialPort::DeviceNotFoundError << std::string("Hardware not present");
    QTest::newRow("output stuck") << QSerialPort::TimeoutError << std::string("Tx queue is full");
    QTest::newRow("write failed") << QSerialPort::WriteError << std::string("Tx queue is full");
    QTest::newRow("held elsewhere")
            << QSerialPort::PermissionError << std::string("Device already open");
    QTest::newRow("unsupported") << QSerialPort::UnsupportedOperationError
                                 << std::string("Requested mode unsupported");
    QTest::newRow("unknown") << QSerialPort::UnknownError
                             << std::string("Unlist error : 16384 (&H4000)");
}

void TestCommError::closeErrors()
{
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(std::string, expected);
    // Zero would mean "no error": the window would show nothing.
    QVERIFY(commErrorCode(error) != 0);
    QCOMPARE(commErrorMessage(commErrorCode(error)), expected);
    QCOMPARE(commErrorCode(QSerialPort::NoError), 0);
}

QTEST_GUILESS_MAIN(TestCommError)
#include "tst_commerror.moc"
