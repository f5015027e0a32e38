#pragma once

#include <QByteArray>

namespace mq7410::bench {

// A pseudo-terminal whose master side the benchmark holds, reading there what the line
// carried, as the supply would.
class Pty
{
public:
    Pty();
    ~Pty();
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;

    const QByteArray &slavePath() const { return m_slavePath; }
    // Waits (poll) until `count` bytes have been read from the master; exits on a time-out.
    void readExactly(int count);
    // The slave side opened as the panel opens it: write-only, raw, 115200 8N1.
    int openSlaveLikeThePanel() const;

private:
    int m_master;
    QByteArray m_slavePath;
};

} // namespace mq7410::bench
