// SPDX-License-Identifier: GPL-3.0-or-later
// The sequence files: every table that checkTable passes comes back as it was, every other is
// refused before it is saved, and a file that cannot be read says where and what was expected.
//
//   MQ7410_PROPERTY_SEED=N MQ7410_PROPERTY_ROUNDS=M tst_sequencefile   (defaults: 0 and 300)

#include "entrycheck.h"
#include "sequencefile.h"

#include <QTest>

#include <array>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>

using mq7410::SequenceFileError;
using mq7410::SequenceTexts;
using mq7410::SetPoint;

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(SequenceTexts)

namespace {

// Line 1 the header, line k + 1 step k (5 s at 1 V 0.1 A, 2 V 0.2 A), line 11 the finish row.
std::string validFile()
{
    std::string file = "step,time_s,ch1_v,ch1_a,ch2_v,ch2_a\n";
    for (int step = 1; step <= mq7410::StepCount; ++step)
        file += std::to_string(step) + ",5,1,0.1,2,0.2\n";
    return file + "finish,,0,0,0,0\n";
}

// `text` with every `from` replaced by `to`.
std::string replaced(std::string text, const std::string &from, const std::string &to)
{
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string validFile(const std::string &from, const std::string &to)
{
    return replaced(validFile(), from, to);
}

// The texts of validFile().
SequenceTexts validTexts()
{
    SequenceTexts texts;
    texts.times.fill("5");
    texts.values.fill({"1", "0.1", "2", "0.2"});
    texts.values[mq7410::FinishRow] = {"0", "0", "0", "0"};
    return texts;
}

// `text`, `count` times over.
std::string times(int count, const std::string &text)
{
    std::string repeated;
    for (int i = 0; i < count; ++i)
        repeated += text;
    return repeated;
}

using Result = std::variant<SequenceTexts, SequenceFileError>;
using Change = void (*)(SequenceTexts &); // of validTexts(), for a row of a table

// The line the error box would show, empty when the file reads.
QString problem(const Result &result)
{
    const auto *error = std::get_if<SequenceFileError>(&result);
    return error ? QString::fromStdString(mq7410::errorText("steps.csv", *error)) : QString();
}

// Random tables: texts of blanks a reader could trim, CSV's own characters, letters of two
// bytes and a no-break space, one character a piece; in a flawed table, a few boxes with what
// no box can show: a tab, a line break, a control, a byte of no UTF-8, a text too long.
struct RandomTable
{
    static constexpr std::array<std::string_view, 10> Showable{"5",  ".", "e", "-", " ",
                                                               "\"", ",", "В", "µ", "\u00a0"};
    static constexpr std::array<std::string_view, 6> Unshowable{"\t",   "\n",       "\r",
                                                                "\x01", "\xC2\x9F", "\xFF"};
    std::mt19937 engine;

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine); }

    // Mostly short, now and then up to the most a box takes, or just past it.
    std::string text(bool flawed)
    {
        constexpr int Most = int(mq7410::MaxBoxText);
        const bool tooLong = flawed && below(3) == 0;
        const int length = tooLong         ? Most + 1 + below(4)
                           : below(8) == 0 ? Most - below(8)
                                           : below(8);
        const int flawAt = flawed && !tooLong ? below(length + 1) : -1;
        std::string text;
        for (int i = 0; i <= length; ++i) {
            if (i == flawAt)
                text += Unshowable.at(std::size_t(below(Unshowable.size())));
            if (i < length)
                text += Showable.at(std::size_t(below(Showable.size())));
        }
        return text;
    }

    SequenceTexts table(bool flawed)
    {
        SequenceTexts texts;
        for (std::string &time : texts.times)
            time = text(flawed && below(30) == 0);
        for (auto &row : texts.values) {
            for (std::string &value : row)
                value = text(flawed && below(30) == 0);
        }
        constexpr std::array<int, 4> Edges{-1, 0, mq7410::MaxRepeat, mq7410::MaxRepeat + 1};
        const int kind = below(4);
        texts.repeat = kind == 0 ? Edges.at(below(4)) : kind == 1 ? 1 : below(mq7410::MaxRepeat);
        return texts;
    }
};

} // namespace

