// The window as the user first sees it: its controls, their texts and states, and their places.

#include "support/formfixture.h"

#include "app/appearance.h"
#include "common/colors.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <optional>

using namespace mq7410;
using mq7410::test::FormFixture;

namespace {

// Captions of the fixed controls, by name and kind.
enum class Kind { Button, Option, Label, Frame };

struct Control
{
    const char *name;
    Kind kind;
    const char *caption;
    const char *container;
};

const Control FixedControls[] = {
        {"Control", Kind::Frame, "Control", "client"},
        {"Sequence", Kind::Frame, "Auto Sequence List", "client"},
        {"SerialCommand", Kind::Button, "Serial /Off", "Control"},
        {"OutputCommand", Kind::Button, "Output /Off", "Control"},
        {"Channel2", Kind::Label, "CH2", "Control"},
        {"SerialLabel", Kind::Label, "=== Serial Link ===", "Control"},
        {"Channel1", Kind::Label, "CH1", "Control"},
        {"CH2V", Kind::Label, "00.00", "Control"},
        {"CH2I", Kind::Label, "0.000", "Control"},
        {"VUnit", Kind::Label, "V", "Control"},
        {"IUnit", Kind::Label, "A", "Control"},
        {"CH1V", Kind::Label, "00.00", "Control"},
        {"CH1I", Kind::Label, "0.000", "Control"},
        {"ChannelFrame", Kind::Frame, "", "Control"},
        {"CH2VOption", Kind::Option, "CH2V", "ChannelFrame"},
        {"CH2AOption", Kind::Option, "CH2A", "ChannelFrame"},
        {"CH1VOption", Kind::Option, "CH1V", "ChannelFrame"},
        {"CH1AOption", Kind::Option, "CH1A", "ChannelFrame"},
        {"CH1VCommand", Kind::Button, "CH1/V", "Control"},
        {"CH1ACommand", Kind::Button, "CH1/A", "Control"},
        {"CH2VCommand", Kind::Button, "CH2/V", "Control"},
        {"CH2ACommand", Kind::Button, "CH2/A", "Control"},
        {"SevenCommand", Kind::Button, "7", "Control"},
        {"EightCommand", Kind::Button, "8", "Control"},
        {"NineCommand", Kind::Button, "9", "Control"},
        {"FourCommand", Kind::Button, "4", "Control"},
        {"FiveCommand", Kind::Button, "5", "Control"},
        {"SixCommand", Kind::Button, "6", "Control"},
        {"OneCommand", Kind::Button, "1", "Control"},
        {"TwoCommand", Kind::Button, "2", "Control"},
        {"ThreeCommand", Kind::Button, "3", "Control"},
        {"ZeroCommand", Kind::Button, "0", "Control"},
        {"EnterCommand", Kind::Button, "Enter", "Control"},
        {"StepIndex", Kind::Label, "Step:", "Sequence"},
        {"TimeL", Kind::Label, "Time:", "Sequence"},
        {"CH1VL", Kind::Label, "CH1 V:", "Sequence"},
        {"CH1AL", Kind::Label, "CH1 A:", "Sequence"},
        {"CH2VL", Kind::Label, "CH2 V:", "Sequence"},
        {"CH2AL", Kind::Label, "CH2 A:", "Sequence"},
        {"Finish", Kind::Label, "Finish:", "Sequence"},
        {"CancelCommand", Kind::Button, "Cancel", "Sequence"},
        {"Start", Kind::Button, "Start", "Sequence"},
};

// The caption of `widget` if it is of that kind.
std::optional<QString> captionOf(const QWidget *widget, Kind kind)
{
    if (kind == Kind::Button && qobject_cast<const QPushButton *>(widget))
        return qobject_cast<const QPushButton *>(widget)->text();
    if (kind == Kind::Option && qobject_cast<const QRadioButton *>(widget))
        return qobject_cast<const QRadioButton *>(widget)->text();
    if (kind == Kind::Label && qobject_cast<const QLabel *>(widget))
        return qobject_cast<const QLabel *>(widget)->text();
    if (kind == Kind::Frame && qobject_cast<const QGroupBox *>(widget))
        return qobject_cast<const QGroupBox *>(widget)->title();
    return std::nullopt;
}

const char *const ValueColumns[4] = {"CH1V", "CH1I", "CH2V", "CH2I"};

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void fixedControls_data();
    void fixedControls();
    void menuBar();
    void firstSight();
    void displayColours();
    void unitCaption();
    void tableRows_data();
    void tableRows();
    void tableTabOrder();
    void nothingClipped();
    void hiddenPanelCannotBeReached();
    void manualPanelReadsLeftToRight();

private:
    std::unique_ptr<FormFixture> m_fx;
};

