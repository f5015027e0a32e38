#include "trial.h"

#include "formdriver.h"

#include "model/panelmodel.h"

namespace mq7410::randomtest {

namespace {

// "frame written 312: is ..." -> "frame written ": which frame or box it is may change
// while the list is shrunk; what differs may not.
std::string kindOf(const std::string &difference)
{
    std::string kind = difference.substr(0, difference.find(':'));
    std::erase_if(kind, [](char c) { return c >= '0' && c <= '9'; });
    return kind;
}

} // namespace

std::optional<Failure> play(const std::vector<Event> &events)
{
    FormDriver driver;
    if (!driver.ready())
        return Failure{0, "the window could not be set up"};
    model::PanelModel panel;
    for (std::size_t i = 0; i < events.size(); ++i) {
        driver.apply(events[i], panel);
        if (std::string difference = driver.difference(panel); !difference.empty())
            return Failure{i, std::move(difference)};
        if (events[i].endsProgram())
            break;
    }
    return std::nullopt;
}

std::vector<Event> shrink(std::vector<Event> events, const Failure &failure,
                          std::chrono::seconds budget)
{
    const auto deadline = std::chrono::steady_clock::now() + budget;
    const std::string kind = kindOf(failure.difference);
    events.resize(failure.event + 1);

    // Still fails the same way? Then keep only the events up to the difference.
    auto stillFails = [&kind](std::vector<Event> &candidate) {
        const std::optional<Failure> result = play(candidate);
        if (!result || kindOf(result->difference) != kind)
            return false;
        candidate.resize(result->event + 1);
        return true;
    };

    std::size_t parts = 2;
    while (events.size() >= 2 && std::chrono::steady_clock::now() < deadline) {
        const std::size_t slice = (events.size() + parts - 1) / parts;
        bool reduced = false;
        for (std::size_t start = 0; start < events.size(); start += slice) {
            std::vector<Event> candidate(events.begin(), events.begin() + start);
            candidate.insert(candidate.end(),
                             events.begin() + std::min(events.size(), start + slice), events.end());
            if (stillFails(candidate)) {
                events = std::move(candidate);
                parts = std::max<std::size_t>(parts - 1, 2);
                reduced = true;
                break;
            }
        }
        if (!reduced) {
            if (parts >= events.size())
                break;
            parts = std::min(events.size(), parts * 2);
        }
    }
    return events;
}

} // namespace mq7410::randomtest
