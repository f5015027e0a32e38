#pragma once

// The code that QtSerialPort::close() reports for an error of Qt's serial layer.

#include <QSerialPort>

#include <cstdint>

namespace mq7410 {

// Chosen so that commErrorMessage() names what went wrong:
//   NoError                              0       (no report)
//   NotOpenError                        -3       "Device not Open"
//   OpenError, PermissionError          -2       "Device already open"
//   DeviceNotFoundError, ResourceError  -10      "Hardware not present"
//   WriteError, TimeoutError            0x0100   "Tx queue is full" (output did not go out)
//   UnsupportedOperationError           -32768   "Requested mode unsupported"
//   ReadError, UnknownError, others     0x4000   "Unlist error : 16384 (&H4000)"
std::int16_t commErrorCode(QSerialPort::SerialPortError error);

} // namespace mq7410
