// SPDX-License-Identifier: GPL-3.0-or-later
#include "framedecoder.h"

#include <algorithm>

namespace mq7410 {

namespace {

enum class Verdict { WholeFrame, NeedMore, Reject };

struct Judgement
{
    Verdict verdict = Verdict::Reject;
    SkipReason reason = SkipReason::UnknownCode;
    std::size_t length = 0;
};

bool isPatternPrefix(std::string_view body)
{
    return OutputOnPattern.starts_with(body) || OutputOffPattern.starts_with(body);
}

// Can the bytes `text` start a frame? Looks only as far as the candidate frame reaches.
Judgement judge(std::string_view text)
{
    if (text[0] != '8')
        return {Verdict::Reject, SkipReason::UnknownCode};
    if (text.size() < CodeLength)
        return {Verdict::NeedMore};
    const std::optional<Command> command = commandFromCode(text[0], text[1]);
    if (!command)
        return {Verdict::Reject, SkipReason::UnknownCode};

    const auto length = static_cast<std::size_t>(frameLength(*command));
    const std::string_view body = text.substr(CodeLength, length - CodeLength);
    if (!std::all_of(body.begin(), body.end(), isFieldCharacter))
        return {Verdict::Reject, SkipReason::BadFieldCharacter};
    if (*command == Command::Output && !isPatternPrefix(body))
        return {Verdict::Reject, SkipReason::BadOutputPattern};
    if (text.size() < length)
        return {Verdict::NeedMore};
    return {Verdict::WholeFrame, SkipReason::UnknownCode, length};
}

} // namespace

std::vector<DecodeEvent> FrameDecoder::feed(std::string_view bytes)
{
    std::vector<DecodeEvent> events;
    // One byte at a time keeps m_pending below one frame, however large the chunk.
    for (char byte : bytes) {
        m_pending.push_back(byte);
        decodePending(events, false);
    }
    closeSkipped(events);
    return events;
}

std::vector<DecodeEvent> FrameDecoder::finish()
{
    std::vector<DecodeEvent> events;
    decodePending(events, true);
    closeSkipped(events);
    return events;
}

void FrameDecoder::decodePending(std::vector<DecodeEvent> &events, bool atEnd)
{
    while (!m_pending.empty()) {
        const Judgement judgement = judge(m_pending);
        switch (judgement.verdict) {
        case Verdict::NeedMore:
            if (!atEnd)
                return;
            skipFirst(SkipReason::Truncated, events);
            break;
        case Verdict::Reject:
            skipFirst(judgement.reason, events);
            break;
        case Verdict::WholeFrame:
            closeSkipped(events);
            events.emplace_back(
                    *parseFrame(std::string_view(m_pending).substr(0, judgement.length)));
            m_pending.erase(0, judgement.length);
            break;
        }
    }
}

void FrameDecoder::skipFirst(SkipReason reason, std::vector<DecodeEvent> &events)
{
    if (m_skipped.bytes.empty())
        m_skipped.reason = reason;
    m_skipped.bytes.push_back(m_pending.front());
    m_pending.erase(0, 1);
    if (m_skipped.bytes.size() == MaxSkippedReport)
        closeSkipped(events);
}

void FrameDecoder::closeSkipped(std::vector<DecodeEvent> &events)
{
    if (m_skipped.bytes.empty())
        return;
    events.emplace_back(std::move(m_skipped));
    m_skipped = Skipped();
}

const char *reasonKey(SkipReason reason)
{
    switch (reason) {
    case SkipReason::UnknownCode:
        return "unknown_code";
    case SkipReason::BadFieldCharacter:
        return "bad_field_character";
    case SkipReason::BadOutputPattern:
        return "bad_output_pattern";
    case SkipReason::Truncated:
        return "truncated";
    }
    return "unknown_code";
}

const char *reasonText(SkipReason reason)
{
    switch (reason) {
    case SkipReason::UnknownCode:
        return "unknown command code";
    case SkipReason::BadFieldCharacter:
        return "field character not upper-case hex";
    case SkipReason::BadOutputPattern:
        return "output pattern neither F0F0 nor 0F0F";
    case SkipReason::Truncated:
        return "stream ended inside a frame";
    }
    return "unknown command code";
}

} // namespace mq7410
