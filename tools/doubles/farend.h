// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The supply's end of the line, for the tests and the benchmarks: a pseudo-terminal whose
// master side reads what the panel wrote to the slave, as the supply would. Unix-like systems
// only.

#include <string>

namespace mq7410::test {

class FarEnd
{
public:
    // `holdSlave`: keep the slave open here too, so that the line's settings stay readable and
    // the panel's closes do not hang the master up.
    explicit FarEnd(bool holdSlave = true);
    ~FarEnd();
    FarEnd(const FarEnd &) = delete;
    FarEnd &operator=(const FarEnd &) = delete;

    bool isOpen() const { return m_master >= 0; }
    const std::string &device() const { return m_device; }
    // The slave held here; -1 without one.
    int slave() const { return m_slave; }
    // Everything that reaches the far end until nothing more comes for `quietMs`.
    std::string readAll(int quietMs = 200);
    // Reads exactly `count` bytes; fewer when none came for `timeoutMs`.
    std::string readExactly(std::size_t count, int timeoutMs = 2000);
    // Closes the master: whoever has the slave open sees the far end hang up.
    void hangUp();

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_device;
};

} // namespace mq7410::test