class TestSequenceFile : public QObject
{
    Q_OBJECT
private slots:
    void randomTablesRoundTrip();
    void tableRefused_data();
    void tableRefused();
    void readAndWritten_data();
    void readAndWritten();
    void malformedFile_data();
    void malformedFile();
    void exampleLoads_data();
    void exampleLoads();
};

void TestSequenceFile::randomTablesRoundTrip()
{
    const unsigned firstSeed = qEnvironmentVariableIntValue("MQ7410_PROPERTY_SEED");
    const int rounds = qEnvironmentVariableIsSet("MQ7410_PROPERTY_ROUNDS")
                               ? qEnvironmentVariableIntValue("MQ7410_PROPERTY_ROUNDS")
                               : 300;
    int passed = 0;
    for (int round = 0; round < rounds; ++round) {
        const unsigned seed = firstSeed + unsigned(round);
        const SequenceTexts texts = RandomTable{std::mt19937(seed)}.table(round % 2 == 1);
        const Result read = mq7410::readSequence(mq7410::writeSequence(texts));
        const QByteArray where = "seed " + QByteArray::number(seed) + ": " + problem(read).toUtf8();
        if (mq7410::checkTable(texts)) {
            QVERIFY2(std::get_if<SequenceTexts>(&read), where);
            QVERIFY2(std::get<SequenceTexts>(read) == texts, where);
            ++passed;
        } else { // refused as a whole, never loaded as other texts
            QVERIFY2(std::holds_alternative<SequenceFileError>(read), where);
        }
    }
    qInfo("SEQUENCE FILES: %d tables from seed %u, %d passed checkTable and came back", rounds,
          firstSeed, passed);
}

void TestSequenceFile::tableRefused_data()
{
    QTest::addColumn<SequenceTexts>("texts");
    QTest::addColumn<std::string>("message");
    const auto add = [](const char *tag, const std::string &message, Change change) {
        SequenceTexts texts = validTexts();
        change(texts);
        QTest::newRow(tag) << texts << message;
    };
    add("tab in a value box", "Step 3 CH1 voltage: it holds a tab, which a box cannot show",
        [](SequenceTexts &t) { t.value(3, SetPoint::Ch1Voltage) = "3\t2"; });
    add("control character in a Time box",
        "Step 4 time: it holds the control character U+0001, which a box cannot show",
        [](SequenceTexts &t) { t.time(4) = "5\x01"; });
    add("65 characters in the Finish row",
        "Finish CH2 current: it is longer than the 64 characters a box takes",
        [](SequenceTexts &t) {
            t.value(mq7410::FinishRow, SetPoint::Ch2Current) = times(65, "µ");
        });
    add("repeat count 10000, one over", "Repeat count: 10000 is not 1 to 9999, or 0 for until Stop",
        [](SequenceTexts &t) { t.repeat = 10000; });
}

void TestSequenceFile::tableRefused()
{
    QFETCH(SequenceTexts, texts);
    QFETCH(std::string, message);
    const mq7410::Status checked = mq7410::checkTable(texts);
    QVERIFY(!checked);
    QCOMPARE(QString::fromStdString(checked.failure().text), QString::fromStdString(message));
}

