#pragma once

#include "serial/serialport.h"

#include <set>
#include <string>
#include <vector>

namespace mq7410::test {

// A serial port in memory: which numbers exist, what was done, what was written.
class FakeSerialPort : public SerialPort
{
public:
    bool selectPort(int number) override;
    bool setSettings(std::string_view settings) override;
    bool open() override;
    std::int16_t close() override;
    bool write(std::string_view frame) override;
    bool isOpen() const override { return m_openPort != 0; }
    std::string errorString() const override { return m_error; }
    std::string portDescription() const override;

    int openPort() const { return m_openPort; }

    // Ports that open; every other number fails to open.
    std::set<int> openable{1};
    // Writes fail while this is set, with this text as the error.
    std::string failWritesWith;
    // The code close() returns.
    std::int16_t closeCode = 0;

    std::vector<std::string> frames;          // every frame written, in order
    std::vector<std::string> log;             // every operation: "select 3", "open 3", ...
    std::vector<std::string> settingsApplied; // settings texts given to setSettings
    int mostOpenAtOnce = 0;

private:
    int m_selected = 0;
    int m_openPort = 0;
    int m_openCount = 0;
    std::string m_error;
};

} // namespace mq7410::test
