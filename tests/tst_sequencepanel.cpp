// The auto panel in the window: the table's checks as the user types, and runs played tick by
// tick with the real controls.

#include "support/formfixture.h"

#include "app/appearance.h"
#include "common/colors.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace mq7410;
using mq7410::test::FormFixture;

using Frames = std::vector<std::string>;

class TestSequencePanel : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void typing_data();
    void typing();
    void finishRowFillsRowZero();
    void runPlayedTickByTick();
    void menuStaysUsableDuringRun();
    void failedWriteEndsTheRun();
    void exitDuringRunSendsNothingMore();
    void realTimerEndsARun();

private:
    QLineEdit *box(const QString &name) const { return m_fx->find<QLineEdit>(name); }
    bool running() const { return m_fx->form->state().SeqRunning != 0; }
    bool red(int step) const
    {
        return backColor(m_fx->widget(QStringLiteral("Step%1").arg(step))) == Colors::Red;
    }
    std::unique_ptr<FormFixture> m_fx;
};

void TestSequencePanel::init()
{
    m_fx = std::make_unique<FormFixture>();
    QVERIFY(m_fx->load());
    m_fx->form->show();
    m_fx->form->Auto_Click();
    QVERIFY(QTest::qWaitForWindowExposed(m_fx->form.get()));
}

void TestSequencePanel::cleanup()
{
    m_fx.reset();
}

void TestSequencePanel::typing_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("cell");

    QTest::newRow("3 then 5 passes 32 V") << "CH1V2"
                                          << "35"
                                          << " 0" << 0;
    QTest::newRow("32 V is accepted") << "CH2V5"
                                      << "32"
                                      << "32" << 3200;
    QTest::newRow("32.01 V is not") << "CH2V5"
                                    << "32.01"
                                    << " 0" << 0;
    QTest::newRow("unit letters stay") << "CH1I3"
                                       << "1.5A"
                                       << "1.5A" << 1500;
    QTest::newRow("rounded from single precision") << "CH1V4"
                                                   << "12.345"
                                                   << "12.345" << 1235;
    QTest::newRow("negative is refused") << "CH2I10"
                                         << "-2"
                                         << " 0" << 0;
    QTest::newRow("letters only") << "CH2I2"
                                  << "abc"
                                  << "abc" << 0;
}

void TestSequencePanel::typing()
{
    QFETCH(QString, boxName);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, cell);

    QLineEdit *edit = box(boxName);
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), shown);
    const int boxNumber = boxName.mid(4).toInt();
    const int column = QStringList{"CH1V", "CH1I", "CH2V", "CH2I"}.indexOf(boxName.left(4));
    QCOMPARE(m_fx->form->state().StepTable[boxNumber - 1][column], cell);
}

void TestSequencePanel::finishRowFillsRowZero()
{
    box("CH1V1")->setText("1e999");
    box("CH1I1")->setText("2");
    box("CH2V1")->setText("5");
    box("CH2I1")->setText("0.25");
    QCOMPARE(box("CH1V1")->text(), QStringLiteral(" 0"));
    QCOMPARE(m_fx->form->state().StepTable[0], (StepRow{0, 2000, 500, 250}));
}

