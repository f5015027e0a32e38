#pragma once

#include "serial/serialport.h"

#include <string>
#include <vector>

namespace mq7410::test {

// Passes every call on to a real port and remembers each frame the program tried to write,
// so that a test can tell "tried once and failed" from "tried again" or "never tried".
class RecordingPort final : public SerialPort
{
public:
    explicit RecordingPort(SerialPort &port)
        : m_port(port)
    {}

    bool selectPort(int number) override { return m_port.selectPort(number); }
    bool setSettings(std::string_view settings) override { return m_port.setSettings(settings); }
    bool open() override { return m_port.open(); }
    std::int16_t close() override { return m_port.close(); }
    bool write(std::string_view frame) override
    {
        const bool written = m_port.write(frame);
        (written ? sent : failed).emplace_back(frame);
        tried.emplace_back(frame);
        return written;
    }
    bool isOpen() const override { return m_port.isOpen(); }
    std::string errorString() const override { return m_port.errorString(); }
    std::string portDescription() const override { return m_port.portDescription(); }

    std::vector<std::string> tried;  // every frame handed to write(), in order
    std::vector<std::string> sent;   // those the port took
    std::vector<std::string> failed; // those it refused

private:
    SerialPort &m_port;
};

} // namespace mq7410::test
