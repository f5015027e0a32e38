// SPDX-License-Identifier: GPL-3.0-or-later
// The window offscreen on a session, with a pseudo-terminal for the supply where frames must be
// taken: the layout at any scale, what a screen reader is told, keys and focus, the status bar,
// the boxes and dialogs, the frame log, files, the port and remote control menus and the
// command line.

#include "realpanel.h"

#include "appearance.h"
#include "commandline.h"
#include "elidedlabel.h"
#include "farend.h"
#include "filedialogs.h"
#include "qtmessageboxes.h"
#include "remotecontrol.h"
#include "twipslayout.h"

#include <QAccessible>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTcpServer>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QTreeWidget>

using namespace mq7410;
using namespace mq7410::test;

namespace {

// Answers the next modal dialog from the event loop it runs.
void whenModal(const std::function<void(QWidget *)> &answer)
{
    QTimer::singleShot(0, qApp, [answer] { answer(QApplication::activeModalWidget()); });
}

// A sequence file: step 1 as given, the other rows empty, and a repeat row unless 1.
QByteArray writeTable(const QString &path, const QByteArray &step1, int repeat = 1)
{
    QByteArray bytes = "step,time_s,ch1_v,ch1_a,ch2_v,ch2_a\n1," + step1 + '\n';
    for (int step = 2; step <= 9; ++step)
        bytes += QByteArray::number(step) + ",,,,,\n";
    bytes += "finish,,,,,\nrepeat," + QByteArray::number(repeat) + ",,,,\n";
    QFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    return written ? QFile::encodeName(path) : QByteArray();
}

QString fullText(const RealPanel &panel, const char *field)
{
    return panel.find<ElidedLabel>(QLatin1String(field))->fullText();
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT
private slots:
    void nothingClippedAndPanelsShareTheirPlace()
    {
        RealPanel panel;
        panel.panel().setLimits({3199, 2999, 3199, 2999}); // the longest limit notes
        QVERIFY(panel.show());
        panel.find<QSpinBox>("RepeatCount")->setValue(UntilStop);
        QCOMPARE(panel.find<QSpinBox>("RepeatCount")->text(), QStringLiteral("until Stop"));
        for (QWidget *widget : panel.form->findChildren<QWidget *>()) {
            if (widget->isHidden() && qobject_cast<ElidedLabel *>(widget))
                continue; // a status field hidden from the start has no place yet
            const QSize need = captionNeed(widget);
            QVERIFY2(need.width() <= widget->width() && need.height() <= widget->height(),
                     qPrintable(widget->objectName()));
        }
        QCOMPARE(panel.find<QWidget>("Control")->geometry(),
                 panel.find<QWidget>("Sequence")->geometry());
        // Tab goes through the table line by line, then Cancel, Start and Repeat; the Finish
        // row's boxes come last.
        for (const auto &[from, to] : {std::pair{"Time1", "CH1V2"},
                                       {"CH2I2", "Time2"},
                                       {"CH2I10", "CancelCommand"},
                                       {"Start", "RepeatCount"},
                                       {"RepeatCount", "CH1V1"}}) {
            QWidget *next = panel.find<QWidget>(from)->nextInFocusChain();
            while (panel.find<QWidget>(from)->isAncestorOf(next)) // a spin box's own editor
                next = next->nextInFocusChain();
            QCOMPARE(next->objectName(), to);
        }
        // Every control a user works has a place of its own in its panel: none covers another.
        for (const char *frame : {"Control", "Sequence", "ChannelFrame"}) {
            QList<QWidget *> controls = panel.find<QWidget>(frame)->findChildren<QWidget *>(
                    Qt::FindDirectChildrenOnly);
            controls.removeIf(
                    [](const QWidget *control) { return control->focusPolicy() == Qt::NoFocus; });
            for (qsizetype i = 0; i < controls.size(); ++i) {
                for (qsizetype j = i + 1; j < controls.size(); ++j) {
                    QVERIFY2(!controls[i]->geometry().intersects(controls[j]->geometry()),
                             qPrintable(controls[i]->objectName() + " covers "
                                        + controls[j]->objectName()));
                }
            }
        }
    }

    // The row tag names the control.
    void screenReaderNames_data()
    {
        QTest::addColumn<QString>("spoken");
        const std::pair<const char *, const char *> rows[]{
                {"Time9", "Step 9 time, seconds, before finish"},
                {"CH2I1", "Finish CH2 current, amperes"},
                {"CH1VLimit", "CH1 voltage limit"},
                {"RepeatCount", "Repeat count, cycles"},
                {"RemoteStatus", "Remote control"},
                {"NoteStatus", "Note"},
                {"StopCommand", "Stop the sequence"},
                {"ChartScale", "Scale of the time axis"}}; // in the chart's window
        for (const auto &[name, spoken] : rows)
            QTest::newRow(name) << QString::fromUtf8(spoken);
    }

    void screenReaderNames()
    {
        QFETCH(QString, spoken);
        RealPanel panel;
        QVERIFY(panel.show());
        panel.trigger("mSequenceChart");
        auto *control = panel.find<QWidget>(QLatin1String(QTest::currentDataTag()));
        QCOMPARE(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name), spoken);
    }

