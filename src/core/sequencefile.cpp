#include "sequencefile.h"

#include "csvrecord.h"
#include "utf8.h"

#include <csv.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <new>
#include <optional>
#include <vector>

namespace mq7410 {

namespace {

constexpr int CellCount = 2 + SetPointCount;
constexpr std::array<std::string_view, CellCount> Headings{"step",  "time_s", "ch1_v",
                                                           "ch1_a", "ch2_v",  "ch2_a"};
constexpr std::string_view Header = "step,time_s,ch1_v,ch1_a,ch2_v,ch2_a";
constexpr std::string_view FinishLabel = "finish";
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view LoneCarriageReturn = "a line end of LF or CR LF, found a CR alone";
constexpr int ShownCharacters = 20; // of a cell quoted in a message: the box is one line

struct Position
{
    int line = 1;
    int column = 1;
};

// To the character after the one that starts with `first`.
void advance(Position &at, char first)
{
    if (first == '\n') {
        ++at.line;
        at.column = 1;
    } else {
        ++at.column;
    }
}

// A control character other than tab, CR and LF, which the file's grammar gives a meaning.
int strayControl(std::string_view character)
{
    const int code = controlCode(character);
    return code == '\t' || code == '\r' || code == '\n' ? -1 : code;
}

std::string hex(int value, const char *format)
{
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), format, value);
    return text.data();
}

SequenceFileError errorAt(Position at, std::string expected)
{
    return {at.line, at.column, std::move(expected)};
}

// Text first: a binary file is told as such, not by the first cell it breaks.
std::optional<SequenceFileError> checkText(std::string_view text)
{
    Position at;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8Length(text, i);
        if (length == 0) {
            const int byte = static_cast<unsigned char>(text[i]);
            return errorAt(at, "UTF-8 text, found the byte " + hex(byte, "0x%02X"));
        }
        const int control = strayControl(text.substr(i, length));
        if (control == 0)
            return errorAt(at, "text, found a NUL byte, as in a binary file");
        if (control > 0)
            return errorAt(at, "text, found the control character " + hex(control, "U+%04X"));
        advance(at, text[i]);
        i += length;
    }
    return {};
}

// A cell as a message quotes it, on one line and not too long.
std::string shown(std::string_view cell)
{
    if (cell.empty())
        return "an empty cell";
    std::string text = "\"";
    std::size_t i = 0;
    for (int characters = 0; i < cell.size() && characters < ShownCharacters; ++characters) {
        const std::size_t length = std::max<std::size_t>(utf8Length(cell, i), 1);
        const bool lineBreakOrTab = cell[i] == '\t' || cell[i] == '\r' || cell[i] == '\n';
        text += lineBreakOrTab ? std::string_view(" ") : cell.substr(i, length);
        i += length;
    }
    return text + (i < cell.size() ? "...\"" : "\"");
}

std::string quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

std::string labelOf(int row)
{
    return row <= StepCount ? std::to_string(row) : std::string(FinishLabel);
}

// The label row `row` must start with, as a message names it.
std::string expectedLabel(int row)
{
    return row <= StepCount ? "the step label " + quoted(labelOf(row))
                            : "the label " + quoted(FinishLabel);
}

// 1 to 9 for a step's label, RowCount for the finish row's, 0 for anything else.
int rowOfLabel(std::string_view label)
{
    for (int row = 1; row <= RowCount; ++row) {
        if (label == labelOf(row))
            return row;
    }
    return 0;
}

std::string ownerOf(int row)
{
    return row <= StepCount ? "step " + labelOf(row) : "the finish row";
}

// libcsv's defaults trim blanks and tabs around unquoted cells; a box's " 0" must stay so.
int isNeverSpace(unsigned char /*c*/)
{
    return 0;
}

class Parser
{
public:
    Parser()
    {
        if (csv_init(&m_parser, CSV_STRICT | CSV_STRICT_FINI) != 0)
            throw std::bad_alloc();
        csv_set_space_func(&m_parser, isNeverSpace);
    }
    ~Parser() { csv_free(&m_parser); }
    Parser(const Parser &) = delete;
    Parser &operator=(const Parser &) = delete;

