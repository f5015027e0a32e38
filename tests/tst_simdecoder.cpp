// The virtual supply's frame decoder: frames, skipped bytes, chunking, and bounded memory.

#include "sim/framedecoder.h"

#include <QTest>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace mq7410::sim;

namespace {

// Events as short texts: "F 8804D2" for a frame, "S <bytes> <reason>" for skipped bytes.
// Skipped reports in a row are merged: where a report ends depends on the chunks.
QStringList eventTexts(const std::vector<DecodeEvent> &events)
{
    QStringList texts;
    std::string skipped;
    SkipReason reason = SkipReason::UnknownCode;
    const auto closeSkipped = [&] {
        if (!skipped.empty())
            texts << QString::fromLatin1("S %1 %2").arg(
                    QLatin1String(skipped.data(), skipped.size()),
                    QLatin1String(reasonKey(reason)));
        skipped.clear();
    };
    for (const DecodeEvent &event : events) {
        if (const auto *frame = std::get_if<Frame>(&event)) {
            closeSkipped();
            texts << QString::fromStdString("F " + frame->text);
        } else {
            const auto &report = std::get<Skipped>(event);
            if (skipped.empty())
                reason = report.reason;
            skipped += report.bytes;
        }
    }
    closeSkipped();
    return texts;
}

// Feeds `input` cut at `cuts` (offsets in increasing order), then ends the stream.
std::vector<DecodeEvent> decode(const std::string &input, const std::vector<std::size_t> &cuts)
{
    FrameDecoder decoder;
    std::vector<DecodeEvent> events;
    std::size_t from = 0;
    auto cutsAndEnd = cuts;
    cutsAndEnd.push_back(input.size());
    for (const std::size_t to : cutsAndEnd) {
        for (DecodeEvent &event : decoder.feed(std::string_view(input).substr(from, to - from)))
            events.push_back(std::move(event));
        from = to;
    }
    for (DecodeEvent &event : decoder.finish())
        events.push_back(std::move(event));
    return events;
}

// An independent statement of a whole valid frame, to check the decoder against.
bool isValidFrame(std::string_view text)
{
    if (text.size() < 2 || text[0] != '8')
        return false;
    const std::string_view codes = "789ACDEF";
    const std::size_t lengths[] = {6, 6, 6, 6, 6, 18, 10, 10};
    const std::size_t index = codes.find(text[1]);
    if (index == std::string_view::npos || text.size() != lengths[index])
        return false;
    const std::string_view body = text.substr(2);
    if (text[1] == 'C')
        return body == "F0F0" || body == "0F0F";
    return body.find_first_not_of("0123456789ABCDEF") == std::string_view::npos;
}

} // namespace

class TestSimDecoder : public QObject
{
    Q_OBJECT
private slots:
    void decodes_data();
    void decodes();
    void longGarbageStaysBounded();
    void randomStreamsKeepEveryByteAndEveryReachableFrame();
};

void TestSimDecoder::decodes_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("empty stream") << QByteArray() << QStringList{};
    QTest::newRow("every code, back to back")
            << QByteArray("8705DC8804D28900FA8A01F48CF0F08C0F0F8D04D205DC01F400FA8E00FA01F4"
                          "8F05DC04D2")
            << QString("F 8705DC|F 8804D2|F 8900FA|F 8A01F4|F 8CF0F0|F 8C0F0F|"
                       "F 8D04D205DC01F400FA|F 8E00FA01F4|F 8F05DC04D2")
                       .split('|');
    QTest::newRow("garbage and line ends around frames")
            << QByteArray("xyz8804D2\r\n8705DC")
            << QStringList{"S xyz unknown_code", "F 8804D2", "S \r\n unknown_code", "F 8705DC"};
    QTest::newRow("unknown code 80 then a frame")
            << QByteArray("8000008804D2") << QStringList{"S 800000 unknown_code", "F 8804D2"};
    QTest::newRow("8B then a frame")
            << QByteArray("8B04D28804D2") << QStringList{"S 8B04D2 unknown_code", "F 8804D2"};
    QTest::newRow("lower-case code")
            << QByteArray("8a01F4") << QStringList{"S 8a01F4 unknown_code"};
    QTest::newRow("lower-case field then a frame")
            << QByteArray("8804d28804D2")
            << QStringList{"S 8804d2 bad_field_character", "F 8804D2"};
    QTest::newRow("non-hex in the last field character")
            << QByteArray("8D04D205DC01F400FG8705DC")
            << QStringList{"S 8D04D205DC01F400FG bad_field_character", "F 8705DC"};
    QTest::newRow("NUL and high bytes before a frame")
            << QByteArray("\x00\xFF\x80", 3) + "8804D2"
            << QStringList{QString::fromLatin1("S \x00\xFF\x80 unknown_code", 18), "F 8804D2"};
    QTest::newRow("output pattern F00F")
            << QByteArray("8CF00F") << QStringList{"S 8CF00F bad_output_pattern"};
    QTest::newRow("bad output pattern does not swallow the next frame")
            << QByteArray("8CF08804D2") << QStringList{"S 8CF0 bad_output_pattern", "F 8804D2"};
    QTest::newRow("truncated frame at the end")
            << QByteArray("8804D28D04D205DC") << QStringList{"F 8804D2", "S 8D04D205DC truncated"};
    QTest::newRow("frame inside a truncated one at the end")
            << QByteArray("8D8804D2") << QStringList{"S 8D truncated", "F 8804D2"};
    // No delimiters: a code followed by enough hex characters is a frame, whatever follows.
    QTest::newRow("frame start inside a frame belongs to it")
            << QByteArray("8D8804D205DC01F400FA")
            << QStringList{"F 8D8804D205DC01F400", "S FA unknown_code"};
    QTest::newRow("stray 8 before a frame makes another frame")
            << QByteArray("88804D2") << QStringList{"F 88804D", "S 2 unknown_code"};
}

