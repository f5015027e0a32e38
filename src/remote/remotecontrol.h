// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The SCPI server: scripts on a local socket drive the session through the same rules as the
// window. Off unless asked for.

#include "failure.h"

#include <QObject>
#include <QString>

namespace mq7410 {

class Session;

class RemoteControl : public QObject
{
    Q_OBJECT
public:
    explicit RemoteControl(Session &session, QObject *parent = nullptr);
    ~RemoteControl() override;

    // Listens on "[ADDRESS:]PORT" (127.0.0.1 when no address is named). A Failure, with the
    // server off, when the address is not one or the port is in use.
    Status listen(const QString &address);
    void close();
    bool listening() const;
    // Listening on an address other hosts may reach: anyone there can set voltages.
    bool exposed() const;
    // "SCPI 127.0.0.1:5025 · 2 clients · last: VOLT 5,(@1)"
    QString statusText() const;

signals:
    void changed();

private:
    Session &m_session;
};

} // namespace mq7410
