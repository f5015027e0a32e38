// The window offscreen, on the core with a recording link: its controls and their public names,
// what a screen reader is told, the layout at any scale, focus, the status bar and Stop, the
// frame log, the boxes of the table, a dropped file, and the command line.

#include "doubles.h"

#include "commandline.h"
#include "framelogwindow.h"
#include "twipslayout.h"
#include "uiform.h"
#include "serialline.h"

#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <sys/mount.h>
#include <sys/stat.h>

using namespace mq7410;
using namespace mq7410::test;

Q_DECLARE_METATYPE(std::string)

namespace {

struct Window
{
    Window()
    {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }
    template<typename T = QWidget>
    T *find(const char *name) const
    {
        return form.findChild<T *>(QLatin1String(name));
    }
    void trigger(const char *action) const { find<QAction>(action)->trigger(); }
    void click(const char *name) const
    {
        QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton);
    }

    RecordingLink link;
    ManualClock clock;
    FrontPanel panel{link, clock};
    SerialLine line;
    ScriptedBoxes boxes;
    UIForm form{panel, line, boxes};
};

QString accessibleName(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT
private slots:
    void controls_data();
    void controls();
    void nothingClippedAndPanelsShareTheirPlace();
    void screenReaderNames_data();
    void screenReaderNames();
    void focusFollowsThePanelShown();
    void refusedFrameGivesOneBoxAndChangesNothing();
    void runWithStatusAndStop();
    void frameLogKeepsTheNewestAndSaves();
    void tableBoxChecksTheCompletedEntry();
    void droppedFileLoads();
    void savingToAFullDiskKeepsTheEarlierFile();
    void commandLine_data();
    void commandLine();
};

void TestWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    const QStringList rows{"UIForm|mq7410::UIForm|",
                           "Control|mq7410::PanelFrame|Control",
                           "Sequence|mq7410::PanelFrame|Auto Sequence List",
                           "SerialCommand|mq7410::WrappingButton|Serial /Off",
                           "OutputCommand|mq7410::WrappingButton|Output /Off",
                           "CH1V|QLabel|00.00",
                           "CH2I|QLabel|0.000",
                           "SerialLabel|QLabel|=== Serial Link ===",
                           "CH1VOption|QRadioButton|CH1V",
                           "CH2ACommand|QPushButton|CH2/A",
                           "NineCommand|QPushButton|9",
                           "EnterCommand|QPushButton|Enter",
                           "Step1|QLabel|Step 1:",
                           "Finish|QLabel|Finish:",
                           "Time9|mq7410::TableBox|0",
                           "CH2I10|mq7410::TableBox|0",
                           "CancelCommand|QPushButton|Cancel",
                           "Start|QPushButton|Start",
                           "StopCommand|QPushButton|Stop",
                           "PortStatus|QLabel|No port",
                           "FileStatus|QLabel|No sequence file",
                           "mOpenSequence|QAction|&Open Sequence...",
                           "mSaveSequence|QAction|&Save Sequence",
                           "mSaveSequenceAs|QAction|Save Sequence &As...",
                           "mReconnect|QAction|&Reconnect",
                           "Exit|QAction|E&xit",
                           "Auto|QAction|&Auto",
                           "mFrameLog|QAction|&Frame Log",
                           "mSequenceChart|QAction|Sequence &Chart",
                           "About|QAction|&About"};
    for (const QString &row : rows)
        QTest::newRow(qPrintable(row.section('|', 0, 0)))
                << row.section('|', 0, 0) << row.section('|', 1, 1) << row.section('|', 2);
}

void TestWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    Window window;
    QObject *control = name == "UIForm" ? &window.form : window.form.findChild<QObject *>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), kind);
    QString text = control->property("text").toString();
    if (auto *frame = qobject_cast<QGroupBox *>(control))
        text = frame->title();
    QCOMPARE(text, caption);
}