void TestSimDecoder::decodes()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, expected);
    QCOMPARE(eventTexts(decode(input.toStdString(), {})), expected);
}

void TestSimDecoder::longGarbageStaysBounded()
{
    // The worst case for the held bytes: 17 characters of a valid 8D frame, then a wrong one.
    std::string garbage;
    while (garbage.size() < std::size_t{1024} * 1024)
        garbage += "8D000000000000000x";

    FrameDecoder decoder;
    std::size_t skippedBytes = 0;
    for (std::size_t at = 0; at < garbage.size(); at += 4096) {
        for (const DecodeEvent &event : decoder.feed(std::string_view(garbage).substr(at, 4096))) {
            const auto *skipped = std::get_if<Skipped>(&event);
            QVERIFY(skipped);
            QVERIFY(!skipped->bytes.empty() && skipped->bytes.size() <= MaxSkippedReport);
            skippedBytes += skipped->bytes.size();
        }
        QVERIFY(decoder.pending().size() < std::size_t(MaxFrameLength));
    }
    QVERIFY(decoder.finish().empty()); // the stream ends on the bad 'x': nothing held
    QCOMPARE(skippedBytes, garbage.size());
}

void TestSimDecoder::randomStreamsKeepEveryByteAndEveryReachableFrame()
{
    // Frames, their beginnings and ends, and bytes that can never start one.
    std::vector<std::string> pieces
            = {"8804D2",     "8705DC",     "8CF0F0", "8C0F0F", "8D04D205DC01F400FA",
               "8E00FA01F4", "8F05DC04D2", "8",      "88",     "8C",
               "8D",         "0",          "F",      "a",      "x",
               "\r\n",       "\xFF",       "8B",     "F0F0",   "04D2"};
    pieces.emplace_back(1, '\0');
    std::mt19937 random(7410);
    for (int round = 0; round < 500; ++round) {
        std::string input;
        const int count = std::uniform_int_distribution<int>(0, 30)(random);
        for (int i = 0; i < count; ++i)
            input += pieces[std::uniform_int_distribution<std::size_t>(0,
                                                                       pieces.size() - 1)(random)];
        std::vector<std::size_t> cuts;
        for (std::size_t at = 1; at < input.size(); ++at) {
            if (random() % 5 == 0)
                cuts.push_back(at);
        }
        const std::vector<DecodeEvent> events = decode(input, cuts);
        QCOMPARE(eventTexts(events), eventTexts(decode(input, {})));

        // Every byte ends up in exactly one frame or report, in order.
        std::string rebuilt;
        std::vector<std::pair<std::size_t, std::size_t>> frameSpans;
        for (const DecodeEvent &event : events) {
            if (const auto *frame = std::get_if<Frame>(&event)) {
                QVERIFY2(isValidFrame(frame->text), frame->text.c_str());
                frameSpans.emplace_back(rebuilt.size(), rebuilt.size() + frame->text.size());
                rebuilt += frame->text;
            } else {
                rebuilt += std::get<Skipped>(event).bytes;
            }
        }
        QCOMPARE(rebuilt, input);

        // A valid frame in the input is decoded unless an earlier frame took its start.
        for (std::size_t at = 0; at < input.size(); ++at) {
            const bool startsFrame = isValidFrame(std::string_view(input).substr(at, 6))
                                     || isValidFrame(std::string_view(input).substr(at, 10))
                                     || isValidFrame(std::string_view(input).substr(at, 18));
            if (!startsFrame)
                continue;
            const bool covered
                    = std::any_of(frameSpans.begin(), frameSpans.end(), [at](const auto &span) {
                          return span.first <= at && at < span.second;
                      });
            QVERIFY2(covered, qPrintable(QString::fromLatin1(input.data(), input.size())));
        }
    }
}

QTEST_GUILESS_MAIN(TestSimDecoder)
#include "tst_simdecoder.moc"