    void typedIsNotSentAndNotesSayHowEntriesAreRead()
    {
        RealPanel panel;
        QVERIFY(panel.show());
        QTest::keyClick(panel.form.get(), Qt::Key_1);
        QCOMPARE(panel.find<QLabel>("CH1V")->text(), QStringLiteral("00.01"));
        const auto *display = panel.find<QLabel>("CH1V");
        QCOMPARE(display->palette().color(QPalette::WindowText), colorOf(Tint::TypedText));
        QCOMPARE(fullText(panel, "NoteStatus"),
                 "Enter sends CH1 voltage 0.01 V \u00b7 Esc abandons it");
        QTest::keyClick(panel.form.get(), Qt::Key_Escape); // no run: Esc abandons the typing
        QCOMPARE(panel.find<QLabel>("CH1V")->text() + fullText(panel, "NoteStatus"), "00.00");
        QCOMPARE(display->palette().color(QPalette::WindowText), colorOf(Tint::DisplayText));
        panel.trigger("Auto");
        panel.fill("CH1V2", "12,5");
        QCOMPARE(panel.find<QLineEdit>("CH1V2")->text(), QStringLiteral("12,5")); // as typed
        QCOMPARE(fullText(panel, "NoteStatus"), "12,5 is read as 12.00 V");
        panel.fill("CH1V3", "32.5"); // typed on past "32", then above the limit: reset
        QCOMPARE(panel.find<QLineEdit>("CH1V3")->text() + fullText(panel, "NoteStatus"), " 0");
    }

