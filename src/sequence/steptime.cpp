#include "steptime.h"

#include "common/textnumber.h"

#include <cmath>

namespace mq7410 {

double stepSeconds(std::string_view text)
{
    const double read = TextToNumber(text);
    if (!std::isfinite(read) || !(read > 0.0)) // negative, zero, or not finite (1e999)
        return 0.0;
    if (read > MaxStepSeconds)
        return MaxStepSeconds;
    return std::round(read);
}

} // namespace mq7410
