// The port walk at start-up over real pseudo-terminals: which ports the user is asked about,
// which one is used, and that every other one is let go again or never touched.

#include "support/openwatch.h"
#include "support/realpanel.h"
#include "support/simprocess.h"

#include <QTest>

#include <map>

using namespace mq7410;
using namespace mq7410::test;

namespace {

constexpr int WaitMs = SimProcess::WaitMs;
using Answers = QList<BoxAnswer>;

QString question(int port)
{
    return QStringLiteral("Power Supply|Find Com %1, Using it?|36").arg(port);
}

QString using_(int port)
{
    return QStringLiteral("Power Supply|Using COM%1:|64").arg(port);
}

const QString NoPort = QStringLiteral("Power Supply|No communication port can use!|16");

// True when a fresh port can take COM `number` now: nobody holds it any more.
bool isFree(int number)
{
    QtSerialPort other;
    return other.selectPort(number) && other.setSettings("115200 N 8 1") && other.open();
}

} // namespace

class TestE2ePortWalk : public QObject
{
    Q_OBJECT
private slots:
    void walk_data();
    void walk();
};

void TestE2ePortWalk::walk_data()
{
    QTest::addColumn<int>("entries");         // MQ7410_PORTS has this many entries...
    QTest::addColumn<QList<int>>("supplies"); // ...and a virtual supply on these
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("used"); // 0: Form_Load fails

    QTest::newRow("set but empty: no port")
            << 0 << QList<int>{} << Answers{} << QStringList{NoPort} << 0;
    QTest::newRow("ports 2 and 5, No then Yes")
            << 7 << QList<int>{2, 5, 7} << Answers{BoxAnswer::No, BoxAnswer::Yes}
            << QStringList{question(2), question(5), using_(5)} << 5;
    QTest::newRow("No to every port")
            << 4 << QList<int>{1, 3, 4} << Answers{BoxAnswer::No, BoxAnswer::No, BoxAnswer::No}
            << QStringList{question(1), question(3), question(4), NoPort} << 0;
    QTest::newRow("16 accepted, the 17th entry never opened")
            << 17 << QList<int>{16, 17} << Answers{BoxAnswer::Yes}
            << QStringList{question(16), using_(16)} << 16;
    QTest::newRow("16 refused, the 17th entry never opened")
            << 17 << QList<int>{16, 17} << Answers{BoxAnswer::No}
            << QStringList{question(16), NoPort} << 0;
}

void TestE2ePortWalk::walk()
{
    QFETCH(int, entries);
    QFETCH(QList<int>, supplies);
    QFETCH(Answers, answers);
    QFETCH(QStringList, boxes);
    QFETCH(int, used);

    std::map<int, std::unique_ptr<SimProcess>> sims;
    std::map<int, std::unique_ptr<OpenWatch>> watches;
    QByteArrayList ports(entries);
    for (int number : supplies) {
        auto &sim = sims[number] = std::make_unique<SimProcess>();
        QVERIFY(sim->start());
        ports[number - 1] = sim->device().toLocal8Bit();
        watches[number] = std::make_unique<OpenWatch>(sim->device());
        QVERIFY(watches[number]->isValid());
    }
    const ScopedPorts scopedPorts(ports.join(':'));

    RealPanel panel;
    QCOMPARE(panel.load({answers.begin(), answers.end()}), used != 0);
    QCOMPARE(panel.boxTexts(), boxes);
    // Each question names the device, so that the user knows which one COM n is.
    for (const BoxRequest &box : panel.boxes.shown) {
        if (box.kind == BoxKind::YesNoQuestion) {
            const int number = box.prompt.section(' ', 2, 2).remove(',').toInt();
            QCOMPARE(box.details, sims.at(number)->device());
        }
    }

    if (used != 0) {
        QVERIFY(panel.serial.isOpen());
        panel.form->show();
        panel.click(QStringLiteral("EnterCommand"));
        QTRY_COMPARE_WITH_TIMEOUT(sims.at(used)->frames(), QStringList{"880000"}, WaitMs);
    } else {
        QVERIFY(!panel.serial.isOpen());
    }

    const int lastAsked = used != 0 ? used : 16; // COM 16 is the last one tried
    for (const auto &[number, sim] : sims) {
        if (number == used)
            continue;
        QVERIFY2(sim->frames().isEmpty(), qPrintable(QString::number(number)));
        if (number > lastAsked) // past the accepted port, or past COM 16
            QCOMPARE(watches.at(number)->opens(), 0);
        else // asked and refused: closed again before the next one was tried
            QVERIFY2(isFree(number), qPrintable(QString::number(number)));
    }
}

QTEST_MAIN(TestE2ePortWalk)
#include "tst_e2e_portwalk.moc"
