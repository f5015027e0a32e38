// SPDX-License-Identifier: GPL-3.0-or-later
#include "scpiclient.h"

#include "scpiinterpreter.h"

#include "listenaddress.h"
#include "session.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>

#if defined(Q_OS_UNIX)
#include <sys/socket.h>
#endif

namespace mq7410 {
namespace {

// How long one client may hold the event loop before the others, the run and the window
// get their turn.
constexpr qint64 TurnNs = 1'000'000;
// What the socket may hold of a client's input: past it TCP makes the client wait.
constexpr qint64 InputBuffer = 64 * 1024LL;
// The longest line the status line shows whole.
constexpr qsizetype SummaryLength = 60;

// Hands `bytes` to the system at once when nothing of the client's waits before them: Qt's own
// write would switch its write notifier on and off for each reply, which wakes the event loop
// twice more per command. Returns how much the system took.
qint64 sendNow(QTcpSocket &socket, const QByteArray &bytes)
{
#if defined(Q_OS_UNIX)
    if (socket.bytesToWrite() == 0) {
        const ssize_t taken = ::send(int(socket.socketDescriptor()), bytes.constData(),
                                     std::size_t(bytes.size()), MSG_DONTWAIT | MSG_NOSIGNAL);
        return taken > 0 ? qint64(taken) : 0; // on a fault Qt's write finds it and says it
    }
#endif
    (void)socket;
    (void)bytes;
    return 0;
}

} // namespace

ScpiClient::ScpiClient(QTcpSocket *socket, Session &session, ScpiIdentity identity, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_session(session)
    , m_scpi(std::make_unique<ScpiInterpreter>(session.panel(), std::move(identity)))
    , m_peer(endpointText(socket->peerAddress(), socket->peerPort()))
{
    m_socket->setParent(this);
    m_socket->setReadBufferSize(InputBuffer);
    // A reply leaves at once, not after the client's acknowledgement of the one before.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_scpi->setOutcomeObserver([this](const ScpiOutcome &outcome) {
        if (m_lineError == 0)
            m_lineError = outcome.error;
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &ScpiClient::serve);
    // Whole lines it sent before it left still run; the one it broke off does not.
    connect(m_socket, &QTcpSocket::disconnected, this, &ScpiClient::schedule);
    schedule(); // bytes may have come with the connection
}

ScpiClient::~ScpiClient() = default;

void ScpiClient::schedule()
{
    if (m_scheduled)
        return;
    m_scheduled = true;
    QTimer::singleShot(0, this, &ScpiClient::serve);
}

void ScpiClient::serve()
{
    m_scheduled = false;
    if (m_finished)
        return;
    QElapsedTimer turn;
    turn.start();
    const Session::Acting acting(m_session, QStringLiteral("client ") + m_peer);
    QByteArray replies;
    QString last;
    bool more = false;
    for (;;) {
        std::optional<FramedLine> line = m_framer.next();
        if (!line) {
            char chunk[4096];
            const qint64 read = m_socket->read(chunk, sizeof chunk);
            if (read <= 0)
                break;
            m_framer.append({chunk, std::size_t(read)});
            continue;
        }
        m_lineError = 0;
        if (const std::optional<std::string> reply = m_scpi->execute(*line)) {
            replies.append(reply->data(), qsizetype(reply->size()));
            replies.append('\n');
        }
        last = summary(*line, m_lineError);
        if (turn.nsecsElapsed() > TurnNs) {
            more = true;
            break;
        }
    }
    if (!replies.isEmpty() && m_socket->state() == QAbstractSocket::ConnectedState) {
        const qint64 sent = sendNow(*m_socket, replies);
        if (sent < replies.size())
            m_socket->write(replies.constData() + sent, replies.size() - sent);
        if (m_socket->bytesToWrite() >= MaxUnreadReplies) {
            m_socket->abort(); // it does not read: its replies would pile up here
            more = false;
        }
    }
    if (!last.isEmpty())
        emit lineRan(last);
    if (more) {
        schedule();
    } else if (m_socket->state() == QAbstractSocket::UnconnectedState) {
        m_finished = true;
        emit finished();
    }
}

QString ScpiClient::summary(const FramedLine &line, int error)
{
    QString text = line.overlong ? QStringLiteral("a line over %1 bytes").arg(LineFramer::MaxLine)
                                 : QString::fromUtf8(line.text).trimmed();
    if (text.size() > SummaryLength)
        text = text.left(SummaryLength - 1) + QChar(0x2026);
    if (error != 0)
        text += QStringLiteral(" (error %1)").arg(error);
    return text;
}

} // namespace mq7410
