#include "hostiletext.h"

#include <array>
#include <string_view>

namespace mq7410::randomtest {

namespace {

template<typename T, std::size_t N>
const T &pick(Rng &rng, const std::array<T, N> &items)
{
    return items[std::uniform_int_distribution<std::size_t>(0, N - 1)(rng)];
}

int below(Rng &rng, int n)
{
    return std::uniform_int_distribution<int>(0, n - 1)(rng);
}

// Pieces that build typed texts: digits, the number's punctuation, letters, non-ASCII.
constexpr std::array<std::string_view, 40> TypedPieces = {
        "0",  "1",  "2", "3",  "4", "5",  "6", "7",  "8",  "9",      "0",      "1", "2", "3",
        "32", "3.", ".", ".5", "-", "+",  "e", "E",  "e-", "1",      " ",      " ", "a", "A",
        "x",  ",",  "é", "€",  "Ω", "中", "٣", "１", "٫",  "\u00a0", "\u2212", "0",
};

// Whole texts known to sit on an edge of the rules.
constexpr std::array<std::string_view, 44> EdgeTexts = {
        "32",
        "32.01",
        "32.005",
        "31.999999",
        "3",
        "3.0001",
        "3.00000001",
        "12.345",
        "2.675",
        "0.125",
        "0.375",
        "0.0005",
        "1.5A",
        "abc",
        "",
        " 0",
        "-0",
        "-1",
        "-0.0000001",
        "-1e-50",
        "1e999",
        "-1e999",
        "1e-400",
        "--1",
        "++1",
        "+-1",
        "1e",
        "1e+",
        "1E1",
        ".5e1",
        "2 0",
        "\t1\n5",
        "1,5",
        "0x1F",
        "inf",
        "nan",
        "3e0",
        "32e-0",
        "0.32e2",
        "3200e-2",
        "1e38",
        "3.4e39",
        "99999999999999999999999",
        "0.000000000000000000001",
};

constexpr std::array<std::string_view, 24> TimeTexts = {
        "0",   "1",    "2",    "3",    "1",   "2",   "0.5",      "1.5",
        "2.5", "-1",   "-0.4", " 2 ",  "1 0", "abc", "1e999",    "-1e999",
        "",    "2.49", "0.49", "-0.5", "3e0", "1E0", "999999.5", "1e-400",
};

// Characters for pasted texts only: control characters, line breaks, astral planes.
constexpr std::array<std::string_view, 12> PastePieces = {
        "\t", "\n", "\r", "\x01", "\x7f", "😀", "𝟙", "\u200b", "\u202e", "\ufeff", "\ufffd", "\\",
};

std::string repeated(std::string_view piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

} // namespace

std::string typedText(Rng &rng, bool timeBox)
{
    if (timeBox && below(rng, 2) == 0)
        return std::string(
                pick(rng, std::array<std::string_view, 6>{"0", "1", "2", "3", "1", ".5"}));
    std::string text;
    const int pieces = 1 + below(rng, 6);
    for (int i = 0; i < pieces; ++i)
        text += pick(rng, TypedPieces);
    return text;
}

std::string pastedText(Rng &rng, bool timeBox)
{
    switch (below(rng, 10)) {
    case 0:
    case 1:
    case 2:
        return std::string(timeBox ? pick(rng, TimeTexts) : pick(rng, EdgeTexts));
    case 3: // thousands of characters
        switch (below(rng, 4)) {
        case 0:
            return repeated("9", 400);
        case 1:
            return "0." + repeated("0", 3000) + "1";
        case 2:
            return repeated(" ", 2000) + "1" + repeated("\t", 2000);
        default:
            return "1" + repeated("0", 1 + below(rng, 5000));
        }
    case 4: { // huge or tiny exponents
        const std::array<std::string_view, 6> exponents
                = {"e999", "e-999", "e308", "e-308", "e99999999999999999999", "e0"};
        return std::string(pick(rng, EdgeTexts)) + std::string(pick(rng, exponents));
    }
    default: {
        std::string text;
        const int pieces = 1 + below(rng, 10);
        for (int i = 0; i < pieces; ++i)
            text += below(rng, 3) == 0 ? pick(rng, PastePieces) : pick(rng, TypedPieces);
        return text;
    }
    }
}

} // namespace mq7410::randomtest
