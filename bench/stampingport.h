#pragma once

#include "benchtools.h"

#include "serial/serialport.h"

#include <vector>

namespace mq7410::bench {

// The real port, with the time at which each write() returned: the frame was then the
// system's, so what comes after is the line's and the sim's share.
class StampingPort : public SerialPort
{
public:
    explicit StampingPort(SerialPort &port)
        : m_port(port)
    {}
    bool selectPort(int number) override { return m_port.selectPort(number); }
    bool setSettings(std::string_view settings) override { return m_port.setSettings(settings); }
    bool open() override { return m_port.open(); }
    std::int16_t close() override { return m_port.close(); }
    bool write(std::string_view frame) override
    {
        const bool written = m_port.write(frame);
        writtenNs.push_back(monotonicNs());
        return written;
    }
    bool isOpen() const override { return m_port.isOpen(); }
    std::string errorString() const override { return m_port.errorString(); }
    std::string portDescription() const override { return m_port.portDescription(); }

    std::vector<std::int64_t> writtenNs;

private:
    SerialPort &m_port;
};

} // namespace mq7410::bench
