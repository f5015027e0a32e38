// SPDX-License-Identifier: GPL-3.0-or-later
#include "textnumber.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

namespace mq7410 {
namespace {

bool isSkipped(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Walks the text with blanks, tabs and line feeds left out, as if they were never typed.
class Reader
{
public:
    explicit Reader(std::string_view text)
        : m_text(text)
    {
        skipBlanks();
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_pos]; }
    void next()
    {
        ++m_pos;
        skipBlanks();
    }
    std::size_t position() const { return m_pos; }
    void rewind(std::size_t pos) { m_pos = pos; }

private:
    void skipBlanks()
    {
        while (!atEnd() && isSkipped(m_text[m_pos]))
            ++m_pos;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

// Beyond these decimal exponents every double is infinite or zero; clamping keeps the
// arithmetic below far from overflow however long the typed exponent is.
constexpr std::int64_t ExponentClamp = 1'000'000'000;
constexpr std::int64_t OverflowExponent = 400;
constexpr std::int64_t UnderflowExponent = -400;

std::int64_t readExponent(Reader &in)
{
    const std::size_t start = in.position();
    in.next(); // the E
    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-') {
        negative = in.peek() == '-';
        in.next();
    }
    if (!isDigit(in.peek())) {
        in.rewind(start); // "1e" or "1e+x": the E does not belong to the number
        return 0;
    }
    std::int64_t value = 0;
    for (; isDigit(in.peek()); in.next())
        value = std::min<std::int64_t>(value * 10 + (in.peek() - '0'), ExponentClamp);
    return negative ? -value : value;
}

} // namespace

double textToNumber(std::string_view text)
{
    return readNumber(text).value;
}

NumberReading readNumber(std::string_view text)
{
    Reader in(text);
    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-') {
        negative = in.peek() == '-';
        in.next();
    }

    // The value is 0.<significant digits> x 10^exponent.
    std::string significant;
    std::int64_t exponent = 0;
    bool anyDigit = false;
    bool seenPoint = false;
    for (;; in.next()) {
        const char c = in.peek();
        if (isDigit(c)) {
            anyDigit = true;
            if (significant.empty() && c == '0') {
                if (seenPoint)
                    --exponent; // a zero right of the point moves the first digit down
            } else {
                significant.push_back(c);
                if (!seenPoint)
                    ++exponent;
            }
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return {0.0, !Reader(text).atEnd()};
    if (in.peek() == 'e' || in.peek() == 'E')
        exponent += readExponent(in);
    const bool rest = !in.atEnd();
    if (significant.empty())
        return {0.0, rest};

    const double infinity = std::numeric_limits<double>::infinity();
    double magnitude = 0.0;
    if (exponent > OverflowExponent) {
        magnitude = infinity;
    } else if (exponent >= UnderflowExponent) {
        const std::string canonical = "0." + significant + "e" + std::to_string(exponent);
        const auto result
                = std::from_chars(canonical.data(), canonical.data() + canonical.size(), magnitude);
        if (result.ec == std::errc::result_out_of_range)
            magnitude = exponent > 0 ? infinity : 0.0;
    }
    return {negative ? -magnitude : magnitude, rest};
}

} // namespace mq7410
