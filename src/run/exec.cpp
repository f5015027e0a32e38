// SPDX-License-Identifier: GPL-3.0-or-later
// exec: SCPI lines on a panel in its start state, from the arguments or from standard input,
// as a client of the SCPI server sends them.

#include "commands.h"
#include "exitstatus.h"
#include "headless.h"

#include "identity.h"
#include "lineframer.h"
#include "scpiinterpreter.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <optional>

#include <unistd.h>

namespace mq7410::run {
namespace {

// The lines of standard input as they come, cut as the server cuts a client's, read in the
// event loop, so that a run's ticks and a signal are heard while it waits for the next line.
class InputLines : public QObject
{
public:
    explicit InputLines(std::function<void(const FramedLine &)> take)
        : m_take(std::move(take))
        , m_notifier(STDIN_FILENO, QSocketNotifier::Read)
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, &InputLines::read);
    }

private:
    void read()
    {
        char bytes[4096];
        const ssize_t count = ::read(STDIN_FILENO, bytes, sizeof bytes);
        if (count < 0 && (errno == EINTR || errno == EAGAIN))
            return;
        if (count > 0) {
            m_framer.append({bytes, std::size_t(count)});
            takeLines();
            return;
        }
        // The end of the input, or a read that failed: the last line need not end with LF.
        m_notifier.setEnabled(false);
        m_framer.append("\n");
        takeLines();
        QCoreApplication::exit(count == 0 ? Done : Refused);
    }

    void takeLines()
    {
        while (const std::optional<FramedLine> line = m_framer.next())
            m_take(*line);
    }

    std::function<void(const FramedLine &)> m_take;
    QSocketNotifier m_notifier;
    LineFramer m_framer;
};

} // namespace

int exec(const Options &options, Printer &printer)
{
    Headless headless(options, printer);
    if (const int opened = headless.open(); opened != Done)
        return opened;
    // *IDN? answers as the SCPI server does: a script sees one instrument either way.
    ScpiInterpreter scpi(headless.session().panel(), instrumentIdentity());
    bool refused = false;
    const auto run = [&](const FramedLine &line) {
        const QString text = QString::fromStdString(line.text).trimmed();
        if (!line.overlong && text.isEmpty())
            return;
        if (const std::optional<std::string> reply = scpi.execute(line))
            printer.line(QString::fromStdString(*reply));
        // Every error the line queued, oldest first, as SYSTem:ERRor? gives them.
        const QString name = line.overlong ? QStringLiteral("a line") : text;
        for (;;) {
            const std::optional<std::string> error = scpi.execute("SYSTem:ERRor?");
            if (!error || error->starts_with("0,"))
                break;
            printer.message(name + QStringLiteral(": ") + QString::fromStdString(*error));
            refused = true;
        }
    };

    int signalNumber = 0;
    QObject::connect(&headless, &Headless::signalled, &headless, [&signalNumber](int number) {
        signalNumber = number;
        QCoreApplication::exit();
    });
    QObject::connect(&headless.session(), &Session::lineLost, &headless,
                     [] { QCoreApplication::exit(); });
    std::unique_ptr<InputLines> input;
    if (options.lines == QStringList{QStringLiteral("-")}) {
        input = std::make_unique<InputLines>(run);
    } else {
        QMetaObject::invokeMethod(
                &headless,
                [&] {
                    for (const QString &line : options.lines)
                        run(FramedLine{line.toStdString()});
                    QCoreApplication::exit();
                },
                Qt::QueuedConnection);
    }
    const bool readFailed = QCoreApplication::exec() == Refused;
    if (readFailed)
        printer.message(QStringLiteral("standard input could not be read"));
    const int status = signalNumber != 0 ? signalStatus(signalNumber)
                                         : (refused || readFailed ? Refused : Done);
    return headless.finish(status);
}

} // namespace mq7410::run
