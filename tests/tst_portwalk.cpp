// Finding the supply's port at start-up, as the user answers the questions.

#include "support/formfixture.h"

#include <QTest>

using namespace mq7410;
using mq7410::test::FormFixture;

namespace {

using Answers = QList<BoxAnswer>;
using Boxes = QStringList; // "title|prompt|kind" for every box shown, in order

QString describe(const BoxRequest &box)
{
    return box.title + '|' + box.prompt + '|' + QString::number(int(box.kind));
}

QString question(int port)
{
    return QStringLiteral("Power Supply|Find Com %1, Using it?|36").arg(port);
}

QString using_(int port)
{
    return QStringLiteral("Power Supply|Using COM%1:|64").arg(port);
}

const QString NoPort = QStringLiteral("Power Supply|No communication port can use!|16");

} // namespace

class TestPortWalk : public QObject
{
    Q_OBJECT
private slots:
    void walk_data();
    void walk();
    void closeErrorIsReported();
};

void TestPortWalk::walk_data()
{
    QTest::addColumn<QList<int>>("openable");
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<int>("openPort");

    QTest::newRow("no port at all") << QList<int>{} << Answers{} << Boxes{NoPort} << 0;
    QTest::newRow("first port accepted")
            << QList<int>{1} << Answers{BoxAnswer::Yes} << Boxes{question(1), using_(1)} << 1;
    QTest::newRow("No for 2, Yes for 5")
            << QList<int>{2, 5, 7} << Answers{BoxAnswer::No, BoxAnswer::Yes}
            << Boxes{question(2), question(5), using_(5)} << 5;
    QTest::newRow("No to every port")
            << QList<int>{3, 9, 16} << Answers{BoxAnswer::No, BoxAnswer::No, BoxAnswer::No}
            << Boxes{question(3), question(9), question(16), NoPort} << 0;
    QTest::newRow("port 16, the last tried")
            << QList<int>{16} << Answers{BoxAnswer::Yes} << Boxes{question(16), using_(16)} << 16;
}

void TestPortWalk::walk()
{
    QFETCH(QList<int>, openable);
    QFETCH(Answers, answers);
    QFETCH(Boxes, boxes);
    QFETCH(int, openPort);

    FormFixture fx;
    fx.port.openable = {openable.begin(), openable.end()};
    fx.boxes.questionAnswers = {answers.begin(), answers.end()};
    QCOMPARE(fx.form->Form_Load(), openPort != 0);

    Boxes shown;
    for (const BoxRequest &box : fx.boxes.shown) {
        shown << describe(box);
        if (box.kind == BoxKind::YesNoQuestion) // it names the device behind COM n
            QCOMPARE(box.details, "/dev/fake" + box.prompt.section(' ', 2, 2).chopped(1));
    }
    QCOMPARE(shown, boxes);
    QCOMPARE(fx.port.openPort(), openPort);
    QVERIFY(!fx.form->isVisible());  // showing the window is left to the caller
    QVERIFY(fx.port.frames.empty()); // start-up sends nothing
    QCOMPARE(fx.port.mostOpenAtOnce, openable.isEmpty() ? 0 : 1);
    for (const std::string &settings : fx.port.settingsApplied)
        QCOMPARE(settings, std::string("115200 N 8 1"));

    // Ports are tried in ascending order, none past 16, none after the accepted one, and a
    // refused port is closed before the next is tried.
    int lastSelected = 0;
    int expectOpen = 0;
    for (const std::string &step : fx.port.log) {
        const int number = std::stoi(step.substr(step.find(' ') + 1));
        if (step.rfind("select", 0) == 0) {
            QCOMPARE(number, lastSelected + 1);
            QVERIFY(number <= 16);
            QCOMPARE(expectOpen, 0);
            lastSelected = number;
        } else if (step.rfind("open", 0) == 0 && fx.port.openable.count(number)) {
            expectOpen = number;
        } else if (step.rfind("close", 0) == 0) {
            QCOMPARE(number, expectOpen);
            expectOpen = 0;
        }
    }
    QCOMPARE(lastSelected, openPort != 0 ? openPort : 16);
}

void TestPortWalk::closeErrorIsReported()
{
    FormFixture fx;
    fx.port.openable = {1, 2};
    fx.port.closeCode = -3;
    fx.boxes.questionAnswers = {BoxAnswer::No, BoxAnswer::Yes};
    QVERIFY(fx.form->Form_Load());
    QCOMPARE(fx.boxes.shown.size(), 4u);
    QCOMPARE(fx.boxes.shown[1].title, QStringLiteral("! RS-232 ERROR !"));
    QCOMPARE(fx.boxes.shown[1].kind, BoxKind::OkExclamation);
    QCOMPARE(fx.boxes.shown[1].prompt, QStringLiteral("Device not Open"));
}

QTEST_MAIN(TestPortWalk)
#include "tst_portwalk.moc"
