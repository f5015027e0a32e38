// Takes the README's pictures of the window: one PNG per scene, into the folder given.
// Run it under a real display server (scripts/screenshots starts one with Xvfb).

#include "app/messageboxes.h"
#include "app/uiform.h"
#include "serial/serialport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

// The pictures need no answers: every box is acknowledged at once.
class SilentBoxes : public mq7410::MessageBoxes
{
public:
    mq7410::BoxAnswer show(const mq7410::BoxRequest &) override { return mq7410::BoxAnswer::Yes; }
};

// A port that takes every frame: the pictures show the window, not the line.
class OfflinePort : public mq7410::SerialPort
{
public:
    bool selectPort(int) override { return true; }
    bool setSettings(std::string_view) override { return true; }
    bool open() override { return m_open = true; }
    std::int16_t close() override
    {
        m_open = false;
        return 0;
    }
    bool write(std::string_view) override { return m_open; }
    bool isOpen() const override { return m_open; }
    std::string errorString() const override { return {}; }
    std::string portDescription() const override { return {}; }

private:
    bool m_open = false;
};

struct Scene
{
    const char *file;
    std::function<void(mq7410::UIForm &)> prepare;
};

// Three seconds into step 2 of a short sequence.
void playSequence(mq7410::UIForm &form)
{
    form.Auto_Click();
    const char *const cells[][2]
            = {{"Time1", "3"},  {"CH1V2", "5"},   {"CH1I2", "0.5"},  {"Time2", "10"},
               {"CH1V3", "12"}, {"CH1I3", "1.5"}, {"CH2V3", "12"},   {"CH2I3", "1.5"},
               {"Time3", "5"},  {"CH1V4", "3.3"}, {"CH1I4", "0.25"}, {"CH1I1", "0.1"}};
    for (const auto &[name, text] : cells)
        form.findChild<QLineEdit *>(QLatin1String(name))->setText(QLatin1String(text));
    form.Start_Click();
    for (int tick = 0; tick < 7; ++tick)
        form.Timer1_Tick();
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

    const Scene scenes[] = {
            {"manual-panel.png",
             [](mq7410::UIForm &) {
             }},
            {"manual-panel-link.png",
             [](mq7410::UIForm &form) {
                 form.SelectorCommand_Click(mq7410::CH1Voltage);
                 for (int digit : {1, 2, 3, 4})
                     form.DigitCommand_Click(digit);
                 form.EnterCommand_Click();
                 form.SelectorCommand_Click(mq7410::CH1Current);
                 for (int digit : {1, 5, 0, 0})
                     form.DigitCommand_Click(digit);
                 form.EnterCommand_Click();
                 form.SerialCommand_Click();
                 form.OutputCommand_Click();
             }},
            {"auto-panel.png",
             [](mq7410::UIForm &form) {
                 form.Auto_Click();
             }},
            {"auto-panel-run.png", playSequence},
    };

    int failures = 0;
    for (const Scene &scene : scenes) {
        SilentBoxes boxes;
        OfflinePort port;
        mq7410::UIForm form(port, boxes);
        if (!form.Form_Load())
            return 1;
        form.show();
        scene.prepare(form);
        // Let the window server map and paint the window before it is grabbed.
        QEventLoop wait;
        QTimer::singleShot(300, &wait, &QEventLoop::quit);
        wait.exec();
        const QString path = out.filePath(QLatin1String(scene.file));
        if (!form.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
