// SPDX-License-Identifier: GPL-3.0-or-later
// play: the session's run of a sequence file, as Start plays it in the window, until the run
// ends by itself or a signal stops it.

#include "commands.h"
#include "exitstatus.h"
#include "headless.h"

#include "runstatus.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <memory>

namespace mq7410::run {
namespace {

// The progress line: where the run stands and the last frame, redrawn whenever the session
// changed (each tick, each frame), so that it adds no wake-up of its own.
void showProgress(Headless &headless, Printer &printer)
{
    auto lastFrame = std::make_shared<QString>();
    QObject::connect(&headless, &Headless::settled, &headless,
                     [lastFrame](const LoggedFrame &entry) {
                         if (!entry.frame.empty())
                             *lastFrame = QString::fromStdString(entry.meaning);
                     });
    Session &session = headless.session();
    QObject::connect(&session, &Session::changed, &headless, [&session, &printer, lastFrame] {
        const std::optional<RunProgress> progress = session.panel().progress();
        if (progress) {
            printer.progress(runStatusLine(*progress, session.panel().outputOn()),
                             QStringLiteral(" \u00b7 last: ") + *lastFrame);
        }
    });
    QObject::connect(&session, &Session::runEnded, &headless,
                     [&session, &printer] { printer.line(session.lastRunEnding()); });
}

// The file as the window's recent files must name it: from anywhere.
QByteArray absolutePath(const QByteArray &path)
{
    if (path.startsWith('/'))
        return path;
    return QFile::encodeName(QDir::currentPath()) + '/' + path;
}

} // namespace

int play(const Options &options, Printer &printer)
{
    Headless headless(options, printer);
    Session &session = headless.session();
    if (const Status loaded = session.openSequence(absolutePath(options.file)); !loaded) {
        printer.message(QString::fromStdString(loaded.failure().text));
        return Refused;
    }
    if (options.repeat)
        (void)session.panel().setRepeat(*options.repeat); // checked with the options
    if (const int opened = headless.open(); opened != Done)
        return opened;

    if (printer.terminal() && !options.quiet)
        showProgress(headless, printer);
    else
        headless.printFrames(false);
    if (const Status started = session.panel().start(); !started) {
        printer.message(QString::fromStdString(started.failure().text));
        return headless.finish(statusOf(started.failure()));
    }
    // From here on the run ends in the event loop, by itself or by a signal.
    int signalNumber = 0;
    QObject::connect(&headless, &Headless::signalled, &headless, [&](int number) {
        signalNumber = number;
        if (session.panel().running())
            (void)session.panel().stop(); // the Finish row; a refusal ends the run too
        else
            QCoreApplication::exit(signalStatus(number));
    });
    QObject::connect(&session, &Session::runEnded, &headless, [&](const RunEnding &ending) {
        switch (ending.how) {
        case RunEnd::Completed:
            QCoreApplication::exit(Done);
            return;
        case RunEnd::Stopped:
            QCoreApplication::exit(signalNumber != 0 ? signalStatus(signalNumber) : Done);
            return;
        case RunEnd::LineFailed:
            break;
        }
        printer.message(QString::fromStdString(runEndText(ending)));
        QCoreApplication::exit(LineFailed);
    });

    return headless.finish(QCoreApplication::exec());
}

} // namespace mq7410::run
