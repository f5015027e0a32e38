#pragma once

// The window on the real serial line, as the program runs it, with scripted boxes instead of
// dialogs: for the end-to-end tests over pseudo-terminals.

#include "doubles/doubles.h"

#include "app/framelogwindow.h"
#include "app/uiform.h"
#include "core/frontpanel.h"
#include "serial/serialline.h"

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

struct RealPanel
{
    RealPanel();
    ~RealPanel();

    // The port walk, answering the questions in this order; then the window, shown.
    bool load(std::deque<Answer> answers);

    // A real mouse click in the middle of the named button; fails the test when it is missing.
    void click(const QString &name) const;
    // A click on the digit button of each character.
    void type(const QString &digits) const;
    // Keys typed into the named box, as the user types them, then the entry completed.
    void fill(const QString &box, const QString &text) const;
    template<typename T>
    T *find(const QString &name) const
    {
        return form->findChild<T *>(name);
    }

    // "title|prompt|kind" of every box shown so far, in order.
    QStringList boxTexts() const;
    // Every frame the panel tried, with " not sent" after those refused.
    QStringList framesTried() const;

    SerialLine line;
    SteadyClock clock;
    FrontPanel panel{line, clock};
    ScriptedBoxes boxes;
    WalkResult walk;
    std::unique_ptr<UIForm> form;
};

} // namespace mq7410::test
