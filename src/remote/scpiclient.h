// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One SCPI client: its lines cut from the socket, run on the session by its own interpreter,
// and its replies. A client takes the event loop for about a millisecond at a time, so that
// the run's ticks, the window and the other clients come between its lines; it holds at most
// one line and the socket's buffers, however much it sends, and it is dropped when it leaves
// its replies unread.

#include "lineframer.h"

#include <QObject>
#include <QString>

#include <memory>

class QTcpSocket;

namespace mq7410 {

class ScpiInterpreter;
class Session;
struct ScpiIdentity;

class ScpiClient : public QObject
{
    Q_OBJECT
public:
    // Replies that may wait for a client before it is dropped.
    static constexpr qint64 MaxUnreadReplies = 64 * 1024LL;

    // Takes `socket`, connected.
    ScpiClient(QTcpSocket *socket, Session &session, ScpiIdentity identity,
               QObject *parent = nullptr);
    ~ScpiClient() override;

    // "127.0.0.1:40312"
    const QString &peer() const { return m_peer; }

signals:
    // A line ran: "VOLT 5,(@1)", with its first error when it had one.
    void lineRan(const QString &summary);
    // The client is gone, and every whole line it sent before has run.
    void finished();

private:
    // Runs the lines that came, for a while; the rest at the next turn of the event loop.
    void serve();
    void schedule();
    // The line as the status line shows it.
    static QString summary(const FramedLine &line, int error);

    QTcpSocket *m_socket;
    Session &m_session;
    std::unique_ptr<ScpiInterpreter> m_scpi;
    LineFramer m_framer;
    QString m_peer;
    int m_lineError = 0; // the first error of the line running
    bool m_scheduled = false;
    bool m_finished = false;
};

} // namespace mq7410