void TestSequencePanel::runPlayedTickByTick()
{
    box("Time1")->setText("3");
    box("Time2")->setText("2");
    box("Time3")->setText("0");
    box("CH1V2")->setText("1");    // step 1: 1 V
    box("CH1V3")->setText("2");    // step 2: 2 V
    box("CH1V4")->setText("3");    // step 3: 3 V
    box("CH1I4")->setText("0.01"); // and 10 mA

    m_fx->click("Start");
    QVERIFY(running());
    QVERIFY(m_fx->find<QTimer>("Timer1")->isActive());
    QVERIFY(!m_fx->widget("Sequence")->isEnabled());
    QVERIFY(!m_fx->widget("Start")->isEnabled());
    QVERIFY(red(1));
    QCOMPARE(m_fx->port.frames, (Frames{"8D0064000000000000"}));

    const QStringList time1{" 3", " 2", " 1", " 0"};
    for (int tick = 1; tick <= 4; ++tick) {
        m_fx->form->Timer1_Tick();
        QCOMPARE(box("Time1")->text(), time1[tick - 1]);
    }
    QVERIFY(!red(1));
    QVERIFY(red(2));
    QCOMPARE(m_fx->port.frames.size(), 2u);
    m_fx->form->Timer1_Tick();
    m_fx->form->Timer1_Tick();
    QCOMPARE(box("Time2")->text(), QStringLiteral(" 1"));
    m_fx->form->Timer1_Tick(); // tick 7: step 3 reads 0 and ends the run
    QCOMPARE(m_fx->port.frames,
             (Frames{"8D0064000000000000", "8D00C8000000000000", "8D012C000A00000000"}));
    QVERIFY(!running());
    QVERIFY(!m_fx->find<QTimer>("Timer1")->isActive());
    QVERIFY(m_fx->widget("Sequence")->isEnabled());
    QVERIFY(m_fx->widget("Start")->isEnabled());
    for (int step = 1; step <= 9; ++step)
        QVERIFY(!red(step));
    QCOMPARE(box("Time3")->text(), QStringLiteral("0"));

    // The runner's values are being entered now; what was last sent with Enter is unchanged.
    QCOMPARE(m_fx->form->state().CH1VoltSet, 300);
    QCOMPARE(m_fx->form->state().CH1VoltSent, 0);
    m_fx->form->Timer1_Tick(); // a tick after the end does nothing
    QCOMPARE(m_fx->port.frames.size(), 3u);
}

void TestSequencePanel::menuStaysUsableDuringRun()
{
    box("Time1")->setText("5");
    m_fx->click("Start");
    m_fx->action("Auto")->trigger();
    m_fx->action("About")->trigger();
    QCOMPARE(m_fx->boxes.shown.size(), 1u);
    QVERIFY(running());
    QVERIFY(m_fx->widget("Sequence")->isVisible());
}

void TestSequencePanel::failedWriteEndsTheRun()
{
    box("Time1")->setText("1");
    box("Time2")->setText("1");
    m_fx->click("Start");
    m_fx->port.failWritesWith = "Input/output error";
    m_fx->form->Timer1_Tick();
    m_fx->form->Timer1_Tick(); // step 2's frame fails
    QCOMPARE(m_fx->boxes.shown.size(), 1u);
    QCOMPARE(m_fx->boxes.shown[0].title, QStringLiteral("! RS-232 ERROR !"));
    QVERIFY(!running());
    QVERIFY(!m_fx->find<QTimer>("Timer1")->isActive());
    QVERIFY(m_fx->widget("Start")->isEnabled());
    for (int step = 1; step <= 9; ++step)
        QVERIFY(!red(step));
    m_fx->port.failWritesWith.clear();
    for (int tick = 0; tick < 5; ++tick)
        m_fx->form->Timer1_Tick();
    QCOMPARE(m_fx->port.frames.size(), 1u); // only step 1's frame ever went out
}

void TestSequencePanel::exitDuringRunSendsNothingMore()
{
    m_fx->click("Start");
    QSignalSpy ended(m_fx->form.get(), &UIForm::endRequested);
    m_fx->action("Exit")->trigger();
    QCOMPARE(ended.count(), 1);
    QVERIFY(!m_fx->find<QTimer>("Timer1")->isActive());
    QVERIFY(!m_fx->port.isOpen());
    QCOMPARE(m_fx->port.frames.size(), 1u);
}

void TestSequencePanel::realTimerEndsARun()
{
    // Every box "0": step 1 lasts one tick, then step 2's row ends the run.
    m_fx->click("Start");
    QTRY_VERIFY_WITH_TIMEOUT(!running(), 10000);
    QCOMPARE(m_fx->port.frames.size(), 2u);
    QVERIFY(m_fx->widget("Start")->isEnabled());
}

QTEST_MAIN(TestSequencePanel)
#include "tst_sequencepanel.moc"
