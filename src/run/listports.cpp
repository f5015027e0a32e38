// SPDX-License-Identifier: GPL-3.0-or-later
// list-ports: COM 1 to COM 16 as the panel would find them, each tried and let go at once.

#include "commands.h"
#include "exitstatus.h"

#include "session.h"

namespace mq7410::run {

int listPorts(Printer &printer)
{
    Session session;
    const std::vector<PortInfo> ports = session.listPorts();
    if (ports.empty())
        printer.message(QStringLiteral("there is no COM port on this machine"));
    for (const PortInfo &port : ports) {
        QString line = QStringLiteral("COM %1  %2  %3")
                               .arg(port.number)
                               .arg(QString::fromStdString(port.device),
                                    QString::fromUtf8(stateWord(port.state)));
        if (!port.reason.empty())
            line += QStringLiteral(": ") + QString::fromStdString(port.reason);
        // The name it was given, or what the system knows of the device.
        if (port.description != port.device)
            line += QStringLiteral("  (%1)").arg(QString::fromStdString(port.description));
        printer.line(line);
    }
    return printer.failed() ? Refused : Done;
}

} // namespace mq7410::run
