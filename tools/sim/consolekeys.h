// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The keys of the sim's own terminal: "u" then Enter unplugs the supply. The terminal stays
// in its line mode, so nothing needs restoring however the sim ends. Standard input is read
// only while it is a terminal and the sim runs in the foreground: a read from the background
// would stop the sim, and with it the supply.

#include <QObject>

#include <string>

class QSocketNotifier;

namespace mq7410::sim {

class ConsoleKeys : public QObject
{
    Q_OBJECT
public:
    explicit ConsoleKeys(QObject *parent = nullptr);

    // False when standard input is not a terminal, or the sim started in the background.
    bool isWatching() const { return m_notifier != nullptr; }

signals:
    void unplugRequested();

private:
    void readInput();

    QSocketNotifier *m_notifier = nullptr;
    std::string m_line;
};

} // namespace mq7410::sim
