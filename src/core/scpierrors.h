// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The error queue and the IEEE 488.2 status registers of one SCPI client. An SCPI error is
// not a failure of the program: it is an event the client reads back (SYSTem:ERRor?), with a
// code its software acts on, so it travels as an ScpiError rather than a Failure.

#include "failure.h"

#include <deque>
#include <string>
#include <string_view>

namespace mq7410 {

struct ScpiError
{
    int code = 0;
    std::string detail; // what it is about; may be empty

    bool operator==(const ScpiError &) const = default;
};

// The standard text of `code` ("Syntax error"); its class's text for a code without one.
std::string scpiErrorText(int code);

// `-102,"Syntax error;detail"` as SYSTem:ERRor? answers it: quotes doubled, control characters
// (line breaks included) flattened to blanks.
std::string formatScpiError(const ScpiError &error);

// The error a refusal of the panel stands for: Busy -221, OutOfRange -222, BadValue -224, and
// -300 for the line.
ScpiError scpiErrorOf(const Failure &failure);

// Whether `code` is a command error (-100 to -199): it ends the parse of its line.
constexpr bool isCommandError(int code)
{
    return code <= -100 && code > -200;
}

class ScpiStatus
{
public:
    static constexpr std::size_t QueueSize = 16;
    // Standard Event Status Register bits.
    static constexpr int OperationComplete = 1 << 0;
    static constexpr int QueryError = 1 << 2;
    static constexpr int DeviceError = 1 << 3;
    static constexpr int ExecutionError = 1 << 4;
    static constexpr int CommandError = 1 << 5;
    // Status byte bits.
    static constexpr int ErrorQueueBit = 1 << 2;
    static constexpr int EventSummaryBit = 1 << 5;
    static constexpr int ServiceRequestBit = 1 << 6;

    // Queues the error and sets its event bit. A full queue keeps its first entries and says
    // in its last one that it overflowed.
    void push(const ScpiError &error);
    // The oldest entry, formatted, taken off the queue; `0,"No error"` when there is none.
    std::string takeNext();
    bool queueEmpty() const { return m_queue.empty(); }

    void setOperationComplete() { m_eventStatus |= OperationComplete; }
    int eventStatus() const { return m_eventStatus; }
    // *ESR?: reading the register clears it.
    int takeEventStatus();
    int eventEnable() const { return m_eventEnable; }
    void setEventEnable(int mask) { m_eventEnable = mask; }
    int serviceEnable() const { return m_serviceEnable; }
    // Bit 6 is the summary itself: it cannot be enabled.
    void setServiceEnable(int mask) { m_serviceEnable = mask & ~ServiceRequestBit; }
    int statusByte() const;
    // *CLS: the queue and the event register.
    void clear();

private:
    std::deque<ScpiError> m_queue;
    int m_eventStatus = 0;
    int m_eventEnable = 0;
    int m_serviceEnable = 0;
};

} // namespace mq7410
