// SPDX-License-Identifier: GPL-3.0-or-later
// The SCPI language on the whole panel, for any bytes a client may send: no undefined
// behaviour, a command in error sends no frame, and no reply holds a line break (the server
// ends each with one). Runs go on between lines, as the clock moves.

#include "fuzzcheck.h"

#include "doubles.h"
#include "frontpanel.h"
#include "scpiinterpreter.h"

#include <cstdint>
#include <string_view>

namespace {

// The longest line the server passes on.
constexpr std::size_t MaxLine = 4096;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace mq7410;
    if (size == 0)
        return 0;
    test::RecordingLink link;
    test::ManualClock clock;
    FrontPanel panel(link, clock);
    // An odd first byte lowers the limits, so that MAX and the limit checks meet more than the
    // supply's own.
    if (data[0] % 2 == 1) {
        const auto volts = static_cast<std::int16_t>(data[0] * 10);
        const auto amps = static_cast<std::int16_t>(data[0] * 5);
        panel.setLimits({volts, amps, volts, amps});
    }
    ScpiInterpreter scpi(panel, {"maker", "model", "0", "0"});
    std::size_t sentBefore = 0;
    scpi.setOutcomeObserver([&](const ScpiOutcome &outcome) {
        FUZZ_CHECK(outcome.error == 0 || link.sent.size() == sentBefore,
                   "%s queued %d yet sent %zu frames", outcome.header.c_str(), outcome.error,
                   link.sent.size() - sentBefore);
        sentBefore = link.sent.size();
    });

    std::string_view input(reinterpret_cast<const char *>(data) + 1, size - 1);
    while (!input.empty()) {
        const std::size_t end = std::min(input.find('\n'), input.size());
        const std::string_view line = input.substr(0, end);
        input.remove_prefix(std::min(end + 1, input.size()));
        sentBefore = link.sent.size();
        if (line.size() > MaxLine) {
            (void)scpi.execute(FramedLine{{}, true});
            continue;
        }
        if (const std::optional<std::string> reply = scpi.execute(line))
            FUZZ_CHECK(reply->find('\n') == std::string::npos, "reply %s", reply->c_str());
        clock.advanceMs(700);
        panel.tick();
    }
    return 0;
}
