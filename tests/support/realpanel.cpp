// SPDX-License-Identifier: GPL-3.0-or-later
#include "realpanel.h"

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QTest>

namespace mq7410::test {

RealPanel::RealPanel(const Clock &clock)
    : session(std::make_unique<Settings>(settingsDir.filePath(QStringLiteral("settings.conf"))),
              clock)
{}

RealPanel::~RealPanel() = default;

bool RealPanel::load(std::deque<Answer> answers)
{
    boxes.answers = std::move(answers);
    walk = session.walkPorts(boxes);
    return walk.port != 0 && show();
}

bool RealPanel::show(const std::string &port)
{
    if (!port.empty() && !session.openPort(port))
        return false;
    form = std::make_unique<UIForm>(session, boxes);
    form->show();
    return QTest::qWaitForWindowExposed(form.get());
}

void RealPanel::click(const QString &name) const
{
    auto *button = find<QAbstractButton>(name);
    if (!button)
        qFatal("no button named %s", qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

void RealPanel::type(const QString &digits) const
{
    static const char *const Buttons[]
            = {"ZeroCommand", "OneCommand", "TwoCommand",   "ThreeCommand", "FourCommand",
               "FiveCommand", "SixCommand", "SevenCommand", "EightCommand", "NineCommand"};
    for (const QChar digit : digits)
        click(QLatin1String(Buttons[digit.digitValue()]));
}

void RealPanel::fill(const QString &box, const QString &text) const
{
    auto *edit = find<QLineEdit>(box);
    if (!edit)
        qFatal("no box named %s", qPrintable(box));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
}

void RealPanel::trigger(const QString &action) const
{
    auto *found = find<QAction>(action);
    if (!found)
        qFatal("no action named %s", qPrintable(action));
    found->trigger();
}

QStringList RealPanel::boxTexts() const
{
    QStringList texts;
    for (const Message &box : boxes.shown) {
        texts << QString::fromStdString(box.title + '|' + box.prompt) + '|'
                         + QString::number(int(box.kind));
    }
    return texts;
}

QStringList RealPanel::framesTried() const
{
    QStringList frames;
    for (const LoggedFrame &entry : session.history().entries()) {
        if (!entry.frame.empty())
            frames << QString::fromStdString(entry.frame) // the status without its reason
                              + (entry.status == "sent"
                                         ? QString()
                                         : ' '
                                                   + QString::fromStdString(entry.status)
                                                             .section(':', 0, 0));
    }
    return frames;
}

} // namespace mq7410::test
