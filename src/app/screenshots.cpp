// Takes the README's pictures: one PNG per scene, into the folder given. Run it on the virtual
// supply under a real display server; scripts/screenshots does both:
//
//   mq7410-sim -- mq7410-shots OUTPUT-FOLDER
//
// The window runs as the program runs it, on the line of COM 1, with a clock the tool moves,
// so that a run is pictured at a chosen tick.

#include "framelogwindow.h"
#include "qtmessageboxes.h"
#include "sequencechart.h"
#include "uiform.h"
#include "frontpanel.h"
#include "portwalk.h"
#include "doubles/doubles.h"
#include "serial/serialline.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace mq7410;

namespace {

// The window on the line, its clock, and what the port walk asked.
struct Scene
{
    Scene()
    {
        boxes.answers = {Answer::Yes};
        if (walkPorts(line, boxes).port != 1) {
            std::fputs("mq7410-shots: no port; run it as: mq7410-sim -- mq7410-shots DIR\n",
                       stderr);
            std::exit(1);
        }
        question = boxes.shown.front();
        boxes.shown.clear();
        form.show();
    }
    void click(const char *name) const
    {
        form.findChild<QAbstractButton *>(QLatin1String(name))->click();
    }
    void trigger(const char *name) const
    {
        form.findChild<QAction *>(QLatin1String(name))->trigger();
    }
    void type(const char *digits) const
    {
        static const char *const Keys[]
                = {"ZeroCommand", "OneCommand", "TwoCommand",   "ThreeCommand", "FourCommand",
                   "FiveCommand", "SixCommand", "SevenCommand", "EightCommand", "NineCommand"};
        for (const char *digit = digits; *digit; ++digit)
            click(Keys[*digit - '0']);
    }
    // Moves the clock on by `seconds` ticks, each one taken by the window's own timer.
    void tick(int seconds)
    {
        auto *timer = form.findChild<QTimer *>(QStringLiteral("Timer1"));
        for (int second = 0; second < seconds; ++second) {
            clock.advanceMs(1000);
            timer->start(0);
            QEventLoop wait;
            QTimer::singleShot(5, &wait, &QEventLoop::quit);
            wait.exec();
        }
    }

    SerialLine line;
    test::ManualClock clock;
    FrontPanel panel{line, clock};
    test::ScriptedBoxes boxes;
    Message question;
    UIForm form{panel, line, boxes};
};

void enterWorkedExample(Scene &scene)
{
    scene.click("CH1VCommand");
    scene.type("1234");
    scene.click("EnterCommand");
    scene.click("CH1ACommand");
    scene.type("1500");
    scene.click("EnterCommand");
}

// Lets the window server map and paint a window before it is grabbed.
void settle()
{
    QEventLoop wait;
    QTimer::singleShot(400, &wait, &QEventLoop::quit);
    wait.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    int failures = 0;
    const auto save = [&](QWidget *widget, const char *file) {
        settle();
        if (!widget->grab().save(out.filePath(QLatin1String(file)))) {
            std::fprintf(stderr, "cannot write %s\n", file);
            ++failures;
        }
    };
    const auto shoot = [&](const char *file, const std::function<QWidget *(Scene &)> &prepare) {
        Scene scene;
        save(prepare(scene), file);
        scene.form.close();
    };

    std::unique_ptr<QMessageBox> box; // a box outlives its scene until it is grabbed
    shoot("port-question.png", [&box](Scene &scene) {
        box = makeMessageBox(scene.question, nullptr);
        box->show();
        return box.get();
    });
    shoot("manual-panel.png", [](Scene &scene) { return &scene.form; });
    shoot("manual-panel-link.png", [](Scene &scene) {
        enterWorkedExample(scene);
        scene.click("OutputCommand");
        scene.click("SerialCommand");
        return &scene.form;
    });
    shoot("auto-panel.png", [](Scene &scene) {
        scene.form.openSequence(QStringLiteral(MQ7410_EXAMPLES_DIR "/ramp.csv"));
        return &scene.form;
    });
    shoot("auto-panel-run.png", [](Scene &scene) {
        scene.form.openSequence(QStringLiteral(MQ7410_EXAMPLES_DIR "/ramp.csv"));
        scene.click("Start");
        scene.tick(15); // three seconds into step 3
        return &scene.form;
    });
    shoot("frame-log.png", [](Scene &scene) {
        enterWorkedExample(scene);
        scene.click("OutputCommand");
        scene.click("SerialCommand");
        scene.click("SerialCommand");
        scene.click("OutputCommand");
        scene.trigger("mFrameLog");
        return scene.form.findChild<FrameLogWindow *>();
    });
    shoot("sequence-chart.png", [](Scene &scene) {
        scene.form.openSequence(QStringLiteral(MQ7410_EXAMPLES_DIR "/burn-in.csv"));
        scene.trigger("mSequenceChart");
        return scene.form.findChild<SequenceChart *>();
    });
    shoot("sequence-chart-run.png", [](Scene &scene) {
        scene.form.openSequence(QStringLiteral(MQ7410_EXAMPLES_DIR "/ramp.csv"));
        scene.trigger("mSequenceChart");
        scene.click("Start");
        scene.tick(20);
        return scene.form.findChild<SequenceChart *>();
    });
    shoot("write-error.png", [&box](Scene &) {
        box = makeMessageBox(writeErrorMessage("8804D2", "The far end of /dev/ttyUSB0 hung "
                                                         "up; the port was closed."),
                             nullptr);
        box->show();
        return box.get();
    });
    box.reset();
    return failures == 0 ? 0 : 1;
}
