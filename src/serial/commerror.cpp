#include "serial/commerror.h"

#include <array>
#include <cstdio>

namespace mq7410 {

namespace {

struct NamedCode
{
    std::int16_t code;
    const char *text;
};

constexpr std::array<NamedCode, 8> openErrors{{
        {-1, "Invalid or Unsupported ID"},
        {-2, "Device already open"},
        {-3, "Device not Open"},
        {-4, "Unable to allocate queues"},
        {-5, "Error in default parameters"},
        {-10, "Hardware not present"},
        {-11, "Illegal byte size"},
        {-12, "Unsupported baudrate"},
}};

// Indexed by bit number; bits 13 and 14 have no text.
constexpr std::array<const char *, 16> bitTexts{
        "Receive queue overflow",
        "Receive overrun error",
        "Receive parity error",
        "Receive framing error",
        "Break detected",
        "CTS timeout",
        "DSR timeout",
        "RLSD timeout",
        "Tx queue is full",
        "LPTx timeout",
        "LPTx I/O error",
        "LPTx device not selected",
        "LPTx out of paper",
        nullptr,
        nullptr,
        "Requested mode unsupported",
};

std::string unlistedMessage(std::int16_t code)
{
    // Decimal with a blank in place of the sign when not negative, then the 16 bits in hex.
    char text[48];
    std::snprintf(text, sizeof text, "Unlist error :%s%d (&H%X)", code < 0 ? "" : " ", int(code),
                  unsigned(std::uint16_t(code)));
    return text;
}

} // namespace

std::string commErrorMessage(std::int16_t code)
{
    for (const NamedCode &named : openErrors) {
        if (named.code == code)
            return named.text;
    }
    std::string message = unlistedMessage(code);
    const auto bits = std::uint16_t(code);
    // Ascending order, each set bit replacing the message: the highest one with a text wins.
    for (std::size_t bit = 0; bit < bitTexts.size(); ++bit) {
        if ((bits & (1u << bit)) != 0 && bitTexts[bit] != nullptr)
            message = bitTexts[bit];
    }
    return message;
}

} // namespace mq7410
