// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a sequence file: libcsv splits the cells, the Reader holds them to the rows.

#include "sequencefile.h"
#include "sequencefiletext.h"
#include "sequencegrammar.h"
#include "utf8.h"

#include <csv.h>

#include <algorithm>
#include <charconv>
#include <new>
#include <optional>

namespace mq7410 {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view LoneCarriageReturn = "a line end of LF or CR LF, found a CR alone";

std::string quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

// The label file row `fileRow` must start with, as a message names it.
std::string expectedLabel(int fileRow)
{
    const std::string label = quoted(fileRowLabel(fileRow));
    if (fileRow <= StepCount)
        return "the step label " + label;
    if (fileRow == FinishFileRow)
        return "the label " + label;
    return "the label " + label + " or the end of the file after the finish row";
}

std::string ownerOf(int fileRow)
{
    return fileRow <= StepCount ? "step " + fileRowLabel(fileRow)
                                : "the " + fileRowLabel(fileRow) + " row";
}

// Digits only, as the writer writes them, and a count the table takes.
std::optional<int> repeatCount(std::string_view text)
{
    const auto isDigit = [](char c) {
        return c >= '0' && c <= '9';
    };
    int count = 0;
    if (text.empty() || !std::all_of(text.begin(), text.end(), isDigit)
        || std::from_chars(text.data(), text.data() + text.size(), count).ec != std::errc()
        || !isRepeatCount(count))
        return {};
    return count;
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
    void takeRepeat(int column, std::string_view text);
    void endRow(int end);
    void failOnParser(csv_parser *parser, std::string_view character); // empty: at the end
    void fail(FilePosition at, std::string expected);
    bool failed() const { return m_error.has_value(); }

    std::string_view m_text;
    FilePosition m_at; // of the character being read
    FilePosition m_cellAt;
    bool m_cellQuoted = false;
    CellText m_cellText{false};
    bool m_inCell = false;
    bool m_rowBegun = false;
    std::optional<FilePosition> m_carriageReturn; // that ended a line: LF must follow
    int m_fileRow = 0;                            // the header is 0
    int m_column = 0;
    SequenceTexts m_texts; // a file without a repeat row plays RepeatWithoutRow cycles
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
            m_cellText = CellText(m_cellQuoted);
        }
        const std::string_view character = m_text.substr(i, length);
        if (m_inCell) {
            if (const std::string found = m_cellText.take(character); !found.empty()) {
                fail(m_at, "a cell a box can show, found " + found);
                break;
            }
        }
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
    if (!failed() && m_fileRow <= FinishFileRow) {
        const std::string what = m_fileRow == 0 ? "the header " + quoted(SequenceHeader)
                                                : expectedLabel(m_fileRow);
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
    if (column >= SequenceCellCount) {
        fail(m_cellAt, "the end of the row after ch2_a, found " + shown(text));
    } else if (m_fileRow == 0) {
        if (text == SequenceHeadings.at(column))
            return;
        const std::string what = column == 0 ? "the header " + quoted(SequenceHeader)
                                             : "the column " + quoted(SequenceHeadings.at(column));
        fail(m_cellAt, what + ", found " + shown(text));
    } else if (m_fileRow > RepeatFileRow) {
        fail(m_cellAt, "the end of the file after the repeat row, found " + shown(text));
    } else if (column == 0) {
        takeLabel(text);
    } else if (m_fileRow == RepeatFileRow) {
        takeRepeat(column, text);
    } else if (column == 1 && m_fileRow <= StepCount) {
        m_texts.time(m_fileRow) = text;
    } else if (column == 1 && !text.empty()) {
        fail(m_cellAt, "no time in the finish row, found " + shown(text));
    } else if (column > 1) {
        m_texts.value(tableRowOf(m_fileRow), AllSetPoints.at(column - 2)) = text;
    }
}

void Reader::takeLabel(std::string_view label)
{
    if (label == fileRowLabel(m_fileRow))
        return;
    const int labelled = fileRowOf(label);
    const char *why = labelled == 0          ? ", which is no row's label (1 to 9, finish, repeat)"
                      : labelled < m_fileRow ? " again"
                                             : "";
    fail(m_cellAt, expectedLabel(m_fileRow) + ", found " + shown(label) + why);
}

void Reader::takeRepeat(int column, std::string_view text)
{
    if (column == 1 && !repeatCount(text)) {
        fail(m_cellAt, "a repeat count, a whole number of 0 (until Stop) to "
                               + std::to_string(MaxRepeat) + ", found " + shown(text));
    } else if (column == 1) {
        m_texts.repeat = *repeatCount(text);
    } else if (!text.empty()) {
        fail(m_cellAt, "an empty cell after the repeat count, found " + shown(text));
    }
}

void Reader::endRow(int end)
{
    if (m_column < SequenceCellCount) {
        const std::string_view heading = SequenceHeadings.at(m_column);
        const std::string what
                = m_fileRow == 0 ? "the column " + quoted(heading)
                                 : "the " + std::string(heading) + " cell of " + ownerOf(m_fileRow);
        fail(m_at,
             what + (end < 0 ? ", found the end of the file" : ", found the end of the line"));
        return;
    }
    if (end == '\r')
        m_carriageReturn = m_at;
    ++m_fileRow;
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

void Reader::fail(FilePosition at, std::string expected)
{
    if (!failed())
        m_error = errorAt(at, std::move(expected));
}

} // namespace

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
    if (std::optional<SequenceFileError> error = checkFileText(bytes))
        return *error;
    return Reader(bytes).read();
}

} // namespace mq7410
