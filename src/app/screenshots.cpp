// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the README's pictures: one PNG per picture, into the folder given. Run it on the virtual
// supply under a real display server; scripts/screenshots does both:
//
//   mq7410-sim -- mq7410-shots OUTPUT-FOLDER
//
// Each scene is the window on a session of its own, as the program runs it on the line of
// COM 1, with a clock the tool moves (a run is pictured at a chosen tick) and its settings in a
// folder of its own: the user's settings are never read or written.

#include "framelogwindow.h"
#include "qtmessageboxes.h"
#include "sequencechart.h"
#include "settingsdialog.h"
#include "uiform.h"

#include "doubles.h"
#include "farend.h"
#include "messages.h"
#include "session.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QEventLoop>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

using namespace mq7410;

namespace {

// Lets the window server map and paint a window before it is grabbed.
void settle(int ms = 400)
{
    QEventLoop wait;
    QTimer::singleShot(ms, &wait, &QEventLoop::quit);
    wait.exec();
}

// The window on its session. Without `device`, the port walk finds COM 1 and is answered Yes.
struct Scene
{
    explicit Scene(const std::string &device = {})
    {
        if (device.empty()) {
            boxes.answers = {Answer::Yes};
            if (session.walkPorts(boxes).port != 1) {
                std::fputs("mq7410-shots: no port; run it as: mq7410-sim -- mq7410-shots DIR\n",
                           stderr);
                std::exit(1);
            }
            question = boxes.shown.front();
            boxes.shown.clear();
        } else if (const Status opened = session.openPort(device); !opened) {
            std::fprintf(stderr, "mq7410-shots: %s\n", opened.failure().text.c_str());
            std::exit(1);
        }
        form = std::make_unique<UIForm>(session, boxes);
        form->show();
    }
    ~Scene()
    {
        // The run's Finish row goes out and COM 1 is let go before the next scene takes it.
        form->endProgram();
    }
    Scene(const Scene &) = delete;
    Scene &operator=(const Scene &) = delete;

    template<typename T>
    T *find(const char *name) const
    {
        T *found = form->findChild<T *>(QLatin1String(name));
        if (!found) {
            std::fprintf(stderr, "mq7410-shots: the window has no %s\n", name);
            std::exit(1);
        }
        return found;
    }
    void click(const char *name) const { find<QAbstractButton>(name)->click(); }
    void trigger(const char *name) const { find<QAction>(name)->trigger(); }
    void type(const char *digits) const
    {
        static const char *const Keys[]
                = {"ZeroCommand", "OneCommand", "TwoCommand",   "ThreeCommand", "FourCommand",
                   "FiveCommand", "SixCommand", "SevenCommand", "EightCommand", "NineCommand"};
        for (const char *digit = digits; *digit; ++digit)
            click(Keys[*digit - '0']);
    }
    void open(const char *example) const
    {
        if (!form->openSequence(QByteArray(MQ7410_EXAMPLES_DIR "/") + example))
            std::exit(1);
    }
    // Moves the clock on by `seconds` ticks, each one taken by the session's own timer.
    void tick(int seconds)
    {
        QTimer *timer = session.timer();
        for (int second = 0; second < seconds; ++second) {
            clock.advanceMs(1000);
            QEventLoop fired;
            QObject::connect(timer, &QTimer::timeout, &fired, &QEventLoop::quit);
            timer->start(0);
            fired.exec();
        }
    }
    // The last box the window showed.
    const Message &lastBox() const
    {
        if (boxes.shown.empty()) {
            std::fputs("mq7410-shots: the window showed no box\n", stderr);
            std::exit(1);
        }
        return boxes.shown.back();
    }

