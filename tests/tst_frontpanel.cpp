// The manual panel through the window: the series link's texts, the keys of the keyboard, and
// what assistive technology is told. Everything else the panel does is compared event by event
// with the reference model in tst_randompanel.

#include "support/formfixture.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace mq7410;
using mq7410::test::FormFixture;

using Frames = std::vector<std::string>;

namespace {

const char *const KeyNames[10]
        = {"ZeroCommand", "OneCommand", "TwoCommand",   "ThreeCommand", "FourCommand",
           "FiveCommand", "SixCommand", "SevenCommand", "EightCommand", "NineCommand"};

} // namespace

class TestFrontPanel : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void linkSavesAndRestoresChannelTwoTexts();
    void keyboard_data();
    void keyboard();
    void keyboardIgnoredOnAutoPanel();
    void heldKeyDoesNotRepeat();
    void displaysAnnounceValueAndUnit();
    void sendingButtonsAreRedrawnAfterTheClick();

private:
    void type(const QString &digits) const;
    QString text(const char *label) const;
    std::unique_ptr<FormFixture> m_fx;
};

void TestFrontPanel::init()
{
    m_fx = std::make_unique<FormFixture>();
    QVERIFY(m_fx->load());
    m_fx->form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_fx->form.get()));
}

void TestFrontPanel::cleanup()
{
    m_fx.reset();
}

void TestFrontPanel::type(const QString &digits) const
{
    for (QChar digit : digits)
        m_fx->click(QLatin1String(KeyNames[digit.digitValue()]));
}

QString TestFrontPanel::text(const char *label) const
{
    return m_fx->find<QLabel>(QLatin1String(label))->text();
}

void TestFrontPanel::linkSavesAndRestoresChannelTwoTexts()
{
    m_fx->click("CH2VCommand");
    type("500");
    m_fx->click("EnterCommand");
    m_fx->click("CH1VCommand");
    type("1234");

    auto *banner = m_fx->find<QLabel>(QStringLiteral("SerialLabel"));
    m_fx->click("SerialCommand");
    QCOMPARE(m_fx->find<QPushButton>(QStringLiteral("SerialCommand"))->text(),
             QStringLiteral("Serial /On"));
    QVERIFY(banner->isVisible());
    QCOMPARE(text("CH2V"), QStringLiteral("12.34"));
    QCOMPARE(text("CH2I"), QStringLiteral("0.000"));

    type("5"); // 12345 passes the limit: 5 on channel 1, mirrored onto channel 2
    QCOMPARE(text("CH1V"), QStringLiteral("00.05"));
    QCOMPARE(text("CH2V"), QStringLiteral("00.05"));
    QCOMPARE(m_fx->form->state().CH2VoltSet, 5);

    m_fx->click("SerialCommand");
    QCOMPARE(m_fx->find<QPushButton>(QStringLiteral("SerialCommand"))->text(),
             QStringLiteral("Serial /Off"));
    QVERIFY(!banner->isVisible());
    QCOMPARE(text("CH2V"), QStringLiteral("05.00")); // the text it had at switch-on
    QCOMPARE(m_fx->form->state().CH2VoltSet, 500);
    QCOMPARE(m_fx->port.frames.back(), std::string("8E000001F4"));
}

void TestFrontPanel::keyboard_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("display");
    QTest::addColumn<Frames>("frames");

    const QList<int> digits{Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4};
    QTest::newRow("main block digits, Return")
            << digits + QList<int>{Qt::Key_Return} << Qt::KeyboardModifiers() << "12.34"
            << Frames{"8804D2"};
    QTest::newRow("number pad digits, Enter")
            << digits + QList<int>{Qt::Key_Enter} << Qt::KeyboardModifiers(Qt::KeypadModifier)
            << "12.34" << Frames{"8804D2"};
    QTest::newRow("shifted digits, as on some layouts")
            << QList<int>{Qt::Key_7} << Qt::KeyboardModifiers(Qt::ShiftModifier) << "00.07"
            << Frames{};
    QTest::newRow("Ctrl with a digit is not a digit")
            << QList<int>{Qt::Key_7, Qt::Key_Return} << Qt::KeyboardModifiers(Qt::ControlModifier)
            << "00.00" << Frames{};
    QTest::newRow("letters do nothing") << QList<int>{Qt::Key_A, Qt::Key_Period}
                                        << Qt::KeyboardModifiers() << "00.00" << Frames{};
}

