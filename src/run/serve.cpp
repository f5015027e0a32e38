// SPDX-License-Identifier: GPL-3.0-or-later
// serve: the SCPI server of the window, without the window, until a signal ends it.

#include "commands.h"
#include "exitstatus.h"
#include "headless.h"

#include "remotecontrol.h"

#include <QCoreApplication>

namespace mq7410::run {

int serve(const Options &options, Printer &printer)
{
    Headless headless(options, printer);
    if (const int opened = headless.open(); opened != Done)
        return opened;
    headless.printFrames(true);
    RemoteControl remote(headless.session());
    const QString address = options.listen.isEmpty() ? headless.session().settings().remoteAddress()
                                                     : options.listen;
    if (const Status listening = remote.listen(address); !listening) {
        printer.message(QString::fromStdString(listening.failure().text));
        // An address that is not one is wrong usage; one that cannot be had, like a port.
        const bool usage = listening.failure().kind == FailureKind::BadValue;
        return headless.finish(usage ? Usage : statusOf(listening.failure()));
    }
    if (!options.quiet)
        printer.message(remote.statusText());
    if (remote.exposed())
        printer.message(QStringLiteral("anyone who reaches %1 can set the supply").arg(address));

    int status = Done;
    QObject::connect(&headless, &Headless::signalled, &headless, [&status](int number) {
        status = signalStatus(number);
        QCoreApplication::exit();
    });
    QObject::connect(&headless.session(), &Session::lineLost, &headless,
                     [] { QCoreApplication::exit(); });
    QCoreApplication::exec();
    remote.close();
    return headless.finish(status);
}

} // namespace mq7410::run