void TestWindow::init()
{
    m_fx = std::make_unique<FormFixture>();
    QVERIFY(m_fx->load());
    m_fx->form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_fx->form.get()));
}

void TestWindow::cleanup()
{
    m_fx.reset();
}

void TestWindow::fixedControls_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(FixedControls)); ++i)
        QTest::newRow(FixedControls[i].name) << i;
}

void TestWindow::fixedControls()
{
    QFETCH(int, index);
    const Control &expected = FixedControls[index];
    QWidget *widget = m_fx->widget(QLatin1String(expected.name));
    QVERIFY2(widget, expected.name);
    QCOMPARE(captionOf(widget, expected.kind), QString::fromLatin1(expected.caption));
    QCOMPARE(widget->parentWidget()->objectName(), QLatin1String(expected.container));
}

void TestWindow::menuBar()
{
    QCOMPARE(m_fx->form->objectName(), QStringLiteral("UIForm"));
    QCOMPARE(m_fx->form->windowTitle(), QStringLiteral("MQ-7410"));
    const QList<QAction *> bar = m_fx->form->menuBar()->actions();
    QCOMPARE(bar.size(), 3);
    QCOMPARE(bar[0]->text(), QStringLiteral("&File"));
    auto *file = m_fx->form->findChild<QMenu *>(QStringLiteral("mFile"));
    QVERIFY(file);
    QCOMPARE(bar[0]->menu(), file);
    QCOMPARE(file->actions().size(), 1);
    QCOMPARE(file->actions()[0], m_fx->action(QStringLiteral("Exit")));
    QCOMPARE(file->actions()[0]->text(), QStringLiteral("E&xit"));
    QCOMPARE(bar[1], m_fx->action(QStringLiteral("Auto")));
    QCOMPARE(bar[1]->text(), QStringLiteral("&Auto"));
    QVERIFY(!bar[1]->menu());
    QCOMPARE(bar[2], m_fx->action(QStringLiteral("About")));
    QCOMPARE(bar[2]->text(), QStringLiteral("&About"));
    QVERIFY(!bar[2]->menu());
}

void TestWindow::firstSight()
{
    // Which panel shows and the timer's state after the load: tst_startup.
    QVERIFY(m_fx->widget(QStringLiteral("Sequence"))->isEnabled());
    QVERIFY(m_fx->widget(QStringLiteral("Start"))->isEnabled());
    QVERIFY(!m_fx->widget(QStringLiteral("SerialLabel"))->isVisible());
    QVERIFY(m_fx->find<QRadioButton>(QStringLiteral("CH1VOption"))->isChecked());
    for (const char *other : {"CH1AOption", "CH2VOption", "CH2AOption"})
        QVERIFY(!m_fx->find<QRadioButton>(QLatin1String(other))->isChecked());

    auto *timer = m_fx->find<QTimer>(QStringLiteral("Timer1"));
    QVERIFY(timer);
    QCOMPARE(timer->parent()->objectName(), QStringLiteral("Sequence"));

    const QList<QLineEdit *> boxes = m_fx->form->findChildren<QLineEdit *>();
    QCOMPARE(boxes.size(), 49);
    for (const QLineEdit *box : boxes)
        QCOMPARE(box->text(), QStringLiteral("0"));
    for (int step = 1; step <= 9; ++step) {
        auto *label = m_fx->find<QLabel>(QStringLiteral("Step%1").arg(step));
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("Step %1:").arg(step));
        QCOMPARE(backColor(label), Colors::ButtonFace);
    }
}

