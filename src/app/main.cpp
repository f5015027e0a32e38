#include "app/commandline.h"
#include "app/qtmessageboxes.h"
#include "app/uiform.h"
#include "core/clock.h"
#include "core/frontpanel.h"
#include "core/portwalk.h"
#include "serial/serialline.h"
#include "version.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

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

} // namespace

int main(int argc, char *argv[])
{
    using namespace mq7410;
    const CommandLine command = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!command.error.empty()) {
        std::fprintf(stderr, "mq7410: %s\nTry 'mq7410 --help'.\n", command.error.c_str());
        return 2;
    }
    if (command.help || command.version) {
        std::fputs(command.help ? helpText().c_str() : "mq7410 " MQ7410_VERSION "\n", stdout);
        return 0;
    }

    toolkitHandler = qInstallMessageHandler(handleMessage);
    QApplication app(argc, argv);
    QtMessageBoxes boxes;
    SerialLine line;
    const WalkResult walk = walkPorts(line, boxes);
    for (const std::string &reason : walk.notOffered)
        std::fprintf(stderr, "mq7410: not offered: %s\n", reason.c_str());
    if (walk.port == 0)
        return 0;

    SteadyClock clock;
    FrontPanel panel(line, clock);
    UIForm form(panel, line, boxes);
    boxes.setParentWindow(&form);
    QObject::connect(&form, &UIForm::endRequested, &app, &QCoreApplication::quit);
    if (!command.sequenceFile.empty())
        form.openSequence(QString::fromLocal8Bit(command.sequenceFile.c_str()));
    form.show();
    return QApplication::exec();
}
