#pragma once

#include "fakeserialport.h"
#include "scriptedboxes.h"

#include "app/uiform.h"

#include <QAction>
#include <QString>
#include <QWidget>

#include <memory>

namespace mq7410::test {

// A window built with a fake port and scripted boxes, and ways to reach its controls by name.
struct FormFixture
{
    FormFixture();
    ~FormFixture();

    // Runs the start-up with port 1 accepted, as the user would answer; forgets its boxes.
    bool load();

    // The named child; the test fails (returns nullptr) when it is missing or of another kind.
    template<typename T>
    T *find(const QString &name) const
    {
        return form->findChild<T *>(name);
    }
    QWidget *widget(const QString &name) const;
    QAction *action(const QString &name) const;

    // A real mouse click in the middle of the named button.
    void click(const QString &name) const;
    void click(const char *name) const { click(QLatin1String(name)); }
    QWidget *widget(const char *name) const { return widget(QLatin1String(name)); }
    QAction *action(const char *name) const { return action(QLatin1String(name)); }
    template<typename T>
    T *find(const char *name) const
    {
        return find<T>(QLatin1String(name));
    }

    FakeSerialPort port;
    ScriptedBoxes boxes;
    std::unique_ptr<UIForm> form;
};

} // namespace mq7410::test
