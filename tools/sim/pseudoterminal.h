// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The pseudo-terminal whose slave side the front panel opens as the supply's serial port.
// Unix-like systems only: it is built on posix_openpt and termios.

#include "failure.h"
#include "linesettings.h"

#include <optional>
#include <string>

namespace mq7410::sim {

class PseudoTerminal
{
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    // Opens the master, non-blocking, and the slave once for this program: while that stays
    // open the master never sees a hang-up, however often the front panel opens and closes
    // the slave. Puts the line in raw mode.
    Status open();

    // Closes the master first: whoever has the slave open sees the far end hang up.
    void close();

    bool isOpen() const { return m_master >= 0; }
    int masterDescriptor() const { return m_master; }
    const std::string &slavePath() const { return m_slavePath; }

    enum class ReadResult { Data, NothingWaiting, Failed };

    // Appends what the front panel wrote to `bytes`, at most a bounded amount per call so that
    // a panel that never stops writing cannot hold up the event loop.
    ReadResult read(std::string &bytes);

    // The line settings the front panel applied to the slave; nothing when closed.
    std::optional<LineSettings> lineSettings() const;

    // Whether someone holds the slave exclusively (TIOCEXCL), as the panel does while it has
    // the port open. Also true where the system cannot tell, so that a wrong setting is still
    // flagged there.
    bool isHeldExclusively() const;

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

} // namespace mq7410::sim
