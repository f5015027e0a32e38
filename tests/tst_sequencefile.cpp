// The sequence files: every box's text comes back as typed, and a file that cannot be read
// says where and what was expected.

#include "core/entrycheck.h"
#include "core/sequencefile.h"

#include <QTest>

#include <fstream>
#include <sstream>
#include <string>
#include <variant>

using mq7410::SequenceFileError;
using mq7410::SequenceTexts;

Q_DECLARE_METATYPE(std::string)

namespace {

// Line 1 the header, line k + 1 step k (5 s at 1 V 0.1 A, 2 V 0.2 A), line 11 the finish row.
std::string validFile()
{
    std::string file = "step,time_s,ch1_v,ch1_a,ch2_v,ch2_a\n";
    for (int step = 1; step <= mq7410::StepCount; ++step)
        file += std::to_string(step) + ",5,1,0.1,2,0.2\n";
    return file + "finish,,0,0,0,0\n";
}

// The valid file with every `from` replaced by `to`.
std::string validFile(const std::string &from, const std::string &to)
{
    std::string text = validFile();
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

using Result = std::variant<SequenceTexts, SequenceFileError>;

// The line the error box would show, empty when the file reads.
QString problem(const Result &result)
{
    const auto *error = std::get_if<SequenceFileError>(&result);
    return error ? QString::fromStdString(mq7410::errorText("steps.csv", *error)) : QString();
}

} // namespace

class TestSequenceFile : public QObject
{
    Q_OBJECT
private slots:
    void awkwardTextsComeBackAsTyped();
    void lineEndsAndByteOrderMark_data();
    void lineEndsAndByteOrderMark();
    void malformedFile_data();
    void malformedFile();
    void exampleLoads_data();
    void exampleLoads();
};

void TestSequenceFile::awkwardTextsComeBackAsTyped()
{
    SequenceTexts texts; // every box a text of its own, so that no two can be swapped unseen
    texts.times = {"t1", "1,5", "t3", "t4", "t5", "t6", "t7", "t8", ""};
    for (std::size_t row = 0; row < mq7410::RowCount; ++row) {
        const std::string r = std::to_string(row);
        texts.values[row] = {r + "0", r + "1", r + "2", r + "3"};
    }
    texts.values[0] = {"12 В, 0,5 А ✓", "01", "02", ""};
    texts.values[1] = {" 0", R"(say "1.5A")", "12", "13"};
    texts.values[4][2] = "two\nlines\r\nand CR\r";
    texts.values[5][0] = "5\u00a0V"; // a no-break space is text; U+009F before it is not
    texts.values[9][3] = "\t3 ";

    const std::string file = mq7410::writeSequence(texts);
    const Result result = mq7410::readSequence(file);
    QCOMPARE(problem(result), QString());
    QVERIFY(std::get<SequenceTexts>(result) == texts);
    // Step k's row holds Time k and row k's boxes, the finish row those of row 0; a cell is
    // quoted only when it has to be.
    QVERIFY(file.find("\n1,t1,\" 0\",\"say \"\"1.5A\"\"\",12,13\n") != std::string::npos);
    QVERIFY(file.find("\n2,\"1,5\",20,21,22,23\n") != std::string::npos);
    QVERIFY(file.find("\n9,,90,91,92,\"\t3 \"\n") != std::string::npos);
    QVERIFY(file.ends_with("\nfinish,,\"12 В, 0,5 А ✓\",01,02,\n"));
    // A hand-written file may leave blanks unquoted: they belong to the text all the same.
    const Result unquoted = mq7410::readSequence(validFile("\n1,5,1,", "\n1, 5,1\t,"));
    QCOMPARE(problem(unquoted), QString());
    QVERIFY(std::get<SequenceTexts>(unquoted).time(1) == " 5");
    QVERIFY(std::get<SequenceTexts>(unquoted).values[1][0] == "1\t");
}

void TestSequenceFile::lineEndsAndByteOrderMark_data()
{
    QTest::addColumn<std::string>("bytes");
    QTest::newRow("CR LF") << validFile("\n", "\r\n");
    QTest::newRow("byte-order mark, CR LF") << "\xEF\xBB\xBF" + validFile("\n", "\r\n");
    QTest::newRow("no line end after finish") << validFile("0,0,0,0\n", "0,0,0,0");
    QTest::newRow("empty lines passed over") << "\n" + validFile("\n2,", "\r\n\n2,") + "\n\n";
}

void TestSequenceFile::lineEndsAndByteOrderMark()
{
    QFETCH(std::string, bytes);
    const Result result = mq7410::readSequence(bytes);
    QCOMPARE(problem(result), QString());
    QVERIFY(result == mq7410::readSequence(validFile()));
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
        R"(the label "finish", found "Finish", which is neither 1 to 9 nor finish)");
    add("a long label is cut short", validFile("finish", "this label is much too long"),
        ", line 11, column 1",
        R"(the label "finish", found "this label is much t...", which is neither 1 to 9 nor finish)");
    add("row one cell short", validFile("\n2,5,1,0.1,2,0.2", "\n2,5,1,0.1,2"),
        ", line 3, column 12", "the ch2_a cell of step 2, found the end of the line");
    add("file ends before finish", validFile().substr(0, validFile().rfind("finish")),
        ", line 11, column 1", R"(the label "finish", found the end of the file)");
    add("file ends before step 9", validFile().substr(0, validFile().rfind("\n9,") + 1),
        ", line 10, column 1", R"(the step label "9", found the end of the file)");
    add("row after finish", validFile() + "\n1,5,1,0.1,2,0.2\n", ", line 13, column 1",
        R"(the end of the file after the finish row, found "1")");
    add("finish row with a time", validFile("finish,,", "finish,5,"), ", line 11, column 8",
        R"(no time in the finish row, found "5")");
    add("quote inside an unquoted cell", validFile("\n1,5,", "\n1,5\","), ", line 2, column 4",
        "quotes around a cell that holds a quote, found a quote in an unquoted cell");
    add("blank after the closing quote", validFile("\n1,5,", "\n1,\"5\" ,"), ", line 2, column 6",
        "a comma or a line end after the closing quote, found a blank");
    add("quote never closed", validFile("\n9,", "\n9,\""), ", line 10, column 3",
        "a closing quote to the cell that opens here, found the end of the file");
    add("line break in a quoted cell counts",
        validFile("\n1,5,1,0.1,2,0.2", "\n1,\"5\n\n\",1,0.1,2,0.2,x"), ", line 4, column 15",
        R"(the end of the row after ch2_a, found "x")");
    add("columns count characters", validFile("\n1,5,1,0.1,2,0.2", "\n1,µµ,1,0.1,2,0.2,x"),
        ", line 2, column 18", R"(the end of the row after ch2_a, found "x")");
    add("CR alone ends a line", validFile("\n3,", "\r3,"), ", line 3, column 16",
        "a line end of LF or CR LF, found a CR alone");
    add("NUL byte", validFile("\n4,5,", std::string("\n4,5\0,", 6)), ", line 5, column 4",
        "text, found a NUL byte, as in a binary file");
    add("C1 control U+009F", validFile("\n4,5,", "\n4,5\xC2\x9F,"), ", line 5, column 4",
        "text, found the control character U+009F");
    add("overlong UTF-8 form", validFile("\n1,5,", "\n1,é\xC0\xAF,"), ", line 2, column 4",
        "UTF-8 text, found the byte 0xC0");
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