    // A file named like markup, long enough to be elided; then the line hangs up in a run.
    void runShowsWhereItStandsAndHowItEnded()
    {
        QTemporaryDir dir;
        const QString name = "<h1>Loaded OK<br>" + QString(200, 'x') + ".csv";
        ManualClock clock;
        FarEnd supply;
        RealPanel panel(clock);
        QVERIFY(panel.show(supply.device()));
        const QSize size = panel.form->size();
        QVERIFY(panel.form->openSequence(writeTable(dir.filePath(name), "1,1,0,0,0", 5)));
        QCOMPARE(panel.find<QSpinBox>("RepeatCount")->value(), 5);
        // The focus follows into the panel shown; after Start, Space or Enter stops.
        QVERIFY(panel.find<QWidget>("Sequence")->isAncestorOf(panel.form->focusWidget()));
        panel.click("Start");
        QCOMPARE(panel.form->focusWidget(), panel.find<QWidget>("StopCommand"));
        QVERIFY(!panel.find<QWidget>("RepeatCount")->isEnabled());
        clock.advanceMs(2000);
        panel.panel().tick();
        QVERIFY(fullText(panel, "RunStatus").startsWith("Cycle 2 of 5 \u00b7 Step 1 of 1 \u00b7 "));
        QVERIFY(fullText(panel, "RunStatus").endsWith("off: the run only sets values"));
        // Esc stops the run from any window of the program; the chart stays open.
        panel.trigger("mSequenceChart");
        QTest::keyClick(panel.find<QWidget>("SequenceChart"), Qt::Key_Escape);
        QVERIFY(!panel.panel().running() && panel.find<QWidget>("SequenceChart")->isVisible());
        const QString ran = "Run of " + name;
        QVERIFY(fullText(panel, "RunStatus").startsWith(ran + " stopped in cycle 2 at "));
        QCOMPARE(panel.form->size(), size);
        panel.click("Start");
        supply.hangUp();
        QTRY_COMPARE(panel.boxTexts().size(), 1); // the run's end, with no click to answer
        const QString prompt = QString::fromStdString(panel.boxes.shown[0].prompt);
        QVERIFY(prompt.startsWith(ran + " ended: the line failed"));
        const std::unique_ptr<QMessageBox> box = makeMessageBox(panel.boxes.shown[0], nullptr);
        for (const QLabel *label : box->findChildren<QLabel *>())
            QCOMPARE(label->textFormat(), Qt::PlainText);
        for (const char *fieldName : {"FileStatus", "PortStatus", "RunStatus"}) {
            const auto *field = panel.find<ElidedLabel>(fieldName);
            const QString whole = field->fullText();
            QVERIFY(whole.contains(name) || whole.contains(" \u00b7 closed: "));
            QCOMPARE(field->textFormat(), Qt::PlainText);
            QCOMPARE(field->accessibleDescription(), whole);
            QCOMPARE(QTextDocumentFragment::fromHtml(field->toolTip()).toPlainText(), whole);
            QVERIFY(field->fontMetrics().horizontalAdvance(field->text()) <= field->width());
        }
        QVERIFY(panel.find<QLabel>("FileStatus")->text().endsWith(QChar(0x2026)));
        const auto *port = panel.find<QWidget>("PortStatus");
        QCOMPARE(port->palette().color(QPalette::WindowText), colorOf(Tint::Error));
        QVERIFY(port->geometry().right() < panel.find<QWidget>("FileStatus")->geometry().left());
        panel.click("CancelCommand");
        QVERIFY(panel.find<QWidget>("Control")->isAncestorOf(panel.form->focusWidget()));
    }