void TestSequenceFile::readAndWritten_data()
{
    QTest::addColumn<std::string>("bytes");
    QTest::addColumn<SequenceTexts>("texts");
    QTest::addColumn<bool>("written"); // writeSequence writes these very bytes
    const auto add
            = [](const char *tag, const std::string &bytes, bool written, Change change = nullptr) {
                  SequenceTexts texts = validTexts();
                  if (change)
                      change(texts);
                  QTest::newRow(tag) << bytes << texts << written;
              };

    // Step k's row holds Time k and row k's boxes, the finish row those of row 0.
    add("1 cycle: no repeat row", validFile(), true);
    add("repeat row 0: until Stop", validFile() + "repeat,0,,,,\n", true,
        [](SequenceTexts &t) { t.repeat = 0; });
    add("repeat row 9999, the most", validFile() + "repeat,9999,,,,\n", true,
        [](SequenceTexts &t) { t.repeat = 9999; });
    add("repeat row 1, not written", validFile() + "repeat,1,,,,\n", false);
    add("quoted only where needed",
        replaced(validFile("\n1,5,1,0.1,", "\n1,\" 5\",\"say \"\"1\"\"\",\"1,5 \","),
                 "finish,,0,0,", "finish,,12 В,5\u00a0,"),
        true, [](SequenceTexts &t) {
            t.time(1) = " 5";
            t.value(1, SetPoint::Ch1Voltage) = R"(say "1")";
            t.value(1, SetPoint::Ch1Current) = "1,5 ";
            t.value(mq7410::FinishRow, SetPoint::Ch1Voltage) = "12 В";
            t.value(mq7410::FinishRow, SetPoint::Ch1Current) = "5\u00a0";
        });
    add("64 characters, the most in a cell", validFile("\n1,5,", "\n1," + times(64, "µ") + ","),
        true, [](SequenceTexts &t) { t.time(1) = times(64, "µ"); });
    add("blanks at the ends left unquoted", validFile("\n1,5,1,", "\n1, 5,1 ,"), false,
        [](SequenceTexts &t) {
            t.time(1) = " 5";
            t.value(1, SetPoint::Ch1Voltage) = "1 ";
        });
    add("CR LF", validFile("\n", "\r\n"), false);
    add("byte-order mark, CR LF", "\xEF\xBB\xBF" + validFile("\n", "\r\n"), false);
    add("no line end after finish", validFile("0,0,0,0\n", "0,0,0,0"), false);
    add("empty lines passed over", "\n" + validFile("\n2,", "\r\n\n2,") + "\n\n", false);
}

void TestSequenceFile::readAndWritten()
{
    QFETCH(std::string, bytes);
    QFETCH(SequenceTexts, texts);
    QFETCH(bool, written);
    const Result result = mq7410::readSequence(bytes);
    QCOMPARE(problem(result), QString());
    QVERIFY(std::get<SequenceTexts>(result) == texts);
    if (written)
        QCOMPARE(QString::fromStdString(mq7410::writeSequence(texts)),
                 QString::fromStdString(bytes));
}

