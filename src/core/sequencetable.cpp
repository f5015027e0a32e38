// SPDX-License-Identifier: GPL-3.0-or-later
#include "sequencetable.h"

#include "entrycheck.h"
#include "textnumber.h"
#include "utf8.h"

#include <cmath>
#include <cstdio>

namespace mq7410 {

SequenceTexts SequenceTexts::initial()
{
    SequenceTexts texts;
    texts.times.fill("0");
    for (auto &row : texts.values)
        row.fill("0");
    return texts;
}

std::string rowName(int row)
{
    return row == FinishRow ? "Finish" : "Step " + std::to_string(row);
}

Status checkBoxText(std::string_view text)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++characters) {
        const std::size_t length = utf8Length(text, i);
        if (length == 0)
            return Failure{FailureKind::BadValue, "it is not UTF-8 text"};
        if (const int code = controlCode(text.substr(i, length)); code >= 0) {
            char name[24];
            std::snprintf(name, sizeof name, "U+%04X", code);
            const std::string what = code == '\t' ? "a tab"
                                     : code == '\n' || code == '\r'
                                             ? "a line break"
                                             : "the control character " + std::string(name);
            return Failure{FailureKind::BadValue, "it holds " + what + ", which a box cannot show"};
        }
        i += length;
    }
    if (characters > MaxBoxText) {
        return Failure{FailureKind::BadValue, "it is longer than the " + std::to_string(MaxBoxText)
                                                      + " characters a box takes"};
    }
    return {};
}

int stepSeconds(std::string_view text)
{
    const double read = textToNumber(text);
    if (!std::isfinite(read) || !(read > 0.0))
        return 0;
    if (read > MaxStepSeconds)
        return MaxStepSeconds;
    return static_cast<int>(std::round(read));
}

SequenceNumbers numbersOf(const SequenceTexts &texts)
{
    SequenceNumbers numbers;
    for (int step = 1; step <= StepCount; ++step)
        numbers.seconds[std::size_t(step - 1)] = stepSeconds(texts.time(step));
    for (int row = 0; row < RowCount; ++row) {
        for (const SetPoint setPoint : AllSetPoints) {
            valueOf(numbers.rows[std::size_t(row)], setPoint)
                    = tableCell(texts.value(row, setPoint), setPoint).value_or(0);
        }
    }
    numbers.cycles = texts.repeat;
    return numbers;
}

} // namespace mq7410
