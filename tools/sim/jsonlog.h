// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The events as JSON lines in a file, one object a line, flushed at once so that a test or a
// benchmark can read the file while the supply runs. The README describes the records.

#include "eventsink.h"
#include "failure.h"

#include <cstdio>

namespace mq7410::sim {

class JsonLog : public EventSink
{
public:
    JsonLog() = default;
    ~JsonLog() override;
    JsonLog(const JsonLog &) = delete;
    JsonLog &operator=(const JsonLog &) = delete;

    // Creates or empties the file.
    Status open(const std::string &path);

    void started(std::int64_t timeNs, const std::string &device, const SupplyState &state) override;
    void lineSettingsChanged(std::int64_t timeNs, const LineSettings &settings,
                             SettingsSeen seen) override;
    void frameReceived(std::int64_t timeNs, const Frame &frame, const SupplyState &after) override;
    void bytesSkipped(std::int64_t timeNs, const Skipped &skipped) override;
    void unplugged(std::int64_t timeNs) override;
    void replugged(std::int64_t timeNs, const std::string &device) override;
    void stopped(std::int64_t timeNs, StopReason reason, std::uint64_t frames) override;

private:
    // `fields` continue the object after "event" and "t_ns": ,"key":value...
    void write(const char *event, std::int64_t timeNs, const std::string &fields);

    std::FILE *m_file = nullptr;
};

// A JSON string literal holding the bytes, each byte read as the character of the same
// number (ISO 8859-1), so that any bytes give valid JSON.
std::string jsonString(const std::string &bytes);

} // namespace mq7410::sim
