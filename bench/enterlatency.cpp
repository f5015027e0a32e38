// bench-enter-latency: from a click on Enter to the last byte of its frame at the far end.
//
// The window runs with the real QtSerialPort on a pseudo-terminal whose master side this
// program reads, as the supply would read the line. Beside it, in the same rounds, the floor:
// a plain write() of the same six bytes on a pseudo-terminal of its own. To show where the
// time goes, three more paths are timed: QtSerialPort::write() alone, Enter's handler called
// directly, and the click, both with a port that writes nothing.
//
//   bench-enter-latency [--clicks N] [--warmup N]

#include "benchtools.h"
#include "pty.h"

#include "app/uiform.h"
#include "serial/qtserialport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QTest>

#include <cstdio>
#include <unistd.h>

using namespace mq7410;
using namespace mq7410::bench;

namespace {

constexpr char Frame[] = "880000"; // Enter right after start-up: CH1 0.00 V
constexpr int FrameSize = 6;

// Takes every frame and sends nothing: the window's own share of a click.
class NullPort : public SerialPort
{
public:
    bool selectPort(int) override { return true; }
    bool setSettings(std::string_view) override { return true; }
    bool open() override { return m_open = true; }
    std::int16_t close() override { return m_open = false; }
    bool write(std::string_view) override { return true; }
    bool isOpen() const override { return m_open; }
    std::string errorString() const override { return {}; }
    std::string portDescription() const override { return {}; }

private:
    bool m_open = false;
};

QAbstractButton *loadAndFindEnter(UIForm &form)
{
    if (!form.Form_Load())
        die("the panel found no port");
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        die("the window was not shown");
    auto *enter = form.findChild<QAbstractButton *>(QStringLiteral("EnterCommand"));
    if (!enter)
        die("no Enter button");
    return enter;
}

using Times = std::vector<std::int64_t>;

// Times `step` and keeps the figure when `keep`.
template<typename Step>
void timed(Times &times, bool keep, Step step)
{
    const std::int64_t start = monotonicNs();
    step();
    if (keep)
        times.push_back(monotonicNs() - start);
}

void printRow(const char *what, const Times &ns)
{
    const Summary s = summarize(ns);
    std::printf("%-42s %9.1f %9.1f %9.1f %9.1f\n", what, s.p50Us, s.p99Us, s.maxUs, s.meanUs);
}

} // namespace

int main(int argc, char *argv[])
{
    preferOffscreen();
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const auto clicks = std::size_t(intOption(arguments, QStringLiteral("--clicks"), 10000));
    const auto warmup = std::size_t(intOption(arguments, QStringLiteral("--warmup"), 200));

    Pty panelLine, directLine, floorLine;
    // COM 1 for the window (the first port it is asked about), COM 2 for the port alone.
    qputenv("MQ7410_PORTS", panelLine.slavePath() + ':' + directLine.slavePath());
    YesBoxes boxes;
    QtSerialPort serial;
    UIForm form(serial, boxes);
    QAbstractButton *enter = loadAndFindEnter(form);
    NullPort nullPort;
    UIForm windowOnly(nullPort, boxes);
    QAbstractButton *enterWithoutPort = loadAndFindEnter(windowOnly);
    QtSerialPort direct;
    if (!direct.selectPort(2) || !direct.setSettings("115200 N 8 1") || !direct.open())
        die("opening the port for QtSerialPort::write()");
    const int floorFd = floorLine.openSlaveLikeThePanel();

    Times floorNs, directNs, handlerNs, windowNs, clickNs;
    for (std::size_t round = 0; round < warmup + clicks; ++round) {
        const bool keep = round >= warmup;
        timed(floorNs, keep, [&] {
            if (::write(floorFd, Frame, FrameSize) != FrameSize)
                die("write() on the pseudo-terminal");
            floorLine.readExactly(FrameSize);
        });
        timed(directNs, keep, [&] {
            if (!direct.write(Frame))
                die("QtSerialPort::write()");
            directLine.readExactly(FrameSize);
        });
        timed(handlerNs, keep, [&] { windowOnly.EnterCommand_Click(); });
        timed(windowNs, keep, [&] { QTest::mouseClick(enterWithoutPort, Qt::LeftButton); });
        timed(clickNs, keep, [&] {
            QTest::mouseClick(enter, Qt::LeftButton);
            panelLine.readExactly(FrameSize);
        });
        QCoreApplication::processEvents(); // repaints and the like, outside the timed parts
    }
    ::close(floorFd);
    if (boxes.errors != 0)
        die(qPrintable("the panel reported an error: " + boxes.lastError));

    std::printf("bench-enter-latency, %s\ncommand: %s\nmachine: %s (at the end)\n",
                qPrintable(QDateTime::currentDateTime().toString(Qt::ISODate)),
                qPrintable(commandLine(arguments)), qPrintable(machineLine()));
    std::printf("%zu rounds after %zu warm-up rounds; frame %s; times in us\n\n", clicks, warmup,
                Frame);
    std::printf("%-42s %9s %9s %9s %9s\n", "", "p50", "p99", "max", "mean");
    printRow("write() on a pty (the floor)", floorNs);
    printRow("QtSerialPort::write(), no window", directNs);
    printRow("Enter's handler alone, port sends nothing", handlerNs);
    printRow("click on Enter, port that sends nothing", windowNs);
    printRow("click on Enter -> frame at the master", clickNs);
    const double ratio = summarize(clickNs).p99Us / summarize(floorNs).p99Us;
    std::printf("\np99 of the click / p99 of the floor: %.2fx (goal: at most 2x) - %s\n", ratio,
                ratio <= 2.0 ? "met" : "missed");
    return 0;
}
