// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window on a session on the real serial line, as the program runs it, with scripted boxes
// instead of dialogs and its settings in a folder of its own: for the end-to-end tests over
// pseudo-terminals.

#include "doubles.h"

#include "framelogwindow.h"
#include "session.h"
#include "uiform.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

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
    explicit RealPanel(const Clock &clock = steadyClock());
    ~RealPanel();

    // The port walk, answering the questions in this order; then the window, shown.
    bool load(std::deque<Answer> answers);
    // The window without a walk, on the port named (COMn or a device), or on none.
    bool show(const std::string &port = {});

    // A real mouse click in the middle of the named button; fails the test when it is missing.
    void click(const QString &name) const;
    // A click on the digit button of each character.
    void type(const QString &digits) const;
    // Keys typed into the named box, as the user types them, then the entry completed.
    void fill(const QString &box, const QString &text) const;
    void trigger(const QString &action) const;
    template<typename T>
    T *find(const QString &name) const
    {
        return form->findChild<T *>(name);
    }
    FrontPanel &panel() { return session.panel(); }

    // "title|prompt|kind" of every box shown so far, in order.
    QStringList boxTexts() const;
    // Every frame the panel tried, with its status ("not sent", "cut", ...) after it when it
    // was not sent.
    QStringList framesTried() const;

    QTemporaryDir settingsDir;
    Session session;
    ScriptedBoxes boxes;
    WalkResult walk;
    std::unique_ptr<UIForm> form;
};

} // namespace mq7410::test
