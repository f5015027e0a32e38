#pragma once

#include "recordingport.h"
#include "scriptedboxes.h"

#include "app/uiform.h"
#include "serial/qtserialport.h"

#include <QByteArray>
#include <QStringList>

#include <memory>

namespace mq7410::test {

// Sets MQ7410_PORTS for as long as it lives: the ports the panel walks are exactly these.
class ScopedPorts
{
public:
    explicit ScopedPorts(const QByteArray &ports) { qputenv("MQ7410_PORTS", ports); }
    ~ScopedPorts() { qunsetenv("MQ7410_PORTS"); }
    ScopedPorts(const ScopedPorts &) = delete;
    ScopedPorts &operator=(const ScopedPorts &) = delete;
};

// The window on the real Qt serial port, as the program runs it, with scripted boxes instead
// of dialogs. Every write goes through `port`, which remembers what was tried.
struct RealPanel
{
    RealPanel();
    ~RealPanel();

    // Form_Load, answering the port questions in this order.
    bool load(std::deque<BoxAnswer> answers);

    // A real mouse click in the middle of the named button; fails the test when it is missing.
    void click(const QString &name) const;
    // A click on the digit button of each character.
    void type(const QString &digits) const;
    template<typename T>
    T *find(const QString &name) const
    {
        return form->findChild<T *>(name);
    }

    // "title|prompt|kind" of every box shown so far, in order.
    QStringList boxTexts() const;

    QtSerialPort serial;
    RecordingPort port{serial};
    ScriptedBoxes boxes;
    std::unique_ptr<UIForm> form;
};

QString boxText(const BoxRequest &box);

} // namespace mq7410::test