void TestWindow::displayColours()
{
    struct Display
    {
        const char *name;
        std::uint32_t back;
    };
    for (const Display d :
         {Display{"CH1V", Colors::MenuText}, Display{"CH2V", Colors::MenuText},
          Display{"CH1I", Colors::WindowFrame}, Display{"CH2I", Colors::WindowFrame}}) {
        QWidget *label = m_fx->widget(QLatin1String(d.name));
        QCOMPARE(foreColor(label), Colors::Red);
        QCOMPARE(backColor(label), d.back);
        QCOMPARE(label->palette().color(label->foregroundRole()), QColor(Qt::red));
        QCOMPARE(label->font().pointSizeF(), 36.0);
    }
    auto *banner = m_fx->find<QLabel>(QStringLiteral("SerialLabel"));
    QCOMPARE(backColor(banner), Colors::Yellow);
    QCOMPARE(banner->palette().color(banner->backgroundRole()), QColor(Qt::yellow));
    QVERIFY(banner->font().bold());
}

void TestWindow::unitCaption()
{
    const QString blanks2(2, QLatin1Char(' ')), blanks10(10, QLatin1Char(' ')),
            blanks11(11, QLatin1Char(' ')), blanks14(14, QLatin1Char(' '));
    const QString expected = blanks2 + "Num:" + blanks14 + "(1~999999) s" + blanks10 + "(0~32) V"
                             + blanks11 + "(0~3) A" + blanks11 + "(0~32) V" + blanks11 + "(0~3) A";
    auto *unit = m_fx->find<QLabel>(QStringLiteral("Unit"));
    QVERIFY(unit);
    QCOMPARE(unit->text(), expected);
}

void TestWindow::tableRows_data()
{
    // Row label, the Time box on its line (none on step 1's), and the number of its value boxes.
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("timeBox");
    QTest::addColumn<int>("boxNumber");
    QTest::newRow("Step 1 has no time box") << "Step1" << QString() << 2;
    for (int step = 2; step <= 9; ++step) {
        QTest::addRow("Step %d", step) << QStringLiteral("Step%1").arg(step)
                                       << QStringLiteral("Time%1").arg(step - 1) << step + 1;
    }
    QTest::newRow("Finish has Time9 and boxes 1") << "Finish"
                                                  << "Time9" << 1;
}

void TestWindow::tableRows()
{
    QFETCH(QString, label);
    QFETCH(QString, timeBox);
    QFETCH(int, boxNumber);
    const int top = m_fx->widget(label)->y();
    QList<QLineEdit *> onLine;
    for (QLineEdit *box : m_fx->form->findChildren<QLineEdit *>()) {
        if (box->y() == top)
            onLine.append(box);
    }
    std::sort(onLine.begin(), onLine.end(),
              [](const QWidget *a, const QWidget *b) { return a->x() < b->x(); });
    QStringList names;
    for (const QLineEdit *box : onLine)
        names << box->objectName();
    QStringList expected;
    if (!timeBox.isEmpty())
        expected << timeBox;
    for (const char *column : ValueColumns)
        expected << QLatin1String(column) + QString::number(boxNumber);
    QCOMPARE(names, expected);
}

void TestWindow::tableTabOrder()
{
    QStringList expected;
    for (int step = 1; step <= 9; ++step) {
        expected << QStringLiteral("Time%1").arg(step);
        for (const char *column : ValueColumns)
            expected << QLatin1String(column) + QString::number(step + 1);
    }
    expected << "CancelCommand"
             << "Start";
    for (const char *column : ValueColumns)
        expected << QLatin1String(column) + QString::number(1);

    // The whole window's chain, both panels: the table's part starts at Time1 and the
    // Finish row comes after every other control that takes the focus.
    QStringList chain;
    for (QWidget *w = m_fx->form->nextInFocusChain(); w != m_fx->form.get();
         w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->objectName() != "qt_scrollarea_viewport")
            chain << w->objectName();
    }
    QCOMPARE(chain.mid(chain.indexOf("Time1")), expected);
}

