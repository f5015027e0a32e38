// SPDX-License-Identifier: GPL-3.0-or-later
// The session's wiring, with QCoreApplication only and a pseudo-terminal for the supply: a whole
// run, the timer between runs, the log and where its frames came from, a line lost during a
// run, the end of the program, and sequence files by name and on a full disk.

#include "farend.h"

#include "framedecoder.h"
#include "session.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace mq7410;
using namespace mq7410::test;

Q_DECLARE_METATYPE(mq7410::RunEnding)

namespace {

QStringList framesIn(const std::string &bytes)
{
    FrameDecoder decoder;
    QStringList frames;
    for (const DecodeEvent &event : decoder.feed(bytes)) {
        if (const auto *frame = std::get_if<Frame>(&event))
            frames << QString::fromStdString(frame->text);
        else
            frames << QStringLiteral("<skipped>");
    }
    return frames;
}

// A session on the far end's line as COM 1, with its settings in a folder of its own.
struct Bench
{
    Bench()
    {
        qputenv("MQ7410_PORTS", QByteArray::fromStdString(supply.device()));
        session.setDefaultOrigin(QStringLiteral("test"));
    }
    ~Bench() { qunsetenv("MQ7410_PORTS"); }

    // By the name's bytes, which need not be UTF-8.
    QByteArray write(const char *name, const QByteArray &bytes) const
    {
        const QByteArray path = QFile::encodeName(dir.path()) + '/' + name;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const bool written
                = fd >= 0
                  && ::write(fd, bytes.constData(), std::size_t(bytes.size())) == bytes.size();
        ::close(fd);
        return written ? path : QByteArray();
    }

    FarEnd supply;
    QTemporaryDir dir;
    Session session{std::make_unique<Settings>(dir.filePath(QStringLiteral("settings.conf")))};
};

const QByteArray ShortRun = "step,time_s,ch1_v,ch1_a,ch2_v,ch2_a\n"
                            "1,1,1,0,0,0\n2,0,2,0,0,0\n3,0,0,0,0,0\n4,0,0,0,0,0\n5,0,0,0,0,0\n"
                            "6,0,0,0,0,0\n7,0,0,0,0,0\n8,0,0,0,0,0\n9,0,0,0,0,0\n"
                            "finish,,0,0,0,1\n";

} // namespace

class TestSession : public QObject
{
    Q_OBJECT
private slots:
    void wholeRunOnTheLine();
    void lineLostDuringARun();
    void endStopsTheRunAndSwitchesOff();
    void sequenceFilesByName();
    void endOfARunOnAnotherDay();
    void fullDiskKeepsTheEarlierFile();
};

void TestSession::wholeRunOnTheLine()
{
    Bench bench;
    QVERIFY(bench.session.openPort("COM1"));
    auto *timer = bench.session.findChild<QTimer *>(QStringLiteral("Timer1"));
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 1000);
    QVERIFY(bench.session.openSequence(bench.write("short.csv", ShortRun)));
    QSignalSpy ended(&bench.session, &Session::runEnded);
    QVERIFY(bench.session.panel().start());
    QVERIFY(ended.wait(5000));
    QCOMPARE(ended.front().front().value<RunEnding>().how, RunEnd::Completed);
    QCOMPARE(timer->interval(), 1000);
    // Step 1 at once, step 2 two ticks later: its time 0 ends the run.
    QCOMPARE(framesIn(bench.supply.readAll()),
             (QStringList{"8D0064000000000000", "8D00C8000000000000"}));
    const std::deque<LoggedFrame> &log = bench.session.history().entries();
    QCOMPARE(log.size(), std::size_t(3));
    QCOMPARE(log[0].origin + ' ' + log[1].origin + ' ' + log[2].origin,
             std::string("test run run"));
    QCOMPARE(log[1].status, std::string("sent"));
    QVERIFY(QString::fromStdString(log[2].meaning).startsWith("Run of short.csv completed at "));
}

