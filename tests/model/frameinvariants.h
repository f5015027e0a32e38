#pragma once

// What every frame on the wire must be, whatever led to it.

#include <string>
#include <string_view>

namespace mq7410::model {

// Empty when `frame` is one of the protocol's forms: 87, 88, 89, 8A or 8C + 4 characters,
// 8E or 8F + 8, 8D + 16; fields of upper-case hex; 8C only with F0F0 or 0F0F; voltage fields
// 0..3200 and current fields 0..3000. Otherwise what is wrong with it.
std::string frameProblem(std::string_view frame);

} // namespace mq7410::model
