// The virtual supply's state as frames change it, and how frames and state read on screen.

#include "sim/framedecoder.h"
#include "sim/supplystate.h"

#include <QTest>

using namespace mq7410::sim;

namespace {

// Decodes `frames` (blanks between them are only for reading) and applies every frame.
SupplyState stateAfter(QByteArray frames)
{
    frames.replace(' ', "");
    FrameDecoder decoder;
    SupplyState state;
    for (const DecodeEvent &event : decoder.feed(frames.toStdString())) {
        if (const auto *frame = std::get_if<Frame>(&event))
            state.apply(*frame);
    }
    return state;
}

} // namespace

class TestSimState : public QObject
{
    Q_OBJECT
private slots:
    void statusAfter_data();
    void statusAfter();
    void describe_data();
    void describe();
};

void TestSimState::statusAfter_data()
{
    QTest::addColumn<QByteArray>("frames");
    QTest::addColumn<QString>("status");
    const auto row = [](const char *tag, const char *frames, const char *status) {
        QTest::newRow(tag) << QByteArray(frames) << QString(status);
    };

    row("start", "", "CH1 00.00 V 0.000 A | CH2 00.00 V 0.000 A | output OFF | link OFF");
    // The worked example, up to the link and to its end (tst_e2e_frames plays it on the sim).
    row("each set-point, output and link on", "8804D2 8705DC 8A01F4 8900FA 8CF0F0 8F05DC04D2",
        "CH1 12.34 V 1.500 A | CH2 12.34 V 1.500 A | output ON | link ON");
    row("link off again", "8804D2 8705DC 8A01F4 8900FA 8CF0F0 8F05DC04D2 8E00FA01F4",
        "CH1 12.34 V 1.500 A | CH2 05.00 V 0.250 A | output ON | link OFF");

    row("output off after on", "8CF0F0 8C0F0F",
        "CH1 00.00 V 0.000 A | CH2 00.00 V 0.000 A | output OFF | link OFF");
    row("8D sets voltage, current, voltage, current", "8D000507D00C80000A",
        "CH1 00.05 V 2.000 A | CH2 32.00 V 0.010 A | output OFF | link OFF");
    row("8E takes its own values, not the earlier CH2 ones", "8A01F4 8900FA 8F05DC04D2 8E00000000",
        "CH1 00.00 V 0.000 A | CH2 00.00 V 0.000 A | output OFF | link OFF");
    row("CH1 frame while linked leaves CH2 alone", "8F05DC04D2 880001",
        "CH1 00.01 V 0.000 A | CH2 12.34 V 1.500 A | output OFF | link ON");
    row("out of range is taken as sent", "88FFFF 890BB9",
        "CH1 655.35 V 0.000 A | CH2 00.00 V 3.001 A | output OFF | link OFF");
}

void TestSimState::statusAfter()
{
    QFETCH(QByteArray, frames);
    QFETCH(QString, status);
    QCOMPARE(QString::fromStdString(stateAfter(frames).statusText()), status);
}

void TestSimState::describe_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("description");

    QTest::newRow("87") << QByteArray("8705DC") << "CH1 current 1.500 A";
    QTest::newRow("88") << QByteArray("8804D2") << "CH1 voltage 12.34 V";
    QTest::newRow("89") << QByteArray("8900FA") << "CH2 current 0.250 A";
    QTest::newRow("8A") << QByteArray("8A01F4") << "CH2 voltage 05.00 V";
    QTest::newRow("8C on") << QByteArray("8CF0F0") << "output ON";
    QTest::newRow("8C off") << QByteArray("8C0F0F") << "output OFF";
    QTest::newRow("8D") << QByteArray("8D04D205DC01F400FA")
                        << "CH1 12.34 V 1.500 A, CH2 05.00 V 0.250 A";
    QTest::newRow("8E") << QByteArray("8E00FA01F4") << "link OFF, CH2 0.250 A 05.00 V";
    QTest::newRow("8F") << QByteArray("8F05DC04D2") << "link ON, CH2 1.500 A 12.34 V";
    QTest::newRow("one over the top")
            << QByteArray("880C81") << "CH1 voltage 32.01 V  [out of range: CH1 voltage]";
    QTest::newRow("two fields over")
            << QByteArray("8D0C810BB90C800BB8")
            << "CH1 32.01 V 3.001 A, CH2 32.00 V 3.000 A  [out of range: CH1 voltage, CH1 current]";
}

void TestSimState::describe()
{
    QFETCH(QByteArray, frame);
    QFETCH(QString, description);
    FrameDecoder decoder;
    const std::vector<DecodeEvent> events = decoder.feed(frame.toStdString());
    QVERIFY(events.size() == 1 && std::holds_alternative<Frame>(events.front()));
    QCOMPARE(QString::fromStdString(mq7410::sim::describe(std::get<Frame>(events.front()))),
             description);
}

QTEST_GUILESS_MAIN(TestSimState)
#include "tst_simstate.moc"