    csv_parser *get() { return &m_parser; }

private:
    csv_parser m_parser{};
};

// Feeds libcsv one character at a time: its callbacks then come while the position of the
// character that ends a cell or a row is known.
class Reader
{
public:
    explicit Reader(std::string_view text)
        : m_text(text)
    {}

    std::variant<SequenceTexts, SequenceFileError> read();

private:
    static void onCell(void *data, std::size_t size, void *self);
    static void onRowEnd(int end, void *self);
    void takeCell(std::string_view text);
    void takeLabel(std::string_view label);
    void endRow(int end);
    void failOnParser(csv_parser *parser, std::string_view character); // empty: at the end
    void fail(Position at, std::string expected);
    bool failed() const { return m_error.has_value(); }

    std::string_view m_text;
    Position m_at; // of the character being read
    Position m_cellAt;
    bool m_cellQuoted = false;
    bool m_inCell = false;
    bool m_rowBegun = false;
    std::optional<Position> m_carriageReturn; // that ended a line: LF must follow
    int m_row = 0;                            // the header is row 0, the finish row RowCount
    int m_column = 0;
    SequenceTexts m_texts;
    std::optional<SequenceFileError> m_error;
};

std::variant<SequenceTexts, SequenceFileError> Reader::read()
{
    Parser parser;
    for (std::size_t i = 0; i < m_text.size() && !failed();) {
        const std::size_t length = std::max<std::size_t>(utf8Length(m_text, i), 1);
        const char first = m_text[i];
        if (m_carriageReturn && first != '\n') {
            fail(*m_carriageReturn, std::string(LoneCarriageReturn));
            break;
        }
        m_carriageReturn.reset();
        const bool lineEnd = first == '\r' || first == '\n';
        if (!m_rowBegun && lineEnd) {
            if (first == '\r') // of an empty line, which libcsv passes over
                m_carriageReturn = m_at;
        } else if (!m_inCell) {
            m_inCell = m_rowBegun = true;
            m_cellAt = m_at;
            m_cellQuoted = first == '"';
        }
        const std::string_view character = m_text.substr(i, length);
        if (csv_parse(parser.get(), character.data(), length, onCell, onRowEnd, this) != length)
            failOnParser(parser.get(), character);
        advance(m_at, first);
        i += length;
    }
    if (!failed() && m_carriageReturn)
        fail(*m_carriageReturn, std::string(LoneCarriageReturn));
    if (!failed()) {
        if (m_rowBegun && !m_inCell) { // the empty cell after a last comma
            m_cellAt = m_at;
            m_cellQuoted = false;
        }
        if (csv_fini(parser.get(), onCell, onRowEnd, this) != 0)
            failOnParser(parser.get(), {});
    }
    if (!failed() && m_row <= RowCount) {
        const std::string what = m_row == 0 ? "the header " + quoted(Header) : expectedLabel(m_row);
        fail(m_at, what + ", found the end of the file");
    }
    if (failed())
        return *m_error;
    return m_texts;
}

void Reader::onCell(void *data, std::size_t size, void *self)
{
    auto *reader = static_cast<Reader *>(self);
    reader->m_inCell = false;
    if (!reader->failed())
        reader->takeCell(size == 0 ? std::string_view()
                                   : std::string_view(static_cast<const char *>(data), size));
}

void Reader::onRowEnd(int end, void *self)
{
    auto *reader = static_cast<Reader *>(self);
    reader->m_rowBegun = false;
    if (!reader->failed())
        reader->endRow(end);
}