    void frameLogKeepsTheNewestAndSaves()
    {
        QTemporaryDir dir;
        RealPanel panel;
        QVERIFY(panel.show());
        panel.trigger("mFrameLog");
        auto *log = panel.find<FrameLogWindow>("FrameLog");
        auto *model = panel.form->findChild<FrameLogModel *>();
        for (int i = 0; i < 10'005; ++i)
            panel.find<QPushButton>("EnterCommand")->click();
        QCOMPARE(model->rowCount(), 10'000);
        const QScrollBar *scroll = log->findChild<QTableView *>()->verticalScrollBar();
        QCOMPARE(scroll->value(), scroll->maximum()); // the newest entry still in sight
        QCOMPARE(log->findChild<QLabel *>("DroppedCount")->text(), "5 older entries were dropped");
        QVERIFY(log->saveTo(dir.filePath("frames.csv")));
        QFile saved(dir.filePath("frames.csv"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readLine(), QByteArray("time,frame,meaning,origin,status\n"));
        QCOMPARE(model->headerData(3, Qt::Horizontal, Qt::DisplayRole), QStringLiteral("From"));
        QVERIFY(saved.readLine().contains(",880000,CH1 0.00 V,panel,not sent: "));
        log->resize(700, 300);
        panel.trigger("Exit"); // which closes it, so that it opens again where it stood
        QCOMPARE(FrameLogWindow(model, panel.session, panel.boxes).size(), QSize(700, 300));
    }

    // mine.csv loaded (or no file), then changed; the other file is other.csv.
    void tableFileQuestions_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("outcome"); // box kinds, Time1, the program ended, file saved
        const int cancel = int(Answer::Cancel);
        QTest::newRow("dropped file, Discard") << "drop" << int(Answer::Discard) << "4 2";
        QTest::newRow("recent file, Cancel") << "recent" << cancel << "4 9";
        QTest::newRow("Exit, Save") << "Exit" << int(Answer::Save) << "4 9 ended saved";
        QTest::newRow("window closed, Cancel") << "close" << cancel << "4 9";
        QTest::newRow("never tied to a file: no question")
                << "close, no file" << cancel << " 9 ended";
        QTest::newRow("Save, changed on disk: No") << "save" << cancel << "0 9";
    }

    void tableFileQuestions()
    {
        QFETCH(QString, action);
        QFETCH(int, answer);
        QFETCH(QString, outcome);
        QTemporaryDir dir;
        const QByteArray mine = writeTable(dir.filePath("mine.csv"), "1,1,0,0,0");
        const QByteArray other = writeTable(dir.filePath("other.csv"), "2,2,0,0,0");
        RealPanel panel;
        QVERIFY(panel.show() && (action.endsWith("no file") || panel.form->openSequence(mine)));
        panel.trigger("Auto");
        panel.fill("Time1", "9");
        panel.boxes.answers = {Answer(answer)};
        QSignalSpy ended(panel.form.get(), &UIForm::endRequested);
        panel.session.settings().addRecentFile(other);
        emit panel.find<QMenu>("mRecentFiles")->aboutToShow();
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QFile::decodeName(other))});
        QDragEnterEvent enter({}, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop({}, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QVERIFY(QApplication::sendEvent(panel.form.get(), &enter) && enter.isAccepted());
        if (action == "drop")
            QApplication::sendEvent(panel.form.get(), &drop);
        else if (action == "recent")
            panel.find<QMenu>("mRecentFiles")->actions().front()->trigger();
        else if (action == "save" && !writeTable(QFile::decodeName(mine), "5,5,0,0,0").isEmpty())
            panel.trigger("mSaveSequence"); // the file was changed by another program
        else
            action == "Exit" ? panel.trigger("Exit") : void(panel.form->close());
        const std::vector<Message> &boxes = panel.boxes.shown; // one at most
        const QString kinds = boxes.empty() ? QString() : QString::number(int(boxes[0].kind));
        QVERIFY(action.endsWith("no file") // where the next dialog for a sequence starts
                || panel.session.settings().folder(FileKind::Sequence) == dir.path());
        QFile saved(QFile::decodeName(mine));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(kinds + ' ' + panel.find<QLineEdit>("Time1")->text()
                         + (ended.empty() ? "" : " ended")
                         + (saved.readAll().contains("\n1,9,") ? " saved" : ""),
                 outcome);
    }

    // "steps" typed where steps.<suffix> exists; the dialog starts where the last one ended.
    void saveDialogsAskBeforeReplacing_data()
    {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QString>("existing");
        QTest::newRow("Save Sequence As") << int(FileDialog::SaveSequence) << "steps.csv";
        QTest::newRow("Save Chart Image") << int(FileDialog::SaveChartImage) << "steps.png";
    }

    void saveDialogsAskBeforeReplacing()
    {
        QFETCH(int, dialog);
        QFETCH(QString, existing);
        QTemporaryDir dir;
        const QString folder = dir.filePath("last");
        QVERIFY(QDir().mkdir(folder) && QFile(folder + '/' + existing).open(QIODevice::WriteOnly));
        Settings settings(dir.filePath("settings.conf"));
        settings.setFolder(FileKind::Sequence, folder);
        settings.setFolder(FileKind::ChartImage, folder);
        QString asked;
        whenModal([&asked, &folder](QWidget *modal) {
            QCOMPARE(qobject_cast<QFileDialog *>(modal)->directory().absolutePath(), folder);
            modal->findChild<QLineEdit *>("fileNameEdit")->setText("steps");
            whenModal([&asked](QWidget *question) {
                asked = qobject_cast<QMessageBox *>(question)->text();
                qobject_cast<QMessageBox *>(question)->button(QMessageBox::Yes)->click();
            });
            QTest::keyClick(modal, Qt::Key_Return);
        });
        QCOMPARE(askForFile(nullptr, FileDialog(dialog), settings), folder + '/' + existing);
        QVERIFY2(asked.startsWith(existing + " already exists"), qPrintable(asked));
    }

    void settingsLimitWhatIsSent()
    {
        FarEnd supply;
        RealPanel panel;
        QVERIFY(panel.show(supply.device()));
        panel.trigger("Auto");
        panel.fill("CH1V2", "6");
        whenModal([](QWidget *dialog) { // SettingsDialog
            auto *limit = dialog->findChild<QDoubleSpinBox *>("CH1VoltageLimit");
            QCOMPARE(limit->value(), 32.0); // the supply's own, until the user lowers it
            QCOMPARE(dialog->findChild<QDoubleSpinBox *>("CH2CurrentLimit")->value(), 3.0);
            limit->setValue(5);
            dialog->findChild<QAbstractButton *>("OutputOffAtEnd")->setChecked(true);
            dialog->findChild<QLineEdit *>("RemoteAddress")->setText("127.0.0.1:6000");
            qobject_cast<QDialog *>(dialog)->accept();
        });
        panel.trigger("mSettings");
        QCOMPARE(panel.find<QLabel>("CH1VLimit")->text() + '|'
                         + panel.find<QLabel>("CH1ILimit")->text(),
                 "\u2264 5.00 V|");
        const Settings &settings = panel.session.settings();
        QVERIFY(valueOf(settings.limits(), SetPoint::Ch1Voltage) == 500
                && settings.endAction() == EndAction::OutputOff
                && settings.remoteAddress() == "127.0.0.1:6000");
        panel.click("Start"); // the row was typed before the limit was lowered
        QCOMPARE(panel.boxTexts(), QStringList{"Start|Step 1: CH1 voltage 6.00 V is above the "
                                               "limit of 5.00 V. The run was not started.|2"});
        QVERIFY(panel.framesTried().isEmpty() && supply.readAll(50).empty());
    }

    void remoteControlMenu()
    {
        RealPanel panel;
        QVERIFY(panel.show());
        RemoteControl remote(panel.session);
        panel.form->setRemoteControl(&remote);
        Settings &settings = panel.session.settings();
        settings.setRemoteAddress(QStringLiteral("127.0.0.1:0"));
        const auto state = [&] {
            return QStringList{remote.listening() ? "listening" : "closed",
                               settings.remoteControl() ? "remembered on" : "remembered off",
                               panel.find<QAction>("mRemoteControl")->isChecked() ? "ticked" : ""};
        };
        panel.trigger("mRemoteControl");
        QCOMPARE(state(), (QStringList{"listening", "remembered on", "ticked"}));
        QVERIFY(fullText(panel, "RemoteStatus").startsWith(QLatin1String("SCPI 127.0.0.1:")));
        panel.trigger("mRemoteControl");
        QCOMPARE(state(), (QStringList{"closed", "remembered off", ""}));
        // A port another program holds: said in a box, and the menu item is not left ticked.
        QTcpServer other;
        QVERIFY(other.listen(QHostAddress::LocalHost));
        settings.setRemoteAddress(QStringLiteral("127.0.0.1:%1").arg(other.serverPort()));
        panel.trigger("mRemoteControl");
        QCOMPARE(state(), (QStringList{"closed", "remembered off", ""}));
        QVERIFY(panel.boxTexts().constLast().startsWith(QLatin1String("Remote Control|")));
    }

    void portMenu()
    {
        FarEnd first, second, third;
        const ScopedPorts ports(QByteArray::fromStdString(first.device() + ':' + second.device()));
        RealPanel panel;
        QVERIFY(panel.show("COM1"));
        const auto enabled = [&panel](const char *action) {
            return panel.find<QAction>(action)->isEnabled();
        };
        QVERIFY(!enabled("mReconnect") && enabled("mResend"));
        // File > Port: each port with its device and state; the one chosen is used at once.
        whenModal([&first](QWidget *dialog) {
            auto *list = dialog->findChild<QTreeWidget *>("PortList");
            const QTreeWidgetItem *held = list->topLevelItem(0);
            QCOMPARE(QStringList({held->text(0), held->text(2), held->text(3)}).join('|'),
                     "COM 1|held|this program holds it");
            QVERIFY(held->text(1).contains(QString::fromStdString(first.device())));
            list->topLevelItem(1)->setSelected(true);
            qobject_cast<QDialog *>(dialog)->accept();
        });
        panel.trigger("mPort");
        QVERIFY(panel.session.portStatus().number == 2 && panel.boxes.shown.empty());
        QCOMPARE(panel.find<QLabel>("CH1V")->text(), QStringLiteral("--.--")); // not known now
        // The line hangs up; Reconnect asks about the device that is COM 2 now.
        second.hangUp();
        QTRY_VERIFY(enabled("mReconnect") && !enabled("mResend"));
        qputenv("MQ7410_PORTS", QByteArray::fromStdString(first.device() + ':' + third.device()));
        panel.boxes.answers = {Answer::Yes, Answer::Yes};
        panel.trigger("mReconnect");
        QCOMPARE(panel.boxTexts(), QStringList{"Power Supply|Find Com 2, Using it?|0"});
        QVERIFY(panel.boxes.shown.back().details.find(third.device()) != std::string::npos);
        // Send Set-points Again asks once, then sends the set-points, the link and the output.
        panel.trigger("mResend");
        QCOMPARE(panel.boxTexts().size(), 2);
        QCOMPARE(third.readAll(), "8D0000000000000000"
                                  "8E00000000"
                                  "8C0F0F");
        QCOMPARE(panel.find<QLabel>("CH1V")->text(), QStringLiteral("00.00"));
    }

    void commandLine_data()
    {
        QTest::addColumn<QByteArray>("arguments"); // after the program's name
        QTest::addColumn<QByteArray>("parsed");    // help version scpi file|error
        const char *const rows[][3]{
                {"a name not UTF-8, as its bytes", "caf\xe9.csv", "0 0  caf\xe9.csv|"},
                {"help and version", "--version -h", "1 1  |"},
                {"--scpi PORT", "--scpi 5025", "0 0 5025 |"},
                {"--scpi=ADDRESS:PORT, a file", "--scpi=0.0.0.0:5025 b", "0 0 0.0.0.0:5025 b|"},
                {"--scpi without a port", "--scpi", "0 0  |Missing value after '--scpi'."},
                {"two files", "a b", "0 0  |more than one sequence file: b"}};
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QByteArray(row[1]) << QByteArray(row[2]);
    }

    void commandLine()
    {
        QFETCH(QByteArray, arguments);
        QFETCH(QByteArray, parsed);
        const Result<CommandLine> line = parseCommandLine(("mq7410 " + arguments).split(' '));
        if (!line) {
            QCOMPARE("0 0  |" + QByteArray::fromStdString(line.failure().text), parsed);
            return;
        }
        QCOMPARE(QByteArray::number(int(line->help)) + ' ' + QByteArray::number(int(line->version))
                         + ' ' + line->scpi.toUtf8() + ' ' + line->sequenceFile + '|',
                 parsed);
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
