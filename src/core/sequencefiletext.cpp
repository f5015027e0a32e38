// SPDX-License-Identifier: GPL-3.0-or-later
#include "sequencefiletext.h"

#include "utf8.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace mq7410 {

namespace {

constexpr int ShownCharacters = 20; // of a cell quoted in a message: the box is one line

std::string hex(int value, const char *format)
{
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), format, value);
    return text.data();
}

} // namespace

void advance(FilePosition &at, char first)
{
    if (first == '\n') {
        ++at.line;
        at.column = 1;
    } else {
        ++at.column;
    }
}

SequenceFileError errorAt(FilePosition at, std::string expected)
{
    return {at.line, at.column, std::move(expected)};
}

std::optional<SequenceFileError> checkFileText(std::string_view text)
{
    FilePosition at;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8Length(text, i);
        if (length == 0) {
            const int byte = static_cast<unsigned char>(text[i]);
            return errorAt(at, "UTF-8 text, found the byte " + hex(byte, "0x%02X"));
        }
        const int control = controlCode(text.substr(i, length));
        if (control == 0)
            return errorAt(at, "text, found a NUL byte, as in a binary file");
        if (control > 0 && control != '\t' && control != '\r' && control != '\n')
            return errorAt(at, "text, found the control character " + hex(control, "U+%04X"));
        advance(at, text[i]);
        i += length;
    }
    return {};
}

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

bool CellText::isText(char first)
{
    if (!m_quoted)
        return first != ',' && first != '\r' && first != '\n';
    if (!m_opened) {
        m_opened = true;
        return false;
    }
    if (first == '"') {
        m_quotePend = !m_quotePend;
        return !m_quotePend; // the second of two
    }
    return !m_quotePend; // else the cell is closed: a comma, a line end, or libcsv refuses it
}

std::string CellText::take(std::string_view character)
{
    if (!isText(character.front()))
        return {};
    const int control = controlCode(character);
    if (control == '\t')
        return "a tab";
    if (control == '\r' || control == '\n')
        return "a line break";
    if (++m_characters > MaxBoxText) // other controls are the whole file's check
        return "a cell longer than " + std::to_string(MaxBoxText) + " characters";
    return {};
}

} // namespace mq7410
