// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the SCPI server listens, from the user's "[ADDRESS:]PORT". A port alone stays on this
// computer (127.0.0.1); any other reach has to be named.

#include "failure.h"

#include <QHostAddress>
#include <QString>

namespace mq7410 {

struct ListenAddress
{
    QHostAddress host;
    quint16 port = 0; // 0: any free port, which the system picks

    // Other computers may reach it.
    bool exposed() const { return !host.isLoopback(); }
    // "127.0.0.1:5025", "[::1]:5025"
    QString text() const;
};

// "5025", "127.0.0.1:5025", "localhost:5025", "0.0.0.0:5025", "[::1]:5025"; a Failure
// (BadValue) that says what is wrong otherwise.
Result<ListenAddress> parseListenAddress(const QString &text);

// "127.0.0.1:40312": a peer as the log and the status line name it.
QString endpointText(const QHostAddress &host, quint16 port);

} // namespace mq7410
