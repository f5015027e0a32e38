// SPDX-License-Identifier: GPL-3.0-or-later
#include "jsonlog.h"

#include <cerrno>
#include <cstring>

namespace mq7410::sim {

namespace {

std::string jsonBool(bool value)
{
    return value ? "true" : "false";
}

std::string stateObject(const SupplyState &state)
{
    return "{\"ch1_voltage\":" + std::to_string(state.ch1.voltage)
           + ",\"ch1_current\":" + std::to_string(state.ch1.current)
           + ",\"ch2_voltage\":" + std::to_string(state.ch2.voltage) + ",\"ch2_current\":"
           + std::to_string(state.ch2.current) + ",\"output\":" + jsonBool(state.outputOn)
           + ",\"link\":" + jsonBool(state.seriesLink) + "}";
}

std::string hexOf(const std::string &bytes)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        hex += digits[code >> 4];
        hex += digits[code & 0xF];
    }
    return hex;
}

} // namespace

std::string jsonString(const std::string &bytes)
{
    std::string text = "\"";
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (byte == '"' || byte == '\\') {
            text += '\\';
            text += byte;
        } else if (code >= 0x20 && code < 0x7F) {
            text += byte;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", code);
            text += escaped;
        }
    }
    return text + '"';
}

JsonLog::~JsonLog()
{
    if (m_file)
        std::fclose(m_file);
}

Status JsonLog::open(const std::string &path)
{
    m_file = std::fopen(path.c_str(), "w");
    if (!m_file)
        return Failure{FailureKind::File, "cannot write " + path + ": " + std::strerror(errno)};
    return {};
}

void JsonLog::started(std::int64_t timeNs, const std::string &device, const SupplyState &state)
{
    write("start", timeNs,
          ",\"device\":" + jsonString(device) + ",\"state\":" + stateObject(state));
}

void JsonLog::lineSettingsChanged(std::int64_t timeNs, const LineSettings &settings,
                                  SettingsSeen seen)
{
    const std::string baud = settings.baud >= 0 ? std::to_string(settings.baud) : "null";
    write("settings", timeNs,
          ",\"baud\":" + baud + ",\"data_bits\":" + std::to_string(settings.dataBits)
                  + ",\"parity\":" + jsonString(settings.parity)
                  + ",\"stop_bits\":" + std::to_string(settings.stopBits)
                  + ",\"flow_control\":" + jsonString(settings.flowControl)
                  + ",\"matches_supply\":" + jsonBool(settings.matchesSupply())
                  + ",\"initial\":" + jsonBool(seen == SettingsSeen::AtStart));
}

void JsonLog::frameReceived(std::int64_t timeNs, const Frame &frame, const SupplyState &after)
{
    write("frame", timeNs,
          ",\"frame\":" + jsonString(frame.text)
                  + ",\"code\":" + jsonString(frame.text.substr(0, CodeLength))
                  + ",\"text\":" + jsonString(describeFrame(frame)) + ",\"out_of_range\":"
                  + jsonBool(frame.outOfRange()) + ",\"state\":" + stateObject(after));
}

void JsonLog::bytesSkipped(std::int64_t timeNs, const Skipped &skipped)
{
    write("skipped", timeNs,
          R"(,"bytes":)" + jsonString(skipped.bytes) + R"(,"hex":")" + hexOf(skipped.bytes)
                  + R"(","count":)" + std::to_string(skipped.bytes.size())
                  + ",\"reason\":" + jsonString(reasonKey(skipped.reason)));
}

void JsonLog::unplugged(std::int64_t timeNs)
{
    write("unplug", timeNs, {});
}

void JsonLog::replugged(std::int64_t timeNs, const std::string &device)
{
    write("replug", timeNs, ",\"device\":" + jsonString(device));
}

void JsonLog::stopped(std::int64_t timeNs, StopReason reason, std::uint64_t frames)
{
    write("stop", timeNs,
          ",\"reason\":" + jsonString(stopReasonKey(reason))
                  + ",\"frames\":" + std::to_string(frames));
}

void JsonLog::write(const char *event, std::int64_t timeNs, const std::string &fields)
{
    if (!m_file)
        return;
    std::fprintf(m_file, "{\"event\":\"%s\",\"t_ns\":%lld%s}\n", event,
                 static_cast<long long>(timeNs), fields.c_str());
    std::fflush(m_file);
}

} // namespace mq7410::sim
