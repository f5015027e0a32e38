// Start-up, About, and the two ways out: Exit and closing the window.

#include "support/formfixture.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace mq7410;
using mq7410::test::FormFixture;

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void loadShowsManualPanelAndStopsTimer();
    void aboutShowsInformationBox();
    void exitEndsProgram_data();
    void exitEndsProgram();
};

void TestStartup::loadShowsManualPanelAndStopsTimer()
{
    FormFixture fx;
    // Before the load both panels are as stored: visible.
    auto *timer = fx.find<QTimer>(QStringLiteral("Timer1"));
    timer->start(5);
    fx.boxes.questionAnswers = {BoxAnswer::Yes};
    QVERIFY(fx.form->Form_Load());
    QVERIFY(!timer->isActive());
    QCOMPARE(timer->interval(), 1000);
    QVERIFY(fx.widget(QStringLiteral("Control"))->isVisibleTo(fx.form.get()));
    QVERIFY(!fx.widget(QStringLiteral("Sequence"))->isVisibleTo(fx.form.get()));
    QVERIFY(!fx.form->isVisible()); // showing the window is left to the caller
}

void TestStartup::aboutShowsInformationBox()
{
    FormFixture fx;
    QVERIFY(fx.load());
    fx.action(QStringLiteral("About"))->trigger();
    QCOMPARE(fx.boxes.shown.size(), 1u);
    const BoxRequest &box = fx.boxes.shown[0];
    QCOMPARE(box.title, QStringLiteral("MQ-7410P Information"));
    QCOMPARE(box.kind, BoxKind::OkInformation);
    QVERIFY(box.prompt.contains(QStringLiteral("MQ-7410")));
    QVERIFY(box.prompt.contains(QStringLiteral("version")));
}

void TestStartup::exitEndsProgram_data()
{
    QTest::addColumn<bool>("byClosingWindow");
    QTest::newRow("menu Exit") << false;
    QTest::newRow("window closed") << true;
}

void TestStartup::exitEndsProgram()
{
    QFETCH(bool, byClosingWindow);
    FormFixture fx;
    QVERIFY(fx.load());
    fx.form->show();
    QSignalSpy ended(fx.form.get(), &UIForm::endRequested);
    auto *timer = fx.find<QTimer>(QStringLiteral("Timer1"));
    timer->start();

    if (byClosingWindow)
        QVERIFY(fx.form->close());
    else
        fx.action(QStringLiteral("Exit"))->trigger();
    QCOMPARE(ended.count(), 1);
    QVERIFY(!timer->isActive());
    QVERIFY(fx.boxes.shown.empty()); // no question on the way out

    // A second way out after the first asks nothing more.
    fx.form->Exit_Click();
    QCOMPARE(ended.count(), 1);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
