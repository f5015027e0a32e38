// SPDX-License-Identifier: GPL-3.0-or-later
#include "console.h"

#include "lineformat.h"

#include <unistd.h>

namespace mq7410::sim {

namespace {

constexpr const char *ClearLine = "\r\033[K";

} // namespace

std::string printableBytes(const std::string &bytes)
{
    std::string text;
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 0x20 && code < 0x7F && byte != '\\' && byte != '"') {
            text += byte;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", code);
            text += escaped;
        }
    }
    return text;
}

Console::Console(std::FILE *out)
    : m_out(out)
    , m_terminal(::isatty(::fileno(out)) == 1)
{}

void Console::started(std::int64_t timeNs, const std::string &device, const SupplyState &state)
{
    m_startNs = timeNs;
    m_state = state;
    // Tests and scripts read this first line; it must leave at once.
    std::fprintf(m_out, "device: %s\n", device.c_str());
    if (m_terminal)
        std::fputs(m_state.statusText().c_str(), m_out);
    else
        print(timeNs, "state   " + m_state.statusText());
    std::fflush(m_out);
}

void Console::lineSettingsChanged(std::int64_t timeNs, const LineSettings &settings,
                                  SettingsSeen seen)
{
    // Settings that a panel left behind when it closed the line reach nobody: no warning.
    std::string text = "line settings " + settings.text();
    if (seen == SettingsSeen::AtStart)
        text += "  (at start)";
    else if (seen == SettingsSeen::WhileHeld && !settings.matchesSupply())
        text += "  WARNING: the supply listens at " + SupplyLineFormat.text();
    print(timeNs, text);
}

void Console::frameReceived(std::int64_t timeNs, const Frame &frame, const SupplyState &after)
{
    m_state = after;
    print(timeNs, frame.text + "  " + describeFrame(frame));
    if (!m_terminal)
        print(timeNs, "state   " + m_state.statusText());
}

void Console::bytesSkipped(std::int64_t timeNs, const Skipped &skipped)
{
    print(timeNs, "skipped " + std::to_string(skipped.bytes.size()) + " bytes \""
                          + printableBytes(skipped.bytes) + "\": " + reasonText(skipped.reason));
}

void Console::unplugged(std::int64_t timeNs)
{
    print(timeNs, "unplugged: the line is hung up");
}

void Console::replugged(std::int64_t timeNs, const std::string &device)
{
    // The same line as at the start, for whoever follows the device by it.
    if (m_terminal)
        std::fputs(ClearLine, m_out);
    std::fprintf(m_out, "device: %s\n", device.c_str());
    print(timeNs, "plugged in again");
}

void Console::stopped(std::int64_t timeNs, StopReason reason, std::uint64_t frames)
{
    print(timeNs, "stopped (" + std::string(stopReasonKey(reason)) + ") after "
                          + std::to_string(frames) + " frames");
    if (m_terminal)
        std::fputc('\n', m_out); // leave the status line on screen
    std::fflush(m_out);
}

void Console::print(std::int64_t timeNs, const std::string &text)
{
    if (m_terminal)
        std::fputs(ClearLine, m_out);
    std::fprintf(m_out, "%8.3f s  %s\n", double(timeNs - m_startNs) / 1e9, text.c_str());
    if (m_terminal)
        std::fputs(m_state.statusText().c_str(), m_out);
    std::fflush(m_out);
}

} // namespace mq7410::sim
