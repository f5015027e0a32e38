#include "sequencetable.h"

#include "entrycheck.h"
#include "textnumber.h"

#include <cmath>

namespace mq7410 {

SequenceTexts SequenceTexts::initial()
{
    SequenceTexts texts;
    texts.times.fill("0");
    for (auto &row : texts.values)
        row.fill("0");
    return texts;
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
    return numbers;
}

} // namespace mq7410