void TestWindow::nothingClipped()
{
    // Every caption fits its control, and every control lies inside its container, on both
    // panels.
    for (bool autoPanel : {false, true}) {
        if (autoPanel)
            m_fx->form->Auto_Click();
        for (QWidget *widget : m_fx->form->findChildren<QWidget *>()) {
            if (!widget->isVisible() || !widget->parentWidget())
                continue;
            const QSize need = captionNeed(widget);
            QVERIFY2(need.width() <= widget->width() && need.height() <= widget->height(),
                     qPrintable(widget->objectName()));
            QVERIFY2(widget->parentWidget()->rect().contains(widget->geometry()),
                     qPrintable(widget->objectName()));
        }
    }
    for (const char *display : {"CH1V", "CH1I", "CH2V", "CH2I"}) {
        auto *label = m_fx->find<QLabel>(QLatin1String(display));
        for (const char *text : {"00.00", "0.000", "32.00", "3.000", "88.88"}) {
            const QRect drawn = label->fontMetrics().boundingRect(QLatin1String(text));
            QVERIFY2(drawn.width() <= label->contentsRect().width(), text);
            QVERIFY2(label->fontMetrics().height() <= label->contentsRect().height(), text);
        }
    }
}

void TestWindow::hiddenPanelCannotBeReached()
{
    // The panels share one place; whatever point of it is hit, the widget found belongs to the
    // shown panel.
    QCOMPARE(m_fx->widget(QStringLiteral("Control"))->geometry(),
             m_fx->widget(QStringLiteral("Sequence"))->geometry());
    for (bool autoPanel : {false, true}) {
        if (autoPanel)
            m_fx->form->Auto_Click();
        QWidget *shown = m_fx->widget(autoPanel ? "Sequence" : "Control");
        QWidget *hidden = m_fx->widget(autoPanel ? "Control" : "Sequence");
        QVERIFY(!hidden->isVisible());
        for (QWidget *child : hidden->findChildren<QWidget *>())
            QVERIFY2(!child->isVisible(), qPrintable(child->objectName()));
        QWidget *client = shown->parentWidget();
        for (int y = shown->y(); y < shown->geometry().bottom(); y += 3) {
            for (int x = shown->x(); x < shown->geometry().right(); x += 3) {
                QWidget *hit = client->childAt(x, y);
                QVERIFY(hit == shown || shown->isAncestorOf(hit));
            }
        }
    }
}

void TestWindow::manualPanelReadsLeftToRight()
{
    // Switches, channel 2's displays, units, channel 1's displays, selectors, keypad.
    const char *order[] = {"OutputCommand", "CH2V",         "VUnit",        "CH1V",
                           "CH1VCommand",   "SevenCommand", "EightCommand", "NineCommand"};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QVERIFY2(m_fx->widget(QLatin1String(order[i - 1]))->geometry().right()
                         < m_fx->widget(QLatin1String(order[i]))->x(),
                 order[i]);
    }
    // Each channel's options stand under that channel's displays.
    const QWidget *frame = m_fx->widget(QStringLiteral("ChannelFrame"));
    auto centreX = [&](const char *option) {
        return frame
                ->mapTo(frame->parentWidget(),
                        m_fx->widget(QLatin1String(option))->geometry().center())
                .x();
    };
    QVERIFY(centreX("CH2VOption") < m_fx->widget("CH2V")->geometry().right());
    QVERIFY(centreX("CH1AOption") > m_fx->widget("CH1V")->x());
    QVERIFY(frame->y() > m_fx->widget("CH1I")->geometry().bottom());
    // The digit keys form one group whose ids are their digits.
    auto *one = m_fx->find<QPushButton>(QStringLiteral("OneCommand"));
    QVERIFY(one->group());
    for (int digit = 0; digit <= 9; ++digit)
        QCOMPARE(one->group()->button(digit)->text(), QString::number(digit));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
