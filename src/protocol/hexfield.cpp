#include "hexfield.h"

#include <algorithm>

namespace mq7410 {

std::string HexField(int value)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    const int field = std::clamp(value, 0, 0xFFF);
    std::string text(4, '0');
    for (int i = 3, rest = field; i >= 0; --i, rest >>= 4)
        text[i] = Digits[rest & 0xF];
    return text;
}

} // namespace mq7410
