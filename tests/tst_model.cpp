// The reference model itself, on the documented examples: a randomized comparison is only as
// good as its oracle.

#include "model/frameinvariants.h"
#include "model/panelmodel.h"

#include <QTest>

using namespace mq7410::model;

using Frames = std::vector<std::string>;

namespace {

// A script of steps: "C<name>" clicks a control, "T<box>=<text>" replaces a box's text,
// "A" is the menu Auto, "t" a tick.
void play(PanelModel &panel, const QStringList &script)
{
    for (const QString &step : script) {
        const std::string rest = step.mid(1).toStdString();
        switch (step.at(0).toLatin1()) {
        case 'C':
            for (int c = 0; c < ControlCount; ++c) {
                if (rest == controlName(static_cast<Control>(c)))
                    panel.click(static_cast<Control>(c));
            }
            break;
        case 'T': {
            const std::size_t equals = rest.find('=');
            for (int b = 0; b < BoxCount; ++b) {
                if (rest.substr(0, equals) == boxName(b))
                    panel.replaceText(b, rest.substr(equals + 1));
            }
            break;
        }
        case 'A':
            panel.menuAuto();
            break;
        case 't':
            panel.tick();
            break;
        default:
            QFAIL("unknown step");
        }
    }
}

QStringList digits(const QString &typed)
{
    QStringList steps;
    const char *names[]
            = {"Zero", "One", "Two", "Three", "Four", "Five", "Six", "Seven", "Eight", "Nine"};
    for (const QChar c : typed)
        steps << QStringLiteral("C%1Command").arg(QLatin1String(names[c.digitValue()]));
    return steps;
}

} // namespace

class TestModel : public QObject
{
    Q_OBJECT
private slots:
    void frames_data();
    void frames();
    void display_data();
    void display();
    void tableCells_data();
    void tableCells();
    void frameInvariants_data();
    void frameInvariants();
};

void TestModel::frames_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<Frames>("expected");

    QTest::newRow("worked example by clicks")
            << (QStringList{"CCH1VCommand"} + digits("1234") + QStringList{"CEnterCommand"}
                + QStringList{"CCH1ACommand"} + digits("1500") + QStringList{"CEnterCommand"}
                + QStringList{"CCH2VCommand"} + digits("500") + QStringList{"CEnterCommand"}
                + QStringList{"CCH2ACommand"} + digits("250")
                + QStringList{"CEnterCommand", "COutputCommand", "CSerialCommand",
                              "CSerialCommand"})
            << Frames{"8804D2", "8705DC", "8A01F4", "8900FA", "8CF0F0", "8F05DC04D2", "8E00FA01F4"};
    QTest::newRow("link on and off with nothing sent for channel 2")
            << QStringList{"CSerialCommand", "CSerialCommand"}
            << Frames{"8F00000000", "8E00000000"};
    QTest::newRow("steps of 3 and 2 s, then 0: frames on ticks 0, 4 and 7")
            << QStringList{"A",        "TTime1=3", "TTime2=2",    "TTime3=0", "TCH1V2=1",
                           "TCH1V3=2", "TCH1V4=3", "TCH1I4=0.01", "CStart",   "t",
                           "t",        "t",        "t",           "t",        "t",
                           "t",        "t"}
            << Frames{"8D0064000000000000", "8D00C8000000000000", "8D012C000A00000000"};
    QTest::newRow("start-up table: step 2's row ends the run on the first tick")
            << QStringList{"A", "CStart", "t", "t"}
            << Frames{"8D0000000000000000", "8D0000000000000000"};
    QTest::newRow("1e999 seconds count as 0: one tick")
            << QStringList{"A", "TTime1=1e999", "TTime2=1", "CStart", "t", "t", "t", "t"}
            << Frames{"8D0000000000000000", "8D0000000000000000", "8D0000000000000000"};
    QTest::newRow("Start is out of reach during a run")
            << QStringList{"A", "TTime1=5", "CStart", "CStart", "t"}
            << Frames{"8D0000000000000000"};
}

void TestModel::frames()
{
    QFETCH(QStringList, script);
    QFETCH(Frames, expected);
    PanelModel panel;
    play(panel, script);
    QCOMPARE(panel.framesSent(), expected);
}

void TestModel::display_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("display"); // CH1V, CH1I, CH2V, CH2I
    QTest::addColumn<QString>("caption");

    QTest::newRow("300 then 0 A") << (QStringList{"CCH1ACommand"} + digits("3000")) << "CH1I"
                                  << "3.000";
    QTest::newRow("320 then 0 V") << digits("3200") << "CH1V"
                                  << "32.00";
    QTest::newRow("321 then 0 V") << digits("3210") << "CH1V"
                                  << "00.00";
    QTest::newRow("5 V after 12.34 V") << (digits("1234") + digits("500")) << "CH1V"
                                       << "05.00";
    QTest::newRow("link mirrors a CH1 current")
            << (QStringList{"CSerialCommand", "CCH1ACommand"} + digits("7")) << "CH2I"
            << "0.007";
    QTest::newRow("selector shows the last sent value")
            << (digits("12") + QStringList{"CCH1VCommand"}) << "CH1V"
            << "00.00";
}

void TestModel::display()
{
    QFETCH(QStringList, script);
    QFETCH(QString, display);
    QFETCH(QString, caption);
    PanelModel panel;
    play(panel, script);
    const int index = QStringList{"CH1V", "CH1I", "CH2V", "CH2I"}.indexOf(display);
    QCOMPARE(QString::fromStdString(panel.view().displays[index]), caption);
}

void TestModel::tableCells_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("cell");

    QTest::newRow("12.345 V") << "CH1V2"
                              << "12.345"
                              << "12.345" << 1235;
    QTest::newRow("2.675 V") << "CH1V2"
                             << "2.675"
                             << "2.675" << 267;
    QTest::newRow("0.125 V") << "CH2V3"
                             << "0.125"
                             << "0.125" << 12;
    QTest::newRow("0.375 V") << "CH2V3"
                             << "0.375"
                             << "0.375" << 38;
    QTest::newRow("0.0005 A") << "CH1I1"
                              << "0.0005"
                              << "0.0005" << 1;
    QTest::newRow("3.00000001 A") << "CH2I5"
                                  << "3.00000001"
                                  << "3.00000001" << 3000;
    QTest::newRow("3.0001 A") << "CH2I5"
                              << "3.0001"
                              << " 0" << 0;
    QTest::newRow("1.5A") << "CH1I10"
                          << "1.5A"
                          << "1.5A" << 1500;
    QTest::newRow("35 V") << "CH1V4"
                          << "35"
                          << " 0" << 0;
    QTest::newRow("negative") << "CH1V4"
                              << "-2"
                              << " 0" << 0;
    QTest::newRow("1e999") << "CH2V7"
                           << "1e999"
                           << " 0" << 0;
    QTest::newRow("letters") << "CH2V7"
                             << "abc"
                             << "abc" << 0;
}

void TestModel::tableCells()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, cell);
    PanelModel panel;
    play(panel, {"A", QStringLiteral("T%1=%2").arg(box, typed)});
    for (int b = TimeBoxes; b < BoxCount; ++b) {
        if (boxName(b) == box.toStdString()) {
            QCOMPARE(QString::fromStdString(panel.view().boxes[b]), shown);
            QCOMPARE(int(panel.variables().table[boxRow(b)][boxColumn(b)]), cell);
        }
    }
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