void Reader::takeCell(std::string_view text)
{
    const int column = m_column++;
    if (column >= CellCount) {
        fail(m_cellAt, "the end of the row after ch2_a, found " + shown(text));
    } else if (m_row == 0) {
        if (text == Headings.at(column))
            return;
        const std::string what = column == 0 ? "the header " + quoted(Header)
                                             : "the column " + quoted(Headings.at(column));
        fail(m_cellAt, what + ", found " + shown(text));
    } else if (m_row > RowCount) {
        fail(m_cellAt, "the end of the file after the finish row, found " + shown(text));
    } else if (column == 0) {
        takeLabel(text);
    } else if (column == 1 && m_row <= StepCount) {
        m_texts.time(m_row) = text;
    } else if (column == 1 && !text.empty()) {
        fail(m_cellAt, "no time in the finish row, found " + shown(text));
    } else if (column > 1) {
        const int row = m_row <= StepCount ? m_row : FinishRow;
        m_texts.value(row, AllSetPoints.at(column - 2)) = text;
    }
}

void Reader::takeLabel(std::string_view label)
{
    if (label == labelOf(m_row))
        return;
    const std::string what = expectedLabel(m_row);
    const int labelled = rowOfLabel(label);
    const char *why = labelled == 0      ? ", which is neither 1 to 9 nor finish"
                      : labelled < m_row ? " again"
                                         : "";
    fail(m_cellAt, what + ", found " + shown(label) + why);
}

void Reader::endRow(int end)
{
    if (m_column < CellCount) {
        const std::string_view heading = Headings.at(m_column);
        const std::string what
                = m_row == 0 ? "the column " + quoted(heading)
                             : "the " + std::string(heading) + " cell of " + ownerOf(m_row);
        fail(m_at,
             what + (end < 0 ? ", found the end of the file" : ", found the end of the line"));
        return;
    }
    if (end == '\r')
        m_carriageReturn = m_at;
    ++m_row;
    m_column = 0;
}

void Reader::failOnParser(csv_parser *parser, std::string_view character)
{
    if (csv_error(parser) != CSV_EPARSE)
        throw std::bad_alloc(); // the one other error libcsv has
    if (character.empty()) {
        fail(m_cellAt, "a closing quote to the cell that opens here, found the end of the file");
    } else if (m_cellQuoted) {
        const std::string found = character == " "    ? "a blank"
                                  : character == "\t" ? "a tab"
                                                      : quoted(character);
        fail(m_at, "a comma or a line end after the closing quote, found " + found);
    } else {
        fail(m_at, "quotes around a cell that holds a quote, found a quote in an unquoted cell");
    }
}

void Reader::fail(Position at, std::string expected)
{
    if (!failed())
        m_error = errorAt(at, std::move(expected));
}

} // namespace

std::string writeSequence(const SequenceTexts &texts)
{
    std::string file = csvRecord(std::vector<std::string>(Headings.begin(), Headings.end()));
    const auto rowOf = [&texts](std::string label, std::string time, int row) {
        std::vector<std::string> cells{std::move(label), std::move(time)};
        for (const SetPoint setPoint : AllSetPoints)
            cells.push_back(texts.value(row, setPoint));
        return csvRecord(cells);
    };
    for (int step = 1; step <= StepCount; ++step)
        file += rowOf(labelOf(step), texts.time(step), step);
    return file + rowOf(std::string(FinishLabel), {}, FinishRow);
}

std::variant<SequenceTexts, SequenceFileError> readSequence(std::string_view bytes)
{
    if (bytes.size() > MaxSequenceFileBytes) {
        // The caller may read only one byte more than allowed: the size found is not told.
        return SequenceFileError{0, 0,
                                 "a file of at most 1 MiB (" + std::to_string(MaxSequenceFileBytes)
                                         + " bytes), found a larger one"};
    }
    if (bytes.substr(0, ByteOrderMark.size()) == ByteOrderMark)
        bytes.remove_prefix(ByteOrderMark.size());
    if (std::optional<SequenceFileError> error = checkText(bytes))
        return *error;
    return Reader(bytes).read();
}

std::string errorText(const std::string &fileName, const SequenceFileError &error)
{
    std::string text = fileName;
    if (error.line > 0) {
        text += ", line " + std::to_string(error.line);
        if (error.column > 0)
            text += ", column " + std::to_string(error.column);
    }
    return text + ": expected " + error.expected;
}

} // namespace mq7410