void TestWindow::nothingClippedAndPanelsShareTheirPlace()
{
    Window window;
    for (QWidget *widget : window.form.findChildren<QWidget *>()) {
        const QSize need = captionNeed(widget);
        QVERIFY2(need.width() <= widget->width() && need.height() <= widget->height(),
                 qPrintable(widget->objectName()));
    }
    QCOMPARE(window.find("Control")->geometry(), window.find("Sequence")->geometry());
    // The keypad reads as a calculator's, the selectors top to bottom; the status bar's fields
    // stand one under the other, Stop beside them.
    const auto at = [&window](const char *name) {
        return window.find(name)->geometry();
    };
    for (const auto &[above, below] : {std::pair{"SevenCommand", "FourCommand"},
                                       {"FourCommand", "OneCommand"},
                                       {"OneCommand", "ZeroCommand"},
                                       {"CH1VCommand", "CH1ACommand"},
                                       {"CH1ACommand", "CH2VCommand"},
                                       {"CH2VCommand", "CH2ACommand"},
                                       {"PortStatus", "FrameStatus"},
                                       {"FrameStatus", "RunStatus"}})
        QVERIFY2(at(above).bottom() < at(below).top() && at(above).left() == at(below).left(),
                 below);
    QCOMPARE(at("CH1VCommand").top(), at("SevenCommand").top()); // rows shared with the keys
    QCOMPARE(at("CH2ACommand").top(), at("ZeroCommand").top());
    QVERIFY(at("SevenCommand").right() < at("EightCommand").left());
    QVERIFY(at("EightCommand").right() < at("NineCommand").left());
    QVERIFY(at("PortStatus").right() < at("FileStatus").left());
    QVERIFY(at("FileStatus").right() < at("StopCommand").left());
    QVERIFY(at("FrameStatus").right() < at("StopCommand").left());
    QVERIFY(window.find("Sequence")->isHidden());
    QVERIFY(window.find("SerialLabel")->isHidden());
    QVERIFY(window.find<QRadioButton>("CH1VOption")->isChecked());
    // The status bar lies under the panels: they keep their place, run or not.
    QCOMPARE(window.form.statusBar()->geometry().top(),
             window.form.centralWidget()->geometry().bottom() + 1);
}

void TestWindow::screenReaderNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("Time3") << "Time3"
                           << "Step 3 time, seconds, before step 4";
    QTest::newRow("Time9") << "Time9"
                           << "Step 9 time, seconds, before finish";
    QTest::newRow("CH1V4") << "CH1V4"
                           << "Step 3 CH1 voltage, volts";
    QTest::newRow("CH1I2") << "CH1I2"
                           << "Step 1 CH1 current, amperes";
    QTest::newRow("CH2I1") << "CH2I1"
                           << "Finish CH2 current, amperes";
    QTest::newRow("CH2V display") << "CH2V"
                                  << "CH2 voltage";
    QTest::newRow("RunStatus") << "RunStatus"
                               << "Run";
    QTest::newRow("StopCommand") << "StopCommand"
                                 << "Stop the sequence";
}

void TestWindow::screenReaderNames()
{
    QFETCH(QString, name);
    QFETCH(QString, spoken);
    Window window;
    QCOMPARE(accessibleName(window.form.findChild<QWidget *>(name)), spoken);
}

void TestWindow::focusFollowsThePanelShown()
{
    Window window;
    window.trigger("Auto");
    QVERIFY(window.find("Sequence")->isAncestorOf(QApplication::focusWidget()));
    window.click("CancelCommand");
    QVERIFY(window.find("Control")->isAncestorOf(QApplication::focusWidget()));
}

