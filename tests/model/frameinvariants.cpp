#include "frameinvariants.h"

#include <string>

namespace mq7410::model {

namespace {

struct Form
{
    std::string_view code;
    std::string_view fields; // one letter a field: V voltage, I current, P output pattern
};

constexpr Form Forms[] = {
        {"87", "I"}, {"88", "V"},    {"89", "I"},  {"8A", "V"},
        {"8C", "P"}, {"8D", "VIVI"}, {"8E", "IV"}, {"8F", "IV"},
};

int upperHexValue(std::string_view field)
{
    int value = 0;
    for (const char c : field) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

} // namespace

std::string frameProblem(std::string_view frame)
{
    const Form *form = nullptr;
    for (const Form &candidate : Forms) {
        if (frame.substr(0, 2) == candidate.code)
            form = &candidate;
    }
    if (!form)
        return "unknown command code";
    if (frame.size() != 2 + 4 * form->fields.size())
        return "length " + std::to_string(frame.size()) + " for code " + std::string(form->code);
    for (std::size_t i = 0; i < form->fields.size(); ++i) {
        const std::string_view field = frame.substr(2 + 4 * i, 4);
        const char kind = form->fields[i];
        if (kind == 'P') {
            if (field != "F0F0" && field != "0F0F")
                return "output pattern " + std::string(field);
            continue;
        }
        const int value = upperHexValue(field);
        if (value < 0)
            return "field " + std::string(field) + " is not upper-case hex";
        const int limit = kind == 'V' ? 3200 : 3000;
        if (value > limit)
            return std::string(kind == 'V' ? "voltage " : "current ") + std::to_string(value)
                   + " above " + std::to_string(limit);
    }
    return {};
}

} // namespace mq7410::model
