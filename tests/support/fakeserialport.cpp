#include "fakeserialport.h"

#include <algorithm>

namespace mq7410::test {

bool FakeSerialPort::selectPort(int number)
{
    log.push_back("select " + std::to_string(number));
    m_selected = number;
    return number >= 1 && number <= 16;
}

bool FakeSerialPort::setSettings(std::string_view settings)
{
    settingsApplied.emplace_back(settings);
    return true;
}

bool FakeSerialPort::open()
{
    log.push_back("open " + std::to_string(m_selected));
    if (m_openPort != 0 || !openable.count(m_selected)) {
        m_error = "cannot open";
        return false;
    }
    m_openPort = m_selected;
    mostOpenAtOnce = std::max(mostOpenAtOnce, ++m_openCount);
    return true;
}

std::int16_t FakeSerialPort::close()
{
    log.push_back("close " + std::to_string(m_openPort));
    if (m_openPort != 0)
        --m_openCount;
    m_openPort = 0;
    return closeCode;
}

bool FakeSerialPort::write(std::string_view frame)
{
    if (m_openPort == 0 || !failWritesWith.empty()) {
        m_error = failWritesWith.empty() ? "not open" : failWritesWith;
        log.push_back("failed write " + std::string(frame));
        return false;
    }
    frames.emplace_back(frame);
    return true;
}

std::string FakeSerialPort::portDescription() const
{
    return "/dev/fake" + std::to_string(m_selected);
}

} // namespace mq7410::test