void TestWindow::refusedFrameGivesOneBoxAndChangesNothing()
{
    Window window;
    window.link.refuseWith = "the far end hung up";
    window.click("OutputCommand");
    QCOMPARE(window.boxes.shown.size(), std::size_t(1));
    QCOMPARE(window.boxes.shown[0].title, std::string("! RS-232 ERROR !"));
    QVERIFY(window.boxes.shown[0].prompt.find("8CF0F0") != std::string::npos);
    QCOMPARE(window.find<QPushButton>("OutputCommand")->text(), QStringLiteral("Output /Off"));
    QVERIFY(window.find<QLabel>("FrameStatus")->text().contains("not sent: the far end hung up"));
    // Enter's release lands in the box its frame opened: the next Enter is a new press.
    QWidget box;
    for (const auto &[type, to, at] :
         {std::tuple{QEvent::KeyPress, QApplication::focusWidget(), 100},
          {QEvent::KeyRelease, &box, 150},
          {QEvent::KeyPress, QApplication::focusWidget(), 300}}) {
        QKeyEvent key(type, Qt::Key_Return, Qt::NoModifier);
        key.setTimestamp(ulong(at));
        QApplication::sendEvent(to, &key);
    }
    QCOMPARE(window.link.refused, (std::vector<std::string>{"8CF0F0", "880000", "880000"}));
}

void TestWindow::runWithStatusAndStop()
{
    Window window;
    const QSize size = window.form.size();
    window.trigger("Auto");
    window.click("Start");
    QVERIFY(!window.find("Sequence")->isEnabled());
    QVERIFY(window.find("StopCommand")->isVisible());
    QVERIFY2(window.find<QLabel>("RunStatus")->text().startsWith("Step 1 of 1 \u00b7 1 s left"),
             qPrintable(window.find<QLabel>("RunStatus")->text()));
    QVERIFY(!window.find<QAction>("mOpenSequence")->isEnabled());
    QCOMPARE(window.form.size(), size);
    window.trigger("mSequenceChart"); // Escape stops the run from any window of the program
    QTest::keyClick(window.form.findChild<QWidget *>("SequenceChart"), Qt::Key_Escape);
    QCOMPARE(window.link.sent.size(), std::size_t(2)); // step 1, then the Finish row
    QVERIFY(window.find("Sequence")->isEnabled());
    QVERIFY(!window.find("StopCommand")->isVisible());
    QTest::keyClick(&window.form, Qt::Key_Escape); // no run: nothing
    QCOMPARE(window.link.sent.size(), std::size_t(2));
    QCOMPARE(window.form.size(), size);
}

void TestWindow::frameLogKeepsTheNewestAndSaves()
{
    Window window;
    window.trigger("mFrameLog");
    auto *log = window.form.findChild<FrameLogWindow *>(QStringLiteral("FrameLog"));
    QVERIFY(log && log->isVisible());
    auto *model = window.form.findChild<FrameLogModel *>();
    for (int i = 0; i < int(FrameHistory::DefaultCapacity) + 5; ++i)
        window.click("EnterCommand");
    QCOMPARE(model->rowCount(), int(FrameHistory::DefaultCapacity));
    const QScrollBar *scroll = log->findChild<QTableView *>()->verticalScrollBar();
    QCOMPARE(scroll->value(), scroll->maximum()); // the newest entry still in sight
    QCOMPARE(log->findChild<QLabel *>(QStringLiteral("DroppedCount"))->text(),
             QStringLiteral("5 older entries were dropped"));
    QTemporaryDir dir;
    QVERIFY(log->saveTo(dir.filePath("frames.csv")));
    QFile saved(dir.filePath("frames.csv"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readLine(), QByteArray("time,frame,meaning,status\n"));
    QVERIFY(saved.readLine().endsWith(",880000,CH1 0.00 V,sent\n"));
    QVERIFY(!log->saveTo(dir.filePath("no folder/frames.csv")));
    QCOMPARE(window.boxes.shown.size(), std::size_t(1));
}

void TestWindow::tableBoxChecksTheCompletedEntry()
{
    Window window;
    window.trigger("Auto");
    auto *box = window.find<QLineEdit>("CH1V2");
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "33.5");
    QCOMPARE(box->text(), QStringLiteral("33.5")); // typed on, not cut at "33"
    QTest::keyClick(box, Qt::Key_Tab);
    QCOMPARE(box->text(), QStringLiteral(" 0"));
    QCOMPARE(window.panel.tableTexts().value(1, SetPoint::Ch1Voltage), std::string(" 0"));
}

