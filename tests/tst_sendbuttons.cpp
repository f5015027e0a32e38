// The output switch and Enter, and what the user sees when a frame cannot be sent.

#include "support/formfixture.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace mq7410;
using mq7410::test::FormFixture;

using Frames = std::vector<std::string>;

class TestSendButtons : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void outputSwitchToggles();
    void enterSendsTheEditedSetPoint();
    void failedWriteIsReportedOncePerAction();
    void exitAfterEnterClosesThePortAfterTheFrame();

private:
    std::unique_ptr<FormFixture> m_fx;
};

void TestSendButtons::init()
{
    m_fx = std::make_unique<FormFixture>();
    QVERIFY(m_fx->load());
    m_fx->form->show();
}

void TestSendButtons::cleanup()
{
    m_fx.reset();
}

void TestSendButtons::outputSwitchToggles()
{
    auto *button = m_fx->find<QPushButton>(QStringLiteral("OutputCommand"));
    m_fx->click(QStringLiteral("OutputCommand"));
    QCOMPARE(button->text(), QStringLiteral("Output /On"));
    QCOMPARE(m_fx->form->state().OutputOn, On);
    m_fx->click(QStringLiteral("OutputCommand"));
    QCOMPARE(button->text(), QStringLiteral("Output /Off"));
    QCOMPARE(m_fx->form->state().OutputOn, Off);
    QCOMPARE(m_fx->port.frames, (Frames{"8CF0F0", "8C0F0F"}));
}

void TestSendButtons::enterSendsTheEditedSetPoint()
{
    m_fx->click(QStringLiteral("EnterCommand"));
    m_fx->click(QStringLiteral("EnterCommand"));
    QCOMPARE(m_fx->port.frames, (Frames{"880000", "880000"}));
    QCOMPARE(m_fx->form->state().EditTarget, 2);
    QVERIFY(m_fx->boxes.shown.empty());
}

void TestSendButtons::failedWriteIsReportedOncePerAction()
{
    m_fx->port.failWritesWith = "Input/output error";
    m_fx->click(QStringLiteral("EnterCommand"));
    QCOMPARE(m_fx->boxes.shown.size(), 1u);
    const BoxRequest &box = m_fx->boxes.shown[0];
    QCOMPARE(box.title, QStringLiteral("! RS-232 ERROR !"));
    QCOMPARE(box.kind, BoxKind::OkExclamation);
    QVERIFY(box.prompt.contains(QStringLiteral("880000")));
    QVERIFY(box.prompt.contains(QStringLiteral("Input/output error")));

    // The program goes on; the next action tries again and reports again, once.
    m_fx->click(QStringLiteral("OutputCommand"));
    QCOMPARE(m_fx->boxes.shown.size(), 2u);
    QVERIFY(m_fx->boxes.shown[1].prompt.contains(QStringLiteral("8CF0F0")));
    QCOMPARE(m_fx->find<QPushButton>(QStringLiteral("OutputCommand"))->text(),
             QStringLiteral("Output /On"));

    // Once the line is back, frames go out again.
    m_fx->port.failWritesWith.clear();
    m_fx->click(QStringLiteral("EnterCommand"));
    QCOMPARE(m_fx->port.frames, (Frames{"880000"}));
    QCOMPARE(m_fx->boxes.shown.size(), 2u);
}

void TestSendButtons::exitAfterEnterClosesThePortAfterTheFrame()
{
    QSignalSpy ended(m_fx->form.get(), &UIForm::endRequested);
    m_fx->click(QStringLiteral("EnterCommand"));
    m_fx->action(QStringLiteral("Exit"))->trigger();
    QCOMPARE(ended.count(), 1);
    QCOMPARE(m_fx->port.frames, (Frames{"880000"}));
    QVERIFY(!m_fx->port.isOpen());
    QCOMPARE(m_fx->port.log.back(), std::string("close 1"));
}

QTEST_MAIN(TestSendButtons)
#include "tst_sendbuttons.moc"
