#pragma once

// Plays a list of events on a fresh window and a fresh model, and shrinks a failing list to a
// short one that still fails the same way.

#include "event.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace mq7410::randomtest {

struct Failure
{
    std::size_t event = 0; // index of the event after which the difference showed
    std::string difference;
};

std::optional<Failure> play(const std::vector<Event> &events);

// Delta debugging over the list: drops ever smaller slices while the same kind of difference
// (the words before the first ':', numbers left out) still shows, within `budget`.
std::vector<Event> shrink(std::vector<Event> events, const Failure &failure,
                          std::chrono::seconds budget);

} // namespace mq7410::randomtest
