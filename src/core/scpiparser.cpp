// SPDX-License-Identifier: GPL-3.0-or-later
#include "scpiparser.h"

#include <algorithm>
#include <variant>

namespace mq7410 {
namespace {

constexpr int SyntaxError = -102;
constexpr int InvalidSeparator = -103;
constexpr int DataTypeError = -104;
constexpr int NumericDataError = -120;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// IEEE 488.2 white space: every control character and the blank (the line feed ends a line
// before it gets here).
bool isWhiteSpace(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

template<typename T>
using Parsed = std::variant<T, ScpiError>;

class Reader
{
public:
    explicit Reader(std::string_view line)
        : m_line(line)
    {}

    ScpiMessage message()
    {
        ScpiMessage message;
        for (;;) {
            skipWhiteSpace();
            if (atEnd())
                return message;
            if (peek() == ';') { // an empty unit is no unit
                ++m_pos;
                continue;
            }
            const std::size_t start = m_pos;
            Parsed<ScpiUnit> unit = readUnit();
            if (auto *error = std::get_if<ScpiError>(&unit)) {
                message.error = std::move(*error);
                message.brokenUnit
                        = m_line.substr(start, std::min(m_pos + 1, m_line.size()) - start);
                return message;
            }
            message.units.push_back(std::move(std::get<ScpiUnit>(unit)));
        }
    }

private:
    bool atEnd() const { return m_pos >= m_line.size(); }
    char peek(std::size_t ahead = 0) const
    {
        return m_pos + ahead < m_line.size() ? m_line[m_pos + ahead] : '\0';
    }
    void skipWhiteSpace()
    {
        while (!atEnd() && isWhiteSpace(peek()))
            ++m_pos;
    }
    bool atUnitEnd() const { return atEnd() || peek() == ';'; }

    std::string readWord()
    {
        const std::size_t start = m_pos;
        if (isLetter(peek())) {
            while (isLetter(peek()) || isDigit(peek()) || peek() == '_')
                ++m_pos;
        }
        return std::string(m_line.substr(start, m_pos - start));
    }

    Parsed<ScpiUnit> readUnit()
    {
        ScpiUnit unit;
        const std::size_t start = m_pos;
        if (peek() == '*') {
            ++m_pos;
            std::string word = readWord();
            if (word.empty())
                return ScpiError{SyntaxError, "a common command needs a name after '*'"};
            unit.keywords.push_back('*' + word);
        } else {
            if (peek() == ':')
                ++m_pos;
            for (;;) {
                std::string word = readWord();
                if (word.empty())
                    return ScpiError{SyntaxError, "a header keyword is missing"};
                unit.keywords.push_back(std::move(word));
                if (peek() != ':')
                    break;
                ++m_pos;
            }
        }
        if (peek() == '?') {
            unit.query = true;
            ++m_pos;
        }
        unit.header = std::string(m_line.substr(start, m_pos - start));
        if (atUnitEnd())
            return unit;
        if (!isWhiteSpace(peek()))
            return ScpiError{InvalidSeparator, "a blank must follow the header"};
        skipWhiteSpace();
        while (!atUnitEnd()) {
            Parsed<ScpiParameter> parameter = readParameter();
            if (std::holds_alternative<ScpiError>(parameter))
                return std::get<ScpiError>(std::move(parameter));
            unit.parameters.push_back(std::get<ScpiParameter>(std::move(parameter)));
            skipWhiteSpace();
            if (atUnitEnd())
                break;
            if (peek() != ',')
                return ScpiError{InvalidSeparator, "parameters are separated by ','"};
            ++m_pos;
            skipWhiteSpace();
            if (atUnitEnd())
                return ScpiError{SyntaxError, "a parameter is missing after ','"};
        }
        if (!atEnd())
            ++m_pos; // the ';'
        return unit;
    }

    Parsed<ScpiParameter> readParameter()
    {
        const char c = peek();
        if (isDigit(c) || c == '+' || c == '-' || c == '.')
            return readNumber();
        if (isLetter(c))
            return ScpiParameter{ScpiDataType::Mnemonic, readWord(), {}};
        if (c == '\'' || c == '"')
            return readString();
        if (c == '(')
            return readChannelList();
        if (c == '#')
            return ScpiError{DataTypeError, "no command takes non-decimal numbers or blocks"};
        return ScpiError{SyntaxError, "no parameter starts with this character"};
    }

    Parsed<ScpiParameter> readNumber()
    {
        const std::size_t start = m_pos;
        if (peek() == '+' || peek() == '-')
            ++m_pos;
        bool anyDigit = false;
        for (; isDigit(peek()); ++m_pos)
            anyDigit = true;
        if (peek() == '.') {
            ++m_pos;
            for (; isDigit(peek()); ++m_pos)
                anyDigit = true;
        }
        if (!anyDigit)
            return ScpiError{NumericDataError, "a number needs a digit"};
        if (peek() == 'E' || peek() == 'e') {
            const bool signedExponent = peek(1) == '+' || peek(1) == '-';
            if (isDigit(peek(signedExponent ? 2 : 1))) {
                m_pos += signedExponent ? 2 : 1;
                while (isDigit(peek()))
                    ++m_pos;
            } else if (signedExponent) {
                return ScpiError{NumericDataError, "an exponent needs a digit"};
            } // else the E begins a suffix
        }
        ScpiParameter number{
                ScpiDataType::Number, std::string(m_line.substr(start, m_pos - start)), {}};
        const char next = peek();
        if (isDigit(next) || next == '.' || next == '+' || next == '-')
            return ScpiError{NumericDataError, "the number \"" + number.text + "\" goes on with \""
                                                       + std::string(1, next) + '"'};
        const std::size_t end = m_pos;
        skipWhiteSpace();
        if (isLetter(peek())) {
            const std::size_t suffixStart = m_pos;
            while (isLetter(peek()))
                ++m_pos;
            number.suffix = std::string(m_line.substr(suffixStart, m_pos - suffixStart));
        } else {
            m_pos = end;
        }
        return number;
    }

    // Quotes inside are doubled.
    Parsed<ScpiParameter> readString()
    {
        const char quote = peek();
        ++m_pos;
        ScpiParameter string{ScpiDataType::String, {}, {}};
        for (; !atEnd(); ++m_pos) {
            if (peek() != quote) {
                string.text += peek();
            } else if (peek(1) == quote) {
                string.text += quote;
                ++m_pos;
            } else {
                ++m_pos;
                return string;
            }
        }
        return ScpiError{SyntaxError, "a string has no closing quote"};
    }

    // Only the grammar: digits, ',' and ':' between "(@" and ")".
    Parsed<ScpiParameter> readChannelList()
    {
        if (peek(1) != '@')
            return ScpiError{DataTypeError, "no command takes expressions"};
        m_pos += 2;
        const std::size_t start = m_pos;
        for (; !atEnd() && peek() != ')'; ++m_pos) {
            if (!isDigit(peek()) && peek() != ',' && peek() != ':' && !isWhiteSpace(peek()))
                return ScpiError{SyntaxError, "a channel list holds channel numbers only"};
        }
        if (atEnd())
            return ScpiError{SyntaxError, "a channel list has no closing ')'"};
        ++m_pos;
        return ScpiParameter{ScpiDataType::ChannelList,
                             std::string(m_line.substr(start, m_pos - 1 - start)),
                             {}};
    }

    std::string_view m_line;
    std::size_t m_pos = 0;
};

} // namespace

ScpiMessage parseScpiLine(std::string_view line)
{
    return Reader(line).message();
}

} // namespace mq7410
