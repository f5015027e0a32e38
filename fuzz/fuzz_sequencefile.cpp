// SPDX-License-Identifier: GPL-3.0-or-later
// The sequence file reader on any bytes: no crash, no hang, an error placed inside the file,
// and a table that reads passes checkTable and is written and read again to the very same
// texts and repeat count.

#include "fuzzcheck.h"

#include "sequencefile.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const auto read = mq7410::readSequence(bytes);
    if (const auto *error = std::get_if<mq7410::SequenceFileError>(&read)) {
        const auto lines = std::count(bytes.begin(), bytes.end(), '\n') + 1;
        FUZZ_CHECK(error->line >= 0 && error->line <= lines, "line %d of %ld", error->line,
                   static_cast<long>(lines));
        FUZZ_CHECK(error->column >= 0 && std::size_t(error->column) <= size + 1, "column %d",
                   error->column);
        FUZZ_CHECK((error->line == 0) == (size > mq7410::MaxSequenceFileBytes),
                   "line %d for %zu bytes", error->line, size);
        FUZZ_CHECK(!error->expected.empty(), "an error without a message");
        return 0;
    }
    const auto &texts = std::get<mq7410::SequenceTexts>(read);
    const mq7410::Status checked = mq7410::checkTable(texts);
    FUZZ_CHECK(checked.ok(), "a table that reads cannot be saved: %s",
               checked.failure().text.c_str());
    const std::string written = mq7410::writeSequence(texts);
    const auto again = mq7410::readSequence(written);
    const auto *reread = std::get_if<mq7410::SequenceTexts>(&again);
    FUZZ_CHECK(reread != nullptr, "the written file does not read: %s",
               mq7410::errorText("written", std::get<mq7410::SequenceFileError>(again)).c_str());
    FUZZ_CHECK(*reread == texts, "the written file reads to other texts or another repeat count");
    return 0;
}
