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
    // --listen was checked with the options: an address refused here is the settings file's.
    if (const Status listening = remote.listen(address); !listening) {
        printer.message(QString::fromStdString(listening.failure().text));
        return headless.finish(statusOf(listening.failure()));
    }
    // Where it listens, the port the system gave included: a client needs it.
    printer.message(QStringLiteral("listening on ") + remote.address());

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
