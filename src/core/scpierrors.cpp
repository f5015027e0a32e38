// SPDX-License-Identifier: GPL-3.0-or-later
#include "scpierrors.h"

#include <utility>

namespace mq7410 {
namespace {

constexpr int QueueOverflow = -350;

// The event bit an error of `code`'s class sets.
int eventBitOf(int code)
{
    if (isCommandError(code))
        return ScpiStatus::CommandError;
    if (code <= -200 && code > -300)
        return ScpiStatus::ExecutionError;
    if (code <= -400 && code > -500)
        return ScpiStatus::QueryError;
    return ScpiStatus::DeviceError;
}

} // namespace

std::string scpiErrorText(int code)
{
    switch (code) {
    case 0:
        return "No error";
    case -100:
        return "Command error";
    case -102:
        return "Syntax error";
    case -103:
        return "Invalid separator";
    case -104:
        return "Data type error";
    case -108:
        return "Parameter not allowed";
    case -109:
        return "Missing parameter";
    case -113:
        return "Undefined header";
    case -120:
        return "Numeric data error";
    case -131:
        return "Invalid suffix";
    case -138:
        return "Suffix not allowed";
    case -200:
        return "Execution error";
    case -221:
        return "Settings conflict";
    case -222:
        return "Data out of range";
    case -224:
        return "Illegal parameter value";
    case -241:
        return "Hardware missing";
    case -300:
        return "Device-specific error";
    case -350:
        return "Queue overflow";
    case -363:
        return "Input buffer overrun";
    case -400:
        return "Query error";
    default:
        break;
    }
    const int eventBit = eventBitOf(code);
    return eventBit == ScpiStatus::CommandError     ? "Command error"
           : eventBit == ScpiStatus::ExecutionError ? "Execution error"
           : eventBit == ScpiStatus::QueryError     ? "Query error"
                                                    : "Device-specific error";
}

std::string formatScpiError(const ScpiError &error)
{
    std::string text = scpiErrorText(error.code);
    if (!error.detail.empty())
        text += ';' + error.detail;
    std::string quoted = std::to_string(error.code) + ",\"";
    bool blank = false; // a run of control characters becomes one blank
    for (const char c : text) {
        const bool control = static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        if (control && !blank)
            quoted += ' ';
        blank = control;
        if (control)
            continue;
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

ScpiError scpiErrorOf(const Failure &failure)
{
    switch (failure.kind) {
    case FailureKind::Busy:
        return {-221, failure.text};
    case FailureKind::OutOfRange:
        return {-222, failure.text};
    case FailureKind::BadValue:
        return {-224, failure.text};
    case FailureKind::Line:
    case FailureKind::Port:
    case FailureKind::File:
        break;
    }
    return {-300, failure.text};
}

void ScpiStatus::push(const ScpiError &error)
{
    m_eventStatus |= eventBitOf(error.code);
    if (m_queue.size() < QueueSize) {
        m_queue.push_back(error);
        return;
    }
    m_queue.back() = ScpiError{QueueOverflow, {}};
}

std::string ScpiStatus::takeNext()
{
    if (m_queue.empty())
        return formatScpiError({});
    const ScpiError error = std::move(m_queue.front());
    m_queue.pop_front();
    return formatScpiError(error);
}

int ScpiStatus::takeEventStatus()
{
    return std::exchange(m_eventStatus, 0);
}

int ScpiStatus::statusByte() const
{
    int status = 0;
    if (!m_queue.empty())
        status |= ErrorQueueBit;
    if ((m_eventStatus & m_eventEnable) != 0)
        status |= EventSummaryBit;
    if ((status & m_serviceEnable) != 0)
        status |= ServiceRequestBit;
    return status;
}

void ScpiStatus::clear()
{
    m_queue.clear();
    m_eventStatus = 0;
}

} // namespace mq7410