void TestSession::lineLostDuringARun()
{
    Bench bench;
    QVERIFY(bench.session.openPort(bench.supply.device()));
    QVERIFY(bench.session.openSequence(bench.write("short.csv", ShortRun)));
    QSignalSpy lost(&bench.session, &Session::lineLost);
    QSignalSpy ended(&bench.session, &Session::runEnded);
    QVERIFY(bench.session.panel().start());
    bench.supply.hangUp();
    // Told within a second, with nothing written meanwhile; the run ends there.
    QVERIFY(lost.wait(1000));
    QCOMPARE(ended.size(), 1);
    QCOMPARE(ended.front().front().value<RunEnding>().how, RunEnd::LineFailed);
    QVERIFY(!bench.session.panel().running());
    QVERIFY(!bench.session.portStatus().open);
    QVERIFY(!bench.session.portStatus().lostReason.empty());
}

void TestSession::endStopsTheRunAndSwitchesOff()
{
    Bench bench;
    QVERIFY(bench.session.openPort("COM1"));
    QVERIFY(bench.session.panel().setOutput(true));
    QVERIFY(bench.session.openSequence(bench.write("short.csv", ShortRun)));
    QVERIFY(bench.session.panel().start());
    QVERIFY(bench.session.end(EndAction::OutputOff));
    QCOMPARE(framesIn(bench.supply.readAll()),
             (QStringList{"8CF0F0", "8D0064000000000000", "8D00000000000003E8", "8C0F0F"}));
    QVERIFY(!bench.session.portStatus().open);
}

void TestSession::sequenceFilesByName()
{
    Bench bench;
    // A name that is not UTF-8 opens: the bytes go to the system as they are.
    const QByteArray odd = bench.write("caf\xe9.csv", ShortRun);
    QVERIFY(!odd.isEmpty());
    QVERIFY(bench.session.openSequence(odd));
    QVERIFY(bench.session.loadNote().isEmpty());
    QVERIFY(!bench.session.sequenceChangedOnDisk());
    // Saving under it is refused rather than written under another name.
    const Status refused = bench.session.saveSequence(odd);
    QCOMPARE(refused.failure().kind, FailureKind::File);
    // Changed on disk by someone else: the session can tell.
    const QByteArray plain = bench.write("plain.csv", ShortRun);
    QVERIFY(bench.session.saveSequence(plain));
    QVERIFY(!bench.session.sequenceChangedOnDisk());
    QVERIFY(!bench.write("plain.csv", ShortRun + "\n").isEmpty());
    QVERIFY(bench.session.sequenceChangedOnDisk());
    // Values above a user's limit load as 0, and the session says how many.
    SetPointValues limits = SupplyLimits;
    valueOf(limits, SetPoint::Ch1Voltage) = 150;
    bench.session.panel().setLimits(limits);
    QVERIFY(bench.session.openSequence(plain));
    QCOMPARE(bench.session.loadNote(),
             QStringLiteral("plain.csv: 1 value(s) the boxes do not take (above a limit, or beyond "
                            "the supply's range) show 0"));
    // A pipe is refused, not read.
    const QByteArray pipe = QFile::encodeName(bench.dir.filePath(QStringLiteral("pipe.csv")));
    QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
    QCOMPARE(bench.session.openSequence(pipe).failure().text,
             std::string("pipe.csv: this is not a regular file"));
}

void TestSession::fullDiskKeepsTheEarlierFile()
{
    Bench bench;
    QTemporaryDir disk;
    const QByteArray mountPoint = QFile::encodeName(disk.path());
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=16k") != 0)
        QSKIP("cannot mount a small file system here (needs root)");
    const auto unmount = qScopeGuard([&mountPoint] { ::umount(mountPoint.constData()); });
    const QByteArray path = mountPoint + "/steps.csv";
    QVERIFY(bench.session.saveSequence(path));
    QFile filler(disk.filePath(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(512, 'x')) == 512 || filler.write("x", 1) == 1) {}
    QVERIFY(bench.session.panel().setTimeText(1, "2"));
    const Status full = bench.session.saveSequence(path);
    QVERIFY(!full && full.failure().text.find("No space left on device") != std::string::npos);
    QVERIFY(!bench.session.sequenceChangedOnDisk()); // the earlier file, whole
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files), (QStringList{"filler", "steps.csv"}));
}

void TestSession::endOfARunOnAnotherDay()
{
    // Today the time of day is enough; on another day the date comes with it.
    QCOMPARE(wallTimeIn(0).size(), qsizetype(8));
    QCOMPARE(wallTimeIn(std::int64_t{2} * 24 * 3600).left(10),
             QDateTime::currentDateTime().addDays(2).toString(QStringLiteral("yyyy-MM-dd")));
}

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
