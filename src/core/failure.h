// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one way the program says that something did not happen: a Failure, with a kind that a
// caller can act on and a text for a person. Result<T> is a value or a Failure; Result<void>
// is nothing or a Failure.

#include <cassert>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace mq7410 {

enum class FailureKind {
    Busy,       // not now: a run is active, or the line still holds part of an earlier frame
    OutOfRange, // beyond the supply's range or the user's limits
    BadValue,   // a text or number the rule cannot take
    Line,       // the line refused a frame, or a frame was cut
    Port,       // no such port, or it could not be opened
    File,       // a file could not be read or written, or is not a sequence file
};

struct Failure
{
    FailureKind kind = FailureKind::BadValue;
    std::string text;

    bool operator==(const Failure &) const = default;
};

template<typename T>
class [[nodiscard]] Result
{
public:
    Result(T value)
        : m_value(std::move(value))
    {}
    Result(Failure failure)
        : m_value(std::move(failure))
    {}

    bool ok() const { return m_value.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T &value() const
    {
        assert(ok());
        return std::get<0>(m_value);
    }
    T &value()
    {
        assert(ok());
        return std::get<0>(m_value);
    }
    const T &operator*() const { return value(); }
    const T *operator->() const { return &value(); }
    const Failure &failure() const
    {
        assert(!ok());
        return std::get<1>(m_value);
    }

private:
    std::variant<T, Failure> m_value;
};

template<>
class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Failure failure)
        : m_failure(std::move(failure))
    {}

    bool ok() const { return !m_failure; }
    explicit operator bool() const { return ok(); }
    const Failure &failure() const
    {
        assert(!ok());
        return *m_failure;
    }

private:
    std::optional<Failure> m_failure;
};

using Status = Result<void>;

} // namespace mq7410