    QTemporaryDir settingsDir;
    test::ManualClock clock;
    Session session{std::make_unique<Settings>(settingsDir.filePath(QStringLiteral("mq7410.conf"))),
                    clock};
    test::ScriptedBoxes boxes;
    Message question; // the port walk's
    std::unique_ptr<UIForm> form;
};

void enterWorkedExample(const Scene &scene)
{
    scene.click("CH1VCommand");
    scene.type("1234");
    scene.click("EnterCommand");
    scene.click("CH1ACommand");
    scene.type("1500");
    scene.click("EnterCommand");
}

// File > Settings... with CH1's voltage limit set to 5.00 V; `whileOpen` sees the dialog before
// OK is pressed.
void limitCh1Voltage(const Scene &scene, const std::function<void(QWidget *)> &whileOpen)
{
    QTimer::singleShot(0, scene.form.get(), [&scene, &whileOpen] {
        auto *dialog = scene.form->findChild<SettingsDialog *>();
        if (!dialog)
            std::exit(1);
        dialog->findChild<QDoubleSpinBox *>(QStringLiteral("CH1VoltageLimit"))->setValue(5.0);
        QPushButton *ok = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        ok->setFocus(); // no text cursor over the value
        whileOpen(dialog);
        ok->click();
    });
    scene.trigger("mSettings");
}

// ramp.csv played 5 times, at cycle 2, step 3.
void startRepeatedRamp(Scene &scene)
{
    scene.open("ramp.csv");
    scene.find<QSpinBox>("RepeatCount")->setValue(5);
    scene.click("Start");
    scene.tick(54 + 15); // a cycle of nine 5 s steps is 54 ticks
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
    const auto saveBox = [&](const Message &message, const char *file) {
        const std::unique_ptr<QMessageBox> box = makeMessageBox(message, nullptr);
        box->show();
        save(box.get(), file);
    };

    {
        Scene scene;
        saveBox(scene.question, "port-question.png");
        save(scene.form.get(), "manual-panel.png");
    }
    {
        Scene scene;
        enterWorkedExample(scene);
        scene.click("OutputCommand");
        scene.click("SerialCommand");
        save(scene.form.get(), "manual-panel-link.png");
    }
    {
        Scene scene;
        scene.open("ramp.csv");
        save(scene.form.get(), "auto-panel.png");
        scene.click("Start");
        scene.tick(15); // three seconds into step 3
        save(scene.form.get(), "auto-panel-run.png");
    }
    {
        Scene scene;
        enterWorkedExample(scene);
        scene.click("OutputCommand");
        scene.click("SerialCommand");
        scene.click("SerialCommand");
        scene.click("OutputCommand");
        scene.trigger("mFrameLog");
        save(scene.form->findChild<FrameLogWindow *>(), "frame-log.png");
    }
    {
        Scene scene;
        scene.open("burn-in.csv");
        scene.trigger("mSequenceChart");
        save(scene.form->findChild<SequenceChart *>(), "sequence-chart.png");
    }
    {
        Scene scene;
        scene.open("ramp.csv");
        scene.trigger("mSequenceChart");
        scene.click("Start");
        scene.tick(20);
        save(scene.form->findChild<SequenceChart *>(), "sequence-chart-run.png");
    }
    {
        // The limit is lowered after the table was read (a table read under the limit would
        // have its cells above it read as 0): step 3 of ramp.csv sets 6.00 V.
        Scene scene;
        scene.open("ramp.csv");
        limitCh1Voltage(scene, [&](QWidget *dialog) { save(dialog, "settings-dialog.png"); });
        scene.click("Start");
        saveBox(scene.lastBox(), "start-refused.png");
        scene.click("CancelCommand");
        scene.click("CH1VCommand");
        scene.type("450");
        save(scene.form.get(), "manual-panel-typed.png");
    }
    {
        Scene scene;
        startRepeatedRamp(scene);
        save(scene.form.get(), "repeat-run.png");
        scene.trigger("mSequenceChart");
        save(scene.form->findChild<SequenceChart *>(), "repeat-chart.png");
    }
    {
        // A real refusal: the far end of the window's line hangs up, then Enter is clicked.
        test::FarEnd farEnd;
        Scene scene(farEnd.device());
        scene.click("CH1VCommand");
        scene.type("1234");
        farEnd.hangUp();
        settle(200); // the session hears of the hang-up
        scene.click("EnterCommand");
        saveBox(scene.lastBox(), "write-error.png");
    }
    return failures == 0 ? 0 : 1;
}
