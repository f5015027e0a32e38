// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"
#include "qtmessageboxes.h"
#include "remotecontrol.h"
#include "uiform.h"
#include "version.h"

#include "session.h"
#include "signalwatcher.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

QtMessageHandler toolkitHandler = nullptr;

// Without a display the toolkit gives up with a message about reinstalling; say what is wrong.
void handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg && message.contains(QLatin1String("platform plugin"))) {
        std::fputs("mq7410: there is no display to show the window on. The front panel needs a "
                   "desktop session (X11 or Wayland): start it from one, or set DISPLAY or "
                   "WAYLAND_DISPLAY. (The tests run it without a display, with "
                   "QT_QPA_PLATFORM=offscreen.)\n",
                   stderr);
        std::_Exit(1);
    }
    toolkitHandler(type, context, message);
}

// Writes `text` to standard output; false when it did not all get there (a full disk, a
// closed pipe), which the exit status must say.
bool print(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    return std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout)
                   == std::size_t(bytes.size())
           && std::fflush(stdout) == 0;
}

int runPanel(int argc, char *argv[])
{
    using namespace mq7410;
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QByteArray(argv[i]);
    const Result<CommandLine> parsed = parseCommandLine(arguments);
    if (!parsed) {
        std::fprintf(stderr, "mq7410: %s\nTry 'mq7410 --help'.\n", parsed.failure().text.c_str());
        return 2;
    }
    const CommandLine &command = *parsed;
    if (command.help || command.version) {
        const bool printed
                = print(command.help ? helpText() : QStringLiteral("mq7410 " MQ7410_VERSION "\n"));
        return printed ? 0 : 1;
    }

    toolkitHandler = qInstallMessageHandler(handleMessage);
    QApplication app(argc, argv);
    // The ends a terminal or a service manager asks for end the panel as Exit does.
    SignalWatcher signalWatcher(SignalWatcher::terminationSignals());
    QtMessageBoxes boxes;
    Session session;
    // While the walk asks its questions there is no window to end: let the port go and leave.
    const QMetaObject::Connection duringWalk
            = QObject::connect(&signalWatcher, &SignalWatcher::received, &app, [&session] {
                  (void)session.end(EndAction::LeaveAsIs); // nothing was sent yet
                  std::_Exit(0);
              });
    const WalkResult walk = session.walkPorts(boxes);
    QObject::disconnect(duringWalk);
    for (const std::string &reason : walk.notOffered)
        std::fprintf(stderr, "mq7410: not offered: %s\n", reason.c_str());
    if (walk.port == 0)
        return 0;

    RemoteControl remote(session); // before the window, which shows it until its end
    UIForm form(session, boxes);
    boxes.setParentWindow(&form);
    QObject::connect(&form, &UIForm::endRequested, &app, &QCoreApplication::quit);
    QObject::connect(&signalWatcher, &SignalWatcher::received, &form, &UIForm::endProgram);
    form.setRemoteControl(&remote);
    const QString address = !command.scpi.isEmpty() ? command.scpi
                            : session.settings().remoteControl()
                                    ? session.settings().remoteAddress()
                                    : QString();
    if (!address.isEmpty()) {
        if (const Status listening = remote.listen(address); !listening)
            std::fprintf(stderr, "mq7410: %s\n", listening.failure().text.c_str());
    }

    if (!command.sequenceFile.isEmpty())
        form.openSequence(command.sequenceFile);
    form.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char *argv[])
{
    // Out of memory, the one thing that throws here: said plainly rather than by an abort. The
    // session's destructor has let the port go by then.
    try {
        return runPanel(argc, argv);
    } catch (const std::exception &exception) {
        std::fprintf(stderr, "mq7410: %s\n", exception.what());
        return 1;
    }
}
