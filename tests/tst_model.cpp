// The reference model itself: a randomized comparison is only as good as its oracle. Its frames
// on the documented examples, so that a difference found by tst_randompanel can be told from a
// fault of the model (the program's own rules are pinned by tst_entrycheck, tst_runner and the
// other unit tests), and the frame checker, which nothing else shows to reject bad frames.

#include "model/frameinvariants.h"
#include "model/panelmodel.h"

#include <QTest>

using namespace mq7410::model;

using Frames = std::vector<std::string>;

namespace {

void click(PanelModel &panel, const std::string &name)
{
    for (int c = 0; c < ControlCount; ++c) {
        if (name == controlName(static_cast<Control>(c)))
            return panel.click(static_cast<Control>(c));
    }
    qFatal("no control %s", name.c_str());
}

// A script of steps: "C<name>" clicks a control, "T<box>=<text>" replaces a box's text,
// "A" is the menu Auto, "t" a tick, and a run of digits clicks their buttons.
void play(PanelModel &panel, const QStringList &script)
{
    const char *digits[]
            = {"Zero", "One", "Two", "Three", "Four", "Five", "Six", "Seven", "Eight", "Nine"};
    for (const QString &step : script) {
        const std::string rest = step.mid(1).toStdString();
        if (step.at(0).isDigit()) {
            for (const QChar digit : step)
                click(panel, std::string(digits[digit.digitValue()]) + "Command");
        } else if (step.startsWith('C')) {
            click(panel, rest);
        } else if (step.startsWith('T')) {
            const std::size_t equals = rest.find('=');
            for (int b = 0; b < BoxCount; ++b) {
                if (rest.substr(0, equals) == boxName(b))
                    panel.replaceText(b, rest.substr(equals + 1));
            }
        } else if (step == "A") {
            panel.menuAuto();
        } else if (step == "t") {
            panel.tick();
        } else {
            qFatal("unknown step %s", qPrintable(step));
        }
    }
}

} // namespace

class TestModel : public QObject
{
    Q_OBJECT
private slots:
    void frames_data();
    void frames();
    void frameInvariants_data();
    void frameInvariants();
};

void TestModel::frames_data()
{
    QTest::addColumn<QString>("script"); // steps separated by blanks
    QTest::addColumn<Frames>("expected");

    QTest::newRow("worked example by clicks")
            << "CCH1VCommand 1234 CEnterCommand CCH1ACommand 1500 CEnterCommand CCH2VCommand 500 "
               "CEnterCommand CCH2ACommand 250 CEnterCommand COutputCommand CSerialCommand "
               "CSerialCommand"
            << Frames{"8804D2", "8705DC", "8A01F4", "8900FA", "8CF0F0", "8F05DC04D2", "8E00FA01F4"};
    QTest::newRow("steps of 3 and 2 s, then 0: frames on ticks 0, 4 and 7")
            << "A TTime1=3 TTime2=2 TTime3=0 TCH1V2=1 TCH1V3=2 TCH1V4=3 TCH1I4=0.01 CStart "
               "t t t t t t t t"
            << Frames{"8D0064000000000000", "8D00C8000000000000", "8D012C000A00000000"};
    QTest::newRow("1e999 seconds count as 0: one tick")
            << "A TTime1=1e999 TTime2=1 CStart t t t t"
            << Frames{"8D0000000000000000", "8D0000000000000000", "8D0000000000000000"};
    QTest::newRow("Start is out of reach during a run")
            << "A TTime1=5 CStart CStart t" << Frames{"8D0000000000000000"};
}

void TestModel::frames()
{
    QFETCH(QString, script);
    QFETCH(Frames, expected);
    PanelModel panel;
    play(panel, script.split(' '));
    QCOMPARE(panel.framesSent(), expected);
}

void TestModel::frameInvariants_data()
{
    QTest::addColumn<QString>("frame");
    QTest::addColumn<bool>("valid");
    QTest::newRow("set-point") << "8804D2" << true;
    QTest::newRow("all four at the limits") << "8D0C800BB80C800BB8" << true;
    QTest::newRow("link on") << "8F05DC04D2" << true;
    QTest::newRow("output off") << "8C0F0F" << true;
    QTest::newRow("8B") << "8B0000" << false;
    QTest::newRow("lower case") << "8804d2" << false;
    QTest::newRow("voltage above 32 V") << "880C81" << false;
    QTest::newRow("current above 3 A") << "870BB9" << false;
    QTest::newRow("8E current field first") << "8E0C8000FA" << false;
    QTest::newRow("8C with a set-point") << "8C04D2" << false;
    QTest::newRow("seven-character field") << "88000FE0C" << false;
    QTest::newRow("short 8D") << "8D0000" << false;
}

void TestModel::frameInvariants()
{
    QFETCH(QString, frame);
    QFETCH(bool, valid);
    QCOMPARE(frameProblem(frame.toStdString()).empty(), valid);
}

QTEST_MAIN(TestModel)
#include "tst_model.moc"
