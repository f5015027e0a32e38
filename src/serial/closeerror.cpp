#include "serial/closeerror.h"

#include "serial/commerror.h"

namespace mq7410 {

std::int16_t commErrorCode(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
        return CommErrorCode::None;
    case QSerialPort::NotOpenError:
        return CommErrorCode::DeviceNotOpen;
    case QSerialPort::OpenError:
    case QSerialPort::PermissionError:
        return CommErrorCode::DeviceAlreadyOpen;
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::ResourceError:
        return CommErrorCode::HardwareNotPresent;
    case QSerialPort::WriteError:
    case QSerialPort::TimeoutError:
        return CommErrorCode::TxQueueFull;
    case QSerialPort::UnsupportedOperationError:
        return CommErrorCode::ModeUnsupported;
    case QSerialPort::ReadError:
    case QSerialPort::UnknownError:
        break;
    }
    return CommErrorCode::Unlisted;
}

} // namespace mq7410
