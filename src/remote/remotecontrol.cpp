// SPDX-License-Identifier: GPL-3.0-or-later
#include "remotecontrol.h"

#include "identity.h"

#include "remoteversion.h"
#include "scpiclient.h"
#include "session.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>
#include <cstdio>

namespace mq7410 {
namespace {

// How often the status line may follow the lines clients send.
constexpr int LineNewsMs = 100;

} // namespace

ScpiIdentity instrumentIdentity()
{
    return {"MQ-7410 Front Panel", "mq7410 for MQ-7410 supply", "0", MQ7410_REMOTE_VERSION};
}

RemoteControl::RemoteControl(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
    m_lineNews.setSingleShot(true);
    m_lineNews.setInterval(LineNewsMs);
    connect(&m_lineNews, &QTimer::timeout, this, &RemoteControl::changed);
}

RemoteControl::~RemoteControl()
{
    blockSignals(true); // no view is to ask a server half gone what it shows
    close();
}

Status RemoteControl::listen(const QString &address)
{
    const Result<ListenAddress> parsed = parseListenAddress(address);
    if (!parsed)
        return parsed.failure();
    close();
    auto *server = new QTcpServer(this);
    if (!server->listen(parsed->host, parsed->port)) {
        const std::string where = parsed->text().toStdString();
        const Failure failure{FailureKind::Port,
                              server->serverError() == QAbstractSocket::AddressInUseError
                                      ? where + " is in use by another program"
                                      : "Cannot listen on " + where + ": "
                                                + server->errorString().toStdString()};
        delete server;
        emit changed();
        return failure;
    }
    m_server = server;
    m_address = {parsed->host, m_server->serverPort()};
    // Beyond MaxClients the system queues nobody: each one is accepted and closed.
    connect(m_server, &QTcpServer::newConnection, this, &RemoteControl::accept);
    if (m_address.exposed()) {
        std::fprintf(stderr,
                     "%s: warning: the SCPI server listens on %s: anyone who reaches it can "
                     "set the supply's voltages.\n",
                     qPrintable(QCoreApplication::applicationName()), qPrintable(m_address.text()));
    }
    emit changed();
    return {};
}

void RemoteControl::close()
{
    const bool wasOn = listening();
    for (ScpiClient *client : std::exchange(m_clients, {}))
        delete client; // its socket with it: the connection ends
    delete m_server;
    m_server = nullptr;
    m_lastLine.clear();
    m_lineNews.stop();
    if (wasOn)
        emit changed();
}

bool RemoteControl::listening() const
{
    return m_server != nullptr;
}

bool RemoteControl::exposed() const
{
    return listening() && m_address.exposed();
}

QString RemoteControl::address() const
{
    return listening() ? m_address.text() : QString();
}

QString RemoteControl::statusText() const
{
    if (!listening())
        return {};
    QString text = QStringLiteral("SCPI ") + m_address.text();
    if (m_address.exposed())
        text += QStringLiteral(" (open to the network: anyone who reaches it can set voltages)");
    const int count = clientCount();
    text += count == 0   ? QStringLiteral(" \u00b7 no clients")
            : count == 1 ? QStringLiteral(" \u00b7 1 client")
                         : QStringLiteral(" \u00b7 %1 clients").arg(count);
    if (!m_lastLine.isEmpty())
        text += QStringLiteral(" \u00b7 last: ") + m_lastLine;
    return text;
}

void RemoteControl::accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        if (clientCount() >= MaxClients) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            socket->close();
            continue;
        }
        auto *client = new ScpiClient(socket, m_session, instrumentIdentity(), this);
        connect(client, &ScpiClient::lineRan, this, &RemoteControl::lineRan);
        connect(client, &ScpiClient::finished, this, [this, client] { drop(client); });
        m_clients.push_back(client);
        emit changed();
    }
}

void RemoteControl::drop(ScpiClient *client)
{
    const auto found = std::find(m_clients.begin(), m_clients.end(), client);
    if (found == m_clients.end())
        return;
    m_clients.erase(found);
    client->deleteLater(); // it may be telling this from inside its own slot
    emit changed();
}

void RemoteControl::lineRan(const QString &summary)
{
    m_lastLine = summary;
    if (!m_lineNews.isActive())
        m_lineNews.start();
}

} // namespace mq7410
