#pragma once

#include "serialport.h"

namespace mq7410 {

// Passes every call on to another port. A wrapper that watches one operation (the frames
// written, the time of each write) overrides that one and leaves the rest to this.
class ForwardingPort : public SerialPort
{
public:
    explicit ForwardingPort(SerialPort &port)
        : m_port(port)
    {}

    bool selectPort(int number) override { return m_port.selectPort(number); }
    bool setSettings(std::string_view settings) override { return m_port.setSettings(settings); }
    bool open() override { return m_port.open(); }
    std::int16_t close() override { return m_port.close(); }
    bool write(std::string_view frame) override { return m_port.write(frame); }
    bool isOpen() const override { return m_port.isOpen(); }
    std::string errorString() const override { return m_port.errorString(); }
    std::string portDescription() const override { return m_port.portDescription(); }

private:
    SerialPort &m_port;
};

} // namespace mq7410
