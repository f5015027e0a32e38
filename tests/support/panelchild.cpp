// The panel as a program of its own, for end-to-end tests that need a second process: a copy
// that holds its port while the test's own panel starts, or one that runs as another user.
//
//   e2e-panelchild [--answers yes,no,...] [--click Button,...] [--hold]
//
// It walks the ports of MQ7410_PORTS answering the questions in order (No when none is left),
// clicks the buttons, then ends through Exit; with --hold it first waits until its standard
// input is closed. It prints one line per event, flushed at once:
//   uid N                  its effective user
//   box KIND|TITLE|PROMPT  every box, line breaks written as \n
//   loaded true|false      whether a port was accepted
//   ready                  after the clicks; the port is held from here on

#include "realpanel.h"

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
    const QStringList arguments = QApplication::arguments();
    test::RealPanel panel;
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
    for (const QString &button : listOption(arguments, QStringLiteral("--click")))
        panel.click(button);
    say(QStringLiteral("ready"));

    auto *exit = panel.form->findChild<QAction *>(QStringLiteral("Exit"));
    if (!arguments.contains(QStringLiteral("--hold"))) {
        exit->trigger();
        return 0;
    }
    QObject::connect(panel.form.get(), &UIForm::endRequested, &app, &QCoreApplication::quit);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, exit, [exit] {
        char byte = 0;
        if (::read(STDIN_FILENO, &byte, 1) <= 0)
            exit->trigger(); // the test let go: end as the user would
    });
    return QApplication::exec();
}
