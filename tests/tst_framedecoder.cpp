// SPDX-License-Identifier: GPL-3.0-or-later
// The frame grammar: each code read, described and built again, and the stream decoder's
// frames and skipped bytes, whatever the chunks.

#include "framedecoder.h"

#include <QTest>

using namespace mq7410;

namespace {

// Feeds `stream` in chunks of `chunk` bytes, then ends it. The events as one text, "F:8804D2
// S:unknown_code:xy": skipped reports in a row are merged, as where one ends depends on the
// chunks.
QString decode(const QByteArray &stream, qsizetype chunk)
{
    FrameDecoder decoder;
    QString text;
    bool skipping = false;
    const auto take = [&](const std::vector<DecodeEvent> &events) {
        for (const DecodeEvent &event : events) {
            const auto *skipped = std::get_if<Skipped>(&event);
            if (!skipped)
                text += QString::fromStdString(" F:" + std::get<Frame>(event).text);
            else if (!skipping)
                text += QString(" S:") + reasonKey(skipped->reason) + ':';
            if (skipped)
                text += QLatin1String(skipped->bytes.data(), qsizetype(skipped->bytes.size()));
            skipping = skipped != nullptr;
        }
    };
    for (qsizetype at = 0; at < stream.size(); at += chunk)
        take(decoder.feed(stream.mid(at, chunk).toStdString()));
    take(decoder.finish());
    return text.mid(1);
}

} // namespace

class TestFrameDecoder : public QObject
{
    Q_OBJECT
private slots:
    void decodes_data();
    void decodes();
};

// A row with words is one whole frame, also read, described and built again; parseFrame
// refuses the others.
void TestFrameDecoder::decodes_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("words");
    const auto frame = [](const char *tag, const char *text, const char *words) {
        QTest::newRow(tag) << QByteArray(text) << "F:" + QString(text) << QString(words);
    };
    const auto skip = [](const char *tag, const QByteArray &stream, const QString &events) {
        QTest::newRow(tag) << stream << events << QString();
    };

    frame("87", "8705DC", "CH1 1.500 A");
    frame("88", "8804D2", "CH1 12.34 V");
    frame("89", "8900FA", "CH2 0.250 A");
    frame("8A", "8A01F4", "CH2 5.00 V");
    frame("8C on", "8CF0F0", "output on");
    frame("8C off", "8C0F0F", "output off");
    frame("8D, voltage first", "8D04D205DC01F400FA", "CH1 12.34 V 1.500 A, CH2 5.00 V 0.250 A");
    frame("8E, current first", "8E00FA01F4", "series link off, CH2 5.00 V 0.250 A");
    frame("8F", "8F05DC04D2", "series link on, CH2 12.34 V 1.500 A");
    frame("8D just above and at the limits, as sent", "8D0C8100000C800BB9",
          "CH1 32.01 V 0.000 A, CH2 32.00 V 3.001 A  [out of range: CH1 voltage, CH2 current]");

    skip("unknown code 80", "8000008804D2", "S:unknown_code:800000 F:8804D2");
    skip("8B, between 8A and 8C", "8B04D2", "S:unknown_code:8B04D2");
    skip("line ends between frames", "xy8804D2\r\n8CF0F0",
         "S:unknown_code:xy F:8804D2 S:unknown_code:\r\n F:8CF0F0");
    skip("lower-case field", "8804d2", "S:bad_field_character:8804d2");
    skip("8C F00F", "8CF00F", "S:bad_output_pattern:8CF00F");
    skip("output pattern ruled out at once", "8CF08804D28C8",
         "S:bad_output_pattern:8CF0 F:8804D2 S:bad_output_pattern:8C8");
    skip("truncated at finish", "8804D28D04D205DC", "F:8804D2 S:truncated:8D04D205DC");
    skip("frame inside a truncated one", "8D8804D2", "S:truncated:8D F:8804D2");
    skip("frame start inside a frame", "8D8804D205DC01F400FA",
         "F:8D8804D205DC01F400 S:unknown_code:FA");
}

void TestFrameDecoder::decodes()
{
    QFETCH(QByteArray, stream);
    QFETCH(QString, events);
    QFETCH(QString, words);
    for (qsizetype chunk = 1; chunk <= stream.size(); ++chunk)
        QCOMPARE(decode(stream, chunk), events);
    const std::optional<Frame> frame = parseFrame(stream.toStdString());
    QCOMPARE(frame.has_value(), !words.isEmpty());
    if (!frame)
        return;
    QCOMPARE(QString::fromStdString(describeFrame(*frame)), words);
    QCOMPARE(frame->outOfRange(), words.contains("out of range"));
    SetPointValues values{};
    for (const FieldValue &field : frame->fields)
        valueOf(values, field.setPoint) = std::int16_t(field.value);
    const std::string built = frame->command == Command::Output
                                      ? encodeOutputFrame(frame->outputOn)
                                      : encodeFrame(frame->command, values);
    QCOMPARE(QByteArray::fromStdString(built), stream);
}

QTEST_GUILESS_MAIN(TestFrameDecoder)
#include "tst_framedecoder.moc"
