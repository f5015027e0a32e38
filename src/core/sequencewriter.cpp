// SPDX-License-Identifier: GPL-3.0-or-later
// A step table as a sequence file, and the check that the file will read back as the table.

#include "csvrecord.h"
#include "sequencefile.h"
#include "sequencegrammar.h"

#include <vector>

namespace mq7410 {

// A cell is at most MaxBoxText characters of at most 4 bytes, and quoting at most doubles a
// 1-byte quote: no table checkTable passes can reach the reader's size limit.
static_assert(std::size_t(RepeatFileRow + 1) * SequenceCellCount * (4 * MaxBoxText + 3)
              < MaxSequenceFileBytes);

namespace {

Status checkBox(const std::string &name, const std::string &text)
{
    if (Status fits = checkBoxText(text); !fits)
        return Failure{fits.failure().kind, name + ": " + fits.failure().text};
    return {};
}

} // namespace

Status checkTable(const SequenceTexts &texts)
{
    for (int fileRow = 1; fileRow <= FinishFileRow; ++fileRow) { // in the file's order
        const int row = tableRowOf(fileRow);
        if (row != FinishRow) {
            if (Status fits = checkBox(rowName(row) + " time", texts.time(row)); !fits)
                return fits;
        }
        for (const SetPoint setPoint : AllSetPoints) {
            const std::string name = rowName(row) + ' ' + nameOf(setPoint);
            if (Status fits = checkBox(name, texts.value(row, setPoint)); !fits)
                return fits;
        }
    }
    if (!isRepeatCount(texts.repeat)) {
        return Failure{FailureKind::OutOfRange,
                       "Repeat count: " + std::to_string(texts.repeat) + " is not 1 to "
                               + std::to_string(MaxRepeat) + ", or 0 for until Stop"};
    }
    return {};
}

std::string writeSequence(const SequenceTexts &texts)
{
    std::string file = csvRecord({SequenceHeadings.begin(), SequenceHeadings.end()});
    for (int fileRow = 1; fileRow <= FinishFileRow; ++fileRow) {
        const int row = tableRowOf(fileRow);
        std::vector<std::string> cells{fileRowLabel(fileRow),
                                       row == FinishRow ? std::string() : texts.time(row)};
        for (const SetPoint setPoint : AllSetPoints)
            cells.push_back(texts.value(row, setPoint));
        file += csvRecord(cells);
    }
    if (texts.repeat != RepeatWithoutRow) {
        file += csvRecord(
                {fileRowLabel(RepeatFileRow), std::to_string(texts.repeat), {}, {}, {}, {}});
    }
    return file;
}

} // namespace mq7410
