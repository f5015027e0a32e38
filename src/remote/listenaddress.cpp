// SPDX-License-Identifier: GPL-3.0-or-later
#include "listenaddress.h"

namespace mq7410 {
namespace {

Failure refused(const QString &text, const std::string &why)
{
    return Failure{FailureKind::BadValue,
                   "\"" + text.toStdString() + "\" is not an address to listen on (" + why
                           + "): give [ADDRESS:]PORT, such as 5025 or 0.0.0.0:5025."};
}

} // namespace

QString endpointText(const QHostAddress &host, quint16 port)
{
    // An IPv4 client of a dual-stack socket is shown as IPv4.
    bool isV4 = false;
    const QHostAddress v4(host.toIPv4Address(&isV4));
    if (isV4)
        return QStringLiteral("%1:%2").arg(v4.toString()).arg(port);
    return QStringLiteral("[%1]:%2").arg(host.toString()).arg(port);
}

QString ListenAddress::text() const
{
    return endpointText(host, port);
}

Result<ListenAddress> parseListenAddress(const QString &text)
{
    const QString trimmed = text.trimmed();
    QString hostText = QStringLiteral("127.0.0.1");
    QString portText = trimmed;
    const qsizetype colon = trimmed.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        hostText = trimmed.left(colon);
        portText = trimmed.mid(colon + 1);
        // IPv6 in brackets: "[::1]:5025"; bare, its colons would hide where the port starts.
        if (hostText.startsWith(QLatin1Char('[')) && hostText.endsWith(QLatin1Char(']')))
            hostText = hostText.mid(1, hostText.size() - 2);
        else if (hostText.contains(QLatin1Char(':')))
            return refused(text, "an IPv6 address goes in brackets");
        if (hostText.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
            hostText = QStringLiteral("127.0.0.1");
    }
    bool isNumber = false;
    const uint port = portText.toUInt(&isNumber);
    if (portText.isEmpty() || !isNumber || !portText.front().isDigit())
        return refused(text, "no port number");
    if (port > 65535)
        return refused(text, "a port is at most 65535");
    const QHostAddress host(hostText);
    if (host.isNull())
        return refused(text, "\"" + hostText.toStdString() + "\" is not an IP address");
    return ListenAddress{host, static_cast<quint16>(port)};
}

} // namespace mq7410
