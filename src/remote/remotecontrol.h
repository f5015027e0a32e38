// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The SCPI server: scripts on a TCP socket drive the session through the same rules as the
// window, each client with its own interpreter, all in the program's event loop. Off unless
// asked for; on this computer only unless another address is named.

#include "failure.h"
#include "listenaddress.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <vector>

class QTcpServer;

namespace mq7410 {

class ScpiClient;
class Session;

class RemoteControl : public QObject
{
    Q_OBJECT
public:
    // Clients served at once; one more is closed at once, told nothing.
    static constexpr int MaxClients = 8;

    explicit RemoteControl(Session &session, QObject *parent = nullptr);
    ~RemoteControl() override;

    // Listens on "[ADDRESS:]PORT" (127.0.0.1 when no address is named; port 0: any free one).
    // A Failure, with the server off, when the address is not one or the port is in use.
    // Listening where other computers may reach it is said on standard error too.
    Status listen(const QString &address);
    // Ends every client's connection and stops listening.
    void close();
    bool listening() const;
    // Listening on an address other hosts may reach: anyone there can set voltages.
    bool exposed() const;
    // Where it listens, the port as the system gave it; empty when it does not.
    QString address() const;
    int clientCount() const { return int(m_clients.size()); }
    // "SCPI 127.0.0.1:5025 · 2 clients · last: VOLT 5,(@1)"
    QString statusText() const;

signals:
    // The status text, or whether it listens, changed. Lines that follow each other quickly
    // are told of together.
    void changed();

private:
    void accept();
    void drop(ScpiClient *client);
    void lineRan(const QString &summary);

    Session &m_session;
    QTcpServer *m_server = nullptr;
    ListenAddress m_address;
    std::vector<ScpiClient *> m_clients;
    QString m_lastLine;
    QTimer m_lineNews; // gathers the lines of a burst into one changed()
};

} // namespace mq7410
