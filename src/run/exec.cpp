// SPDX-License-Identifier: GPL-3.0-or-later
// exec: SCPI lines on a panel in its start state, from the arguments or from standard input,
// as a client of the SCPI server sends them.

// Before any Qt header: the interpreter names a member `slots`, which Qt's keyword macro
// would empty.
#include "scpiinterpreter.h"

#include "commands.h"
#include "exitstatus.h"
#include "headless.h"
#include "version.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>

#include <unistd.h>

namespace mq7410::run {
namespace {

// The lines of standard input as they come, read in the event loop, so that a run's ticks
// and a signal are heard while it waits for the next line.
class InputLines : public QObject
{
public:
    explicit InputLines(std::function<void(const QString &)> take)
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
            m_pending.append(bytes, count);
            for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
                m_take(QString::fromUtf8(m_pending.left(end)));
                m_pending.remove(0, end + 1);
            }
            return;
        }
        // The end of the input, or a read that failed: the last line need not end with LF.
        m_notifier.setEnabled(false);
        if (!m_pending.isEmpty())
            m_take(QString::fromUtf8(m_pending));
        QCoreApplication::exit(count == 0 ? Done : Refused);
    }

    std::function<void(const QString &)> m_take;
    QSocketNotifier m_notifier;
    QByteArray m_pending;
};

} // namespace

int exec(const Options &options, Printer &printer)
{
    Headless headless(options, printer);
    if (const int opened = headless.open(); opened != Done)
        return opened;
    ScpiInterpreter scpi(headless.session().panel(),
                         {"MQ-7410 Front Panel", "mq7410-run", "0", MQ7410_VERSION});
    bool refused = false;
    const auto run = [&](const QString &line) {
        if (line.trimmed().isEmpty())
            return;
        if (const std::optional<std::string> reply = scpi.execute(line.toStdString()))
            printer.line(QString::fromStdString(*reply));
        // Every error the line queued, oldest first, as SYSTem:ERRor? gives them.
        for (;;) {
            const std::optional<std::string> error = scpi.execute("SYSTem:ERRor?");
            if (!error || error->starts_with("0,"))
                break;
            printer.message(line + QStringLiteral(": ") + QString::fromStdString(*error));
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
                        run(line);
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
