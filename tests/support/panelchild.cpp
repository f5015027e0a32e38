// SPDX-License-Identifier: GPL-3.0-or-later
// The panel as a program of its own, for end-to-end tests that need a second process: a copy
// that holds its port while the test's own panel starts, one that runs as another user, or
// one ended by a signal.
//
//   e2e-panelchild [--answers yes,no,...] [--click Name,... | --fill Box=text,...]...
//                  [--output-off-at-end] [--hold]
//
// It walks the ports of MQ7410_PORTS answering the questions in order (No when none is left),
// fills the boxes, clicks the buttons or triggers the actions named, then ends through Exit;
// with --hold it first waits until its standard input is closed, or for SIGTERM, SIGINT or
// SIGHUP, which end it as they end the panel. It prints one line per event, flushed at once:
//   uid N                  its effective user
//   box KIND|TITLE|PROMPT  every box, line breaks written as \n
//   loaded true|false      whether a port was accepted
//   ready                  after the clicks; the port is held from here on

#include "realpanel.h"

#include "signalwatcher.h"

#include <QAction>
#include <QApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

using namespace mq7410;

namespace {

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

QStringList listOption(const QStringList &arguments, const QString &name)
{
    const qsizetype at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1].split(',') : QStringList();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SignalWatcher signalWatcher(SignalWatcher::terminationSignals());
    const QStringList arguments = QApplication::arguments();
    test::RealPanel panel;
    if (arguments.contains(QStringLiteral("--output-off-at-end")))
        panel.session.settings().setEndAction(EndAction::OutputOff);
    panel.boxes.whileShown = [](const Message &box) {
        say(QStringLiteral("box %1|%2|%3")
                    .arg(int(box.kind))
                    .arg(QString::fromStdString(box.title),
                         QString::fromStdString(box.prompt).replace('\n', "\\n")));
    };
    say(QStringLiteral("uid %1").arg(::geteuid()));
    std::deque<Answer> answers;
    for (const QString &answer : listOption(arguments, QStringLiteral("--answers")))
        answers.push_back(answer == QLatin1String("yes") ? Answer::Yes : Answer::No);
    const bool loaded = panel.load(answers);
    say(QStringLiteral("loaded %1").arg(loaded ? "true" : "false"));
    if (!loaded)
        return 1;
    // Fills and clicks in the order given.
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        for (const QString &item : arguments[i + 1].split(',')) {
            if (arguments[i] == QLatin1String("--fill"))
                panel.fill(item.section('=', 0, 0), item.section('=', 1));
            else if (arguments[i] == QLatin1String("--click") && panel.find<QAction>(item))
                panel.trigger(item);
            else if (arguments[i] == QLatin1String("--click"))
                panel.click(item);
        }
    }
    say(QStringLiteral("ready"));

    auto *exit = panel.form->findChild<QAction *>(QStringLiteral("Exit"));
    if (!arguments.contains(QStringLiteral("--hold"))) {
        exit->trigger();
        return 0;
    }
    QObject::connect(panel.form.get(), &UIForm::endRequested, &app, &QCoreApplication::quit);
    QObject::connect(&signalWatcher, &SignalWatcher::received, panel.form.get(),
                     &UIForm::endProgram);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, exit, [exit] {
        char byte = 0;
        if (::read(STDIN_FILENO, &byte, 1) <= 0)
            exit->trigger(); // the test let go: end as the user would
    });
    return QApplication::exec();
}