void TestWindow::droppedFileLoads()
{
    Window window;
    QTemporaryDir dir;
    QFile file(dir.filePath("drop.csv"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("step,time_s,ch1_v,ch1_a,ch2_v,ch2_a\n1,7,1,1,40,1\n2,,,,,\n3,,,,,\n4,,,,,\n"
               "5,,,,,\n6,,,,,\n7,,,,,\n8,,,,,\n9,,,,,\nfinish,,,,,\n");
    file.close();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file.fileName())});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window.form, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window.form, &drop);
    QCOMPARE(window.find<QLineEdit>("Time1")->text(), QStringLiteral("7"));
    QVERIFY(window.find("Sequence")->isVisible());
    // 40 V became " 0": the table is no longer the file's.
    QCOMPARE(window.find<QLabel>("FileStatus")->text(), QStringLiteral("drop.csv (modified)"));
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("pipe.csv")).constData(), 0600) == 0);
    QVERIFY(!window.form.openSequence(dir.filePath("pipe.csv"))); // at once, not blocked
    QCOMPARE(window.boxes.shown.back().prompt, std::string("pipe.csv: this is not a regular file"));
}

void TestWindow::savingToAFullDiskKeepsTheEarlierFile()
{
    QTemporaryDir dir;
    if (::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, "size=16k") != 0)
        QSKIP("cannot mount a small file system here (needs root)");
    const auto unmount
            = qScopeGuard([&dir] { ::umount(QFile::encodeName(dir.path()).constData()); });
    Window window;
    const QString path = dir.filePath("steps.csv");
    QVERIFY(window.form.saveSequenceTo(path));
    QFile filler(dir.filePath("filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(512, 'x')) == 512) {}
    filler.close();
    QFile earlier(path);
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    const QByteArray before = earlier.readAll();
    earlier.close();

    window.panel.setTimeText(1, std::string(5000, '5')); // more than the disk has left
    QVERIFY(!window.form.saveSequenceTo(path));
    QCOMPARE(window.boxes.shown.size(), std::size_t(1));
    QCOMPARE(window.boxes.shown[0].details, std::string("No space left on device"));
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), before);
    QVERIFY(!window.form.findChild<FrameLogWindow *>()); // the log, from a window of its own
    window.trigger("mFrameLog");
    QVERIFY(!window.form.findChild<FrameLogWindow *>()->saveTo(dir.filePath("frames.csv")));
    QCOMPARE(window.boxes.shown.size(), std::size_t(2));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"filler", "steps.csv"}));
}

void TestWindow::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("parsed"); // help version file | error
    QTest::newRow("nothing") << QStringList{} << "0 0 |";
    QTest::newRow("a file") << QStringList{"a.csv"} << "0 0 a.csv|";
    QTest::newRow("help and version") << QStringList{"--version", "-h"} << "1 1 |";
    QTest::newRow("a file after --") << QStringList{"--", "-x.csv"} << "0 0 -x.csv|";
    QTest::newRow("unknown option") << QStringList{"--bogus"} << "0 0 |unknown option --bogus";
    QTest::newRow("two files") << QStringList{"a", "b"} << "0 0 a|more than one sequence file: b";
}

void TestWindow::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, parsed);
    std::vector<std::string> list;
    for (const QString &argument : arguments)
        list.push_back(argument.toStdString());
    const CommandLine command = parseCommandLine(list);
    QCOMPARE(QStringLiteral("%1 %2 %3|%4")
                     .arg(int(command.help))
                     .arg(int(command.version))
                     .arg(QString::fromStdString(command.sequenceFile),
                          QString::fromStdString(command.error)),
             parsed);
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