void TestSequenceFile::malformedFile_data()
{
    QTest::addColumn<std::string>("bytes");
    QTest::addColumn<std::string>("message");
    const auto add = [](const char *tag, const std::string &bytes, const std::string &where,
                        const std::string &expected) {
        QTest::newRow(tag) << bytes << "steps.csv" + where + ": expected " + expected;
    };
    const std::string header = "step,time_s,ch1_v,ch1_a,ch2_v,ch2_a";
    const std::string wantHeader = "the header \"" + header + "\", found ";
    const std::string noLabel = ", which is no row's label (1 to 9, finish, repeat)";
    const std::string boxCell = "a cell a box can show, found ";
    const std::string repeatCount = "a repeat count, a whole number of 0 (until Stop) to 9999, ";

    add("empty file", "", ", line 1, column 1", wantHeader + "the end of the file");
    add("header missing", validFile().substr(header.size() + 1), ", line 1, column 1",
        wantHeader + "\"1\"");
    add("heading misspelt, after a BOM", "\xEF\xBB\xBF" + validFile("ch1_a", "CH1_A"),
        ", line 1, column 19", R"(the column "ch1_a", found "CH1_A")");
    add("step out of order", validFile("\n3,", "\n4,"), ", line 4, column 1",
        R"(the step label "3", found "4")");
    add("step repeated", validFile("\n3,", "\n2,"), ", line 4, column 1",
        R"(the step label "3", found "2" again)");
    add("unknown step label", validFile("finish", "Finish"), ", line 11, column 1",
        R"(the label "finish", found "Finish")" + noLabel);
    add("a long label is cut short", validFile("finish", "this label is much too long"),
        ", line 11, column 1", R"(the label "finish", found "this label is much t...")" + noLabel);
    add("row one cell short", validFile("\n2,5,1,0.1,2,0.2", "\n2,5,1,0.1,2"),
        ", line 3, column 12", "the ch2_a cell of step 2, found the end of the line");
    add("file ends before finish", validFile().substr(0, validFile().rfind("finish")),
        ", line 11, column 1", R"(the label "finish", found the end of the file)");
    add("file ends before step 9", validFile().substr(0, validFile().rfind("\n9,") + 1),
        ", line 10, column 1", R"(the step label "9", found the end of the file)");
    add("finish row with a time", validFile("finish,,", "finish,5,"), ", line 11, column 8",
        R"(no time in the finish row, found "5")");
    add("quote inside an unquoted cell", validFile("\n1,5,", "\n1,5\","), ", line 2, column 4",
        "quotes around a cell that holds a quote, found a quote in an unquoted cell");
    add("blank after the closing quote", validFile("\n1,5,", "\n1,\"5\" ,"), ", line 2, column 6",
        "a comma or a line end after the closing quote, found a blank");
    add("quote never closed", validFile("0,0,0,0\n", "0,0,0,\"0"), ", line 11, column 15",
        "a closing quote to the cell that opens here, found the end of the file");
    add("columns count characters", validFile("\n1,5,1,0.1,2,0.2", "\n1,µµ,1,0.1,2,0.2,x"),
        ", line 2, column 18", R"(the end of the row after ch2_a, found "x")");
    add("CR alone ends a line", validFile("\n3,", "\r3,"), ", line 3, column 16",
        "a line end of LF or CR LF, found a CR alone");
    add("tab in a quoted cell", validFile("\n3,5,", "\n3,\"3\t2\","), ", line 4, column 5",
        boxCell + "a tab");
    add("line break in a quoted cell", validFile("\n2,5,", "\n2,\"5\r\n\","), ", line 3, column 5",
        boxCell + "a line break");
    add("65 characters in a cell, one over", validFile("\n1,5,", "\n1," + times(65, "µ") + ","),
        ", line 2, column 67", boxCell + "a cell longer than 64 characters");
    add("NUL byte", validFile("\n4,5,", std::string("\n4,5\0,", 6)), ", line 5, column 4",
        "text, found a NUL byte, as in a binary file");
    add("C1 control U+009F", validFile("\n4,5,", "\n4,5\xC2\x9F,"), ", line 5, column 4",
        "text, found the control character U+009F");
    add("overlong UTF-8 form", validFile("\n1,5,", "\n1,é\xC0\xAF,"), ", line 2, column 4",
        "UTF-8 text, found the byte 0xC0");
    add("repeat count 10000, one over", validFile() + "repeat,10000,,,,\n", ", line 12, column 8",
        repeatCount + "found \"10000\"");
    add("repeat count not whole", validFile() + "repeat,1.5,,,,\n", ", line 12, column 8",
        repeatCount + "found \"1.5\"");
    add("cell after the repeat count", validFile() + "repeat,2,,x,,\n", ", line 12, column 11",
        R"(an empty cell after the repeat count, found "x")");
    add("row after the repeat row", validFile() + "repeat,2,,,,\n9,5,1,0.1,2,0.2\n",
        ", line 13, column 1", R"(the end of the file after the repeat row, found "9")");
    add("other label after finish", validFile() + "\nRepeat,2,,,,\n", ", line 13, column 1",
        R"(the label "repeat" or the end of the file after the finish row, found "Repeat")"
                + noLabel);
    const std::string tooBig = validFile() + std::string(mq7410::MaxSequenceFileBytes, '\n');
    add("over 1 MiB", tooBig, "", "a file of at most 1 MiB (1048576 bytes), found a larger one");
}

void TestSequenceFile::malformedFile()
{
    QFETCH(std::string, bytes);
    QFETCH(std::string, message);
    QCOMPARE(problem(mq7410::readSequence(bytes)), QString::fromStdString(message));
}

void TestSequenceFile::exampleLoads_data()
{
    QTest::addColumn<std::string>("name");
    QTest::newRow("ramp") << std::string("ramp.csv");
    QTest::newRow("burn-in") << std::string("burn-in.csv");
}

void TestSequenceFile::exampleLoads()
{
    QFETCH(std::string, name);
    std::ifstream file(std::string(MQ7410_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    QVERIFY(file.good());
    const Result result = mq7410::readSequence(bytes.str());
    QCOMPARE(problem(result), QString());
    const auto &texts = std::get<SequenceTexts>(result);
    for (int row = 0; row < mq7410::RowCount; ++row) {
        for (const auto setPoint : mq7410::AllSetPoints) {
            const std::string &text = texts.value(row, setPoint);
            QVERIFY2(mq7410::tableCell(text, setPoint), text.c_str()); // within 32 V, 3 A
        }
    }
}

QTEST_GUILESS_MAIN(TestSequenceFile)
#include "tst_sequencefile.moc"