void TestFrontPanel::keyboard()
{
    QFETCH(QList<int>, keys);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, display);
    QFETCH(Frames, frames);

    // Keys go to whatever has the focus; a focused button passes them on to the window.
    auto *focused = m_fx->find<QPushButton>(QStringLiteral("CH2ACommand"));
    focused->setFocus();
    for (int key : keys)
        QTest::keyClick(focused, Qt::Key(key), modifiers);
    QCOMPARE(text("CH1V"), display);
    QCOMPARE(m_fx->port.frames, frames);
    QCOMPARE(m_fx->form->state().EditTarget, 2); // the focused selector was not pressed
}

void TestFrontPanel::keyboardIgnoredOnAutoPanel()
{
    m_fx->form->Auto_Click();
    QTest::keyClick(m_fx->form.get(), Qt::Key_5);
    QTest::keyClick(m_fx->form.get(), Qt::Key_Return);
    m_fx->form->CancelCommand_Click();
    QCOMPARE(text("CH1V"), QStringLiteral("00.00"));
    QVERIFY(m_fx->port.frames.empty());
}

void TestFrontPanel::heldKeyDoesNotRepeat()
{
    auto press = [&](Qt::Key key, bool autoRepeat) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(m_fx->form.get(), &event);
    };
    press(Qt::Key_3, false);
    press(Qt::Key_3, true);
    press(Qt::Key_Return, false);
    press(Qt::Key_Return, true);
    press(Qt::Key_Return, true);
    QCOMPARE(text("CH1V"), QStringLiteral("00.03"));
    QCOMPARE(m_fx->port.frames, (Frames{"880003"}));
}

void TestFrontPanel::displaysAnnounceValueAndUnit()
{
    m_fx->click("CH1VCommand");
    type("1234");
    struct Expected
    {
        const char *display;
        const char *name;
        const char *description;
    };
    for (const Expected &e :
         {Expected{"CH1V", "CH1 voltage", "12.34 V"}, Expected{"CH1I", "CH1 current", "0.000 A"},
          Expected{"CH2V", "CH2 voltage", "00.00 V"}, Expected{"CH2I", "CH2 current", "0.000 A"}}) {
        QAccessibleInterface *iface
                = QAccessible::queryAccessibleInterface(m_fx->widget(QLatin1String(e.display)));
        QVERIFY(iface);
        QCOMPARE(iface->text(QAccessible::Name), QLatin1String(e.name));
        QCOMPARE(iface->text(QAccessible::Description), QLatin1String(e.description));
    }
    QAccessibleInterface *enter
            = QAccessible::queryAccessibleInterface(m_fx->widget("EnterCommand"));
    QCOMPARE(enter->text(QAccessible::Name), QStringLiteral("Enter"));
}

void TestFrontPanel::sendingButtonsAreRedrawnAfterTheClick()
{
    // The frame goes out before the button's redraw, which must still follow.
    for (const char *name : {"EnterCommand", "OutputCommand", "SerialCommand"}) {
        auto *button = m_fx->find<QPushButton>(QLatin1String(name));
        m_fx->click(name);
        QTRY_VERIFY2(button->updatesEnabled(), name);
        QVERIFY(!button->isDown());
    }
    QCOMPARE(m_fx->port.frames.size(), 3u);
}

QTEST_MAIN(TestFrontPanel)
#include "tst_frontpanel.moc"
